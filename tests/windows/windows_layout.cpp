// Every auxiliary window in each of the three languages: each named control
// gets at least the room its text needs, and no two controls overlap. With
// QUELRO_SCREENSHOT_DIR set, each window is also saved there as
// windows_<window>_<language>.png (run under xvfb-run for the manual's
// pictures).
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "i18n/traditional.h"
#include "i18n/translate_form_qt.h"
#include "support/channel_texts.h"
#include "support/qt_test_main.h"
#include "support/windows_test_support.h"
#include "windows/aux_windows.h"
#include "windows/form4_test_frequencies.h"

using namespace quelro;

namespace {

// The controls the user reads: named widgets, not the inner parts of a
// compound control.
std::vector<QWidget*> NamedControls(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisible() || w->isWindow()) continue;
        QWidget* parent = w->parentWidget();
        bool inner = false;
        for (; parent != nullptr && parent != window; parent = parent->parentWidget())
            if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractItemView*>(parent))
                inner = true;
        if (!inner) controls.push_back(w);
    }
    return controls;
}

bool IsFrame(const QWidget* w) {
    return w->inherits("QGroupBox");
}

QString Describe(const QWidget* w) {
    return w->window()->objectName() + "." + w->objectName();
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void everyWindowFitsItsTexts_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("zh-Hans") << 0;
        QTest::newRow("en") << 1;
        QTest::newRow("zh-Hant") << 2;
    }

    void everyWindowFitsItsTexts() {
        QFETCH(int, language);
        if (language == 2 && !TraditionalAvailable()) QSKIP("conversion dictionaries missing");
        ProgramState state = ProgramState::StartUp();
        FillExample(state);
        QWidget main;
        AuxWindows aux(state, language, &main);
        for (LanguageWindow* window : aux.LanguageWindows())
            window->ApplyLanguage(language == 2 ? 0 : language);
        if (language == 2) {
            for (LanguageWindow* window : aux.LanguageWindows()) TranslateForm(window->Window());
            aux.ApplyTraditionalAboutTexts(true);
        }

        const QString shots = qEnvironmentVariable("QUELRO_SCREENSHOT_DIR");
        const QStringList languages{"zh-Hans", "en", "zh-Hant"};
        for (LanguageWindow* window : aux.LanguageWindows()) {
            QWidget* w = window->Window();
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            CheckControls(w);
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                const QString file = QStringLiteral("%1/windows_%2_%3.png")
                                         .arg(shots, w->objectName(), languages[language]);
                QVERIFY(w->grab().save(file));
            }
            w->hide();
        }
    }

  private:
    // Some content so that the pictures show a window in use.
    static void FillExample(ProgramState& state) {
        state.Channel(1) = test::ChannelAt("462.56250");
        const char* pairs[][2] = {
            {"462.56250", "462.56250"}, {"462.58750", "467.58750"}, {"446.00625", "446.00625"}};
        for (std::size_t r = 0; r < 3; ++r) {
            state.TestFrequencyTable[r] = pairs[r][0];
            state.TestFrequencyTable[r + 16] = pairs[r][1];
        }
        state.EmbeddedInfo = {"QUELRO Q16 FLEET 3", "Service: +1 555 0100"};
        state.Functions.Text[kScanRxResumeDelay] = "5";
        state.Functions.Text[kScanTxResumeDelay] = "3";
    }

    static void CheckControls(QWidget* window) {
        const std::vector<QWidget*> controls = NamedControls(window);
        QVERIFY(!controls.empty());
        for (QWidget* w : controls) {
            const QSize need = qobject_cast<QComboBox*>(w) ? w->sizeHint() : w->minimumSizeHint();
            QVERIFY2(w->width() >= need.width() && w->height() >= need.height(),
                     qPrintable(QStringLiteral("%1 is %2x%3 but needs %4x%5")
                                    .arg(Describe(w))
                                    .arg(w->width())
                                    .arg(w->height())
                                    .arg(need.width())
                                    .arg(need.height())));
            QVERIFY2(window->rect().contains(QRect(w->mapTo(window, QPoint(0, 0)), w->size())),
                     qPrintable(Describe(w) + " reaches outside its window"));
        }
        for (std::size_t i = 0; i < controls.size(); ++i)
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                QWidget* a = controls[i];
                QWidget* b = controls[j];
                // A frame holds its controls.
                if ((IsFrame(a) && a->isAncestorOf(b)) || (IsFrame(b) && b->isAncestorOf(a)))
                    continue;
                const QRect ra(a->mapTo(window, QPoint(0, 0)), a->size());
                const QRect rb(b->mapTo(window, QPoint(0, 0)), b->size());
                QVERIFY2(!ra.intersects(rb), qPrintable(Describe(a) + " overlaps " + Describe(b)));
            }
    }
};

QUELRO_TEST_MAIN(WindowLayoutTest)
#include "windows_layout.moc"
