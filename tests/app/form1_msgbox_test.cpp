// LocalMsgBox shown for real (answered from a timer): buttons, captions in
// the three languages, icon, default and escape buttons, the title rule and
// the returned identifiers; and the answerer seam.
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "i18n/local_msgbox_qt.h"
#include "support/qt_test_main.h"

using namespace quelro;

namespace {

struct SeenBox {
    QStringList buttons; // captions in the order the box was given them
    QString defaultButton;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
};

// Shows a box with LocalMsgBox, looks at it once it is open and then lets
// `act` close it. Returns LocalMsgBox's result.
int ShowAndAnswer(const QString& prompt, int style, const QString& title, SeenBox& seen,
                  const std::function<void(QMessageBox&)>& act, int language = kSimplified) {
    bool handled = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        handled = true;
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        // Compared as a set: the box lays its buttons out in the platform's order.
        std::sort(seen.buttons.begin(), seen.buttons.end());
        if (box->defaultButton() != nullptr) seen.defaultButton = box->defaultButton()->text();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.modality = box->windowModality();
        act(*box);
    });
    // A box nobody answered must not hang the test.
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    safety.start(5000);
    const int result = LocalMsgBox(prompt, style, title, language);
    if (!handled) qWarning("the box was not seen open");
    return result;
}

std::function<void(QMessageBox&)> Click(const QString& caption) {
    return [caption](QMessageBox& box) {
        for (QAbstractButton* b : box.buttons())
            if (b->text() == caption) QTest::mouseClick(b, Qt::LeftButton);
    };
}

QStringList Sorted(QStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class Form1MessageBox : public QObject {
    Q_OBJECT

  private slots:
    void captionsFollowTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<int>("result");
        QTest::newRow("zh OK") << 0 << 0 << QStringList{"确定"} << "确定" << 1;
        QTest::newRow("en OK/Cancel") << 1 << 1 << QStringList{"OK", "Cancel"} << "Cancel" << 2;
        QTest::newRow("zh-Hant OK/Cancel")
            << 2 << 305 << QStringList{"確定", "取消"} << "確定" << 1;
        QTest::newRow("zh Yes/No") << 0 << 36 << QStringList{"是", "否"} << "否" << 7;
        QTest::newRow("en Yes/No") << 1 << 68 << QStringList{"Yes", "No"} << "Yes" << 6;
        QTest::newRow("zh-Hant Yes/No") << 2 << 36 << QStringList{"是", "否"} << "是" << 6;
        QTest::newRow("zh Abort/Retry/Ignore")
            << 0 << 2 << QStringList{"放弃", "重试", "忽略"} << "重试" << 4;
        QTest::newRow("zh-Hant Abort/Retry/Ignore")
            << 2 << 2 << QStringList{"放棄", "重試", "忽略"} << "放棄" << 3;
        QTest::newRow("en Retry/Cancel")
            << 1 << 5 << QStringList{"Retry", "Cancel"} << "Retry" << 4;
        QTest::newRow("en Yes/No/Cancel")
            << 1 << 3 << QStringList{"Yes", "No", "Cancel"} << "Cancel" << 2;
    }
    void captionsFollowTheLanguage() {
        QFETCH(int, language);
        QFETCH(int, style);
        QFETCH(QStringList, buttons);
        QFETCH(QString, pressed);
        QFETCH(int, result);
        SeenBox seen;
        QCOMPARE(ShowAndAnswer("text", style, "T", seen, Click(pressed), language), result);
        QCOMPARE(seen.buttons, Sorted(buttons));
    }

    void otherLanguagesKeepQtsCaptions() {
        SeenBox seen;
        QCOMPARE(ShowAndAnswer("text", 4, "T", seen, Click("&No"), 7), 7);
        QCOMPARE(seen.buttons, (QStringList{"&No", "&Yes"}));
    }

    void iconDefaultAndModality_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("defaultButton");
        QTest::newRow("0") << 0 << int(QMessageBox::NoIcon) << "确定";
        QTest::newRow("16") << 16 << int(QMessageBox::Critical) << "确定";
        QTest::newRow("36") << 36 << int(QMessageBox::Question) << "是";
        QTest::newRow("64") << 64 << int(QMessageBox::Information) << "确定";
        QTest::newRow("305") << 305 << int(QMessageBox::Warning) << "取消";
        QTest::newRow("4385") << 4385 << int(QMessageBox::Question) << "取消";
        // A default beyond the buttons falls back to the first.
        QTest::newRow("0x304") << 0x304 << int(QMessageBox::NoIcon) << "是";
    }
    void iconDefaultAndModality() {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(QString, defaultButton);
        SeenBox seen;
        // Enter presses the default button.
        const int result = ShowAndAnswer("text", style, "T", seen, [](QMessageBox& box) {
            QTest::keyClick(&box, Qt::Key_Return);
        });
        QCOMPARE(int(seen.icon), icon);
        QCOMPARE(seen.defaultButton, defaultButton);
        QCOMPARE(seen.modality, Qt::ApplicationModal);
        const QMap<QString, int> ids{{"确定", 1}, {"取消", 2}, {"是", 6}};
        QCOMPARE(result, ids.value(defaultButton));
    }

    void escapeAnswersCancelOrNo() {
        const QList<QPair<int, int>> cases{{0, 1}, {1, 2}, {4, 7}, {305, 2}};
        for (const auto& [style, id] : cases) {
            SeenBox seen;
            QCOMPARE(ShowAndAnswer("text", style, "T", seen,
                                   [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
                     id);
        }
    }

    // A reader meets the box as an alert that says its text; once answered,
    // the control the user was in has the focus again.
    void anAlertThatGivesTheFocusBack() {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        SetMessageBoxOwner(&window);
        QAccessible::Role role = QAccessible::NoRole;
        QString said;
        QString description;
        SeenBox seen;
        ShowAndAnswer("超出频段范围", 0, "", seen, [&](QMessageBox& box) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&box);
            role = iface->role();
            said = iface->text(QAccessible::Value);
            description = iface->text(QAccessible::Description);
            QTest::keyClick(&box, Qt::Key_Return);
        });
        SetMessageBoxOwner(nullptr);
        QCOMPARE(role, QAccessible::AlertMessage);
        QCOMPARE(said, QString::fromUtf8("超出频段范围"));
        // Said once: not again as the description.
        QCOMPARE(description, QString());
        QTRY_COMPARE(QApplication::focusWidget(), edit);
    }

    void emptyTitleIsTheApplicationsTitle() {
        SeenBox seen;
        ShowAndAnswer("a <b>text</b>", 0, "", seen, Click("确定"));
        QCOMPARE(seen.title, QString("Quelro"));
        QCOMPARE(seen.text, QString("a <b>text</b>"));
        SeenBox titled;
        ShowAndAnswer("text", 0, "注意！", titled, Click("确定"));
        QCOMPARE(titled.title, QString("注意！"));
    }

    void answererSeesWhatWouldBeShown() {
        std::vector<AskedBox> asked;
        SetMessageBoxAnswerer([&](const AskedBox& box) {
            asked.push_back(box);
            return 7;
        });
        QCOMPARE(LocalMsgBox("p", 36, "", kEnglish), 7);
        QVERIFY(ShowMessage(msg::kFileExists, 1) == BoxAnswer::kNo);
        QVERIFY(ShowMessage(msg::kNewWarning, 2) == BoxAnswer::kNo);
        SetMessageBoxAnswerer({});
        QCOMPARE(asked.size(), std::size_t{3});
        QCOMPARE(asked[0].title, QString("Quelro"));
        QCOMPARE(asked[0].style, 36);
        QCOMPARE(asked[1].prompt, QString("This file already exists, whether to cover?"));
        QCOMPARE(asked[1].title, QString("Quelro"));
        QCOMPARE(asked[2].prompt, QString("所有信道的數據將被清除！"));
        QCOMPARE(asked[2].title, QString("警告"));
        QCOMPARE(asked[2].style, 305);
    }

    void buttonsAreTypedAnswers() {
        // Abort, Retry and Ignore (3, 4, 5) are no answer a message offers.
        const std::pair<int, BoxAnswer> cases[] = {{1, BoxAnswer::kOk},     {2, BoxAnswer::kCancel},
                                                   {3, BoxAnswer::kCancel}, {4, BoxAnswer::kCancel},
                                                   {5, BoxAnswer::kCancel}, {6, BoxAnswer::kYes},
                                                   {7, BoxAnswer::kNo}};
        for (const auto& [id, answer] : cases) {
            SetMessageBoxAnswerer([id = id](const AskedBox&) { return id; });
            QVERIFY2(ShowMessage(msg::kBandChange, 0) == answer, qPrintable(QString::number(id)));
            if (id < 3 || id > 5) QCOMPARE(ButtonIdOf(answer), id);
        }
        SetMessageBoxAnswerer({});
    }
};

QUELRO_TEST_MAIN(Form1MessageBox)
#include "form1_msgbox_test.moc"
