// The main window in each of the three languages with a few channels: every
// label, list, header and cell has the room its text needs and no two panels
// overlap. With QUELRO_SCREENSHOT_DIR set (and run under xvfb-run), the
// window is also saved there as form1_main_<language>.png.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>

#include "channels/cell_edit.h"
#include "channels/channel_grid_qt.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"

using namespace quelro;
using namespace quelro::test;

namespace {

void SaveScreenshot(QWidget& window, const QString& file) {
    QCoreApplication::processEvents();
    QTest::qWait(200);
    const QRect frame = window.frameGeometry();
    if (qEnvironmentVariableIsSet("DISPLAY") && QGuiApplication::platformName() == "xcb") {
        const QString crop = QString("%1x%2+%3+%4")
                                 .arg(frame.width())
                                 .arg(frame.height())
                                 .arg(frame.x())
                                 .arg(frame.y());
        QCOMPARE(QProcess::execute("import", {"-window", "root", "-crop", crop, file}), 0);
    } else {
        QVERIFY(window.grab().save(file));
    }
}

} // namespace

class Form1Layout : public QObject {
    Q_OBJECT

  private slots:
    void everyTextFits_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("zh-Hans") << 0;
        QTest::newRow("en") << 1;
        QTest::newRow("zh-Hant") << 2;
    }
    void everyTextFits() {
        QFETCH(int, language);
        ConfigFolder config;
        BoxScript boxes;
        config.WriteParameter(QByteArray("\x00\x00", 2) + char(language));
        auto started = StartForm();
        Form1& form = *started->form;
        ProgramState& state = started->state;
        // A few channels of every kind.
        const char* frequencies[] = {"462.5625", "462.5875", "467.7125", "446.00625", "409.75"};
        for (int row = 1; row <= 5; ++row) CommitFrequency(state, row, 1, frequencies[row - 1]);
        PickTone(state, 1, 2, 9);
        PickTone(state, 2, 4, 155);
        PickTone(state, 3, 2, 260);
        CommitTone(state, 4, 4, "254.1", -1);
        for (int column = 5; column <= 8; ++column) PickListItem(state, 2, column, 0);
        PickListItem(state, 3, 5, 1);
        form.Grid1->ShowAll();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        for (QLabel* label : form.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName() + ": " + label->text()));
        }
        for (QComboBox* combo : form.findChildren<QComboBox*>()) {
            if (combo->parentWidget() == form.Grid1->viewport()) continue;
            QVERIFY2(combo->sizeHint().width() <= combo->width(), qPrintable(combo->objectName()));
            QVERIFY2(combo->sizeHint().height() <= combo->height(),
                     qPrintable(combo->objectName()));
        }
        for (QGroupBox* frame : {form.Frame1, form.Frame2}) {
            QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width());
            for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(frame->contentsRect().contains(child->geometry()),
                         qPrintable(child->objectName()));
        }
        const QFontMetrics grid = form.Grid1->fontMetrics();
        for (int c = 0; c < 9; ++c) {
            const int width = form.Grid1->columnWidth(c);
            QVERIFY2(form.Grid1->horizontalHeader()->fontMetrics().horizontalAdvance(
                         form.Grid1->HeaderText(c)) < width,
                     qPrintable(form.Grid1->HeaderText(c)));
            for (int row = 1; row <= 16; ++row)
                QVERIFY2(grid.horizontalAdvance(form.Grid1->CellText(row, c)) < width,
                         qPrintable(form.Grid1->CellText(row, c)));
        }
        // Every row shows without scrolling.
        QCOMPARE(form.Grid1->rowAt(form.Grid1->viewport()->height() - 1), 15);
        QCOMPARE(form.Grid1->columnAt(form.Grid1->viewport()->width() - 1), 8);

        // The panels lie side by side inside the window.
        form.ProgressBar1->show();
        const QList<QWidget*> panels{form.Toolbar1, form.Grid1,  form.Frame1,      form.Frame2,
                                     form.Label,    form.Label2, form.ProgressBar1};
        const QRect client = form.findChild<QWidget*>("client")->rect();
        for (int i = 0; i < panels.size(); ++i) {
            QVERIFY2(client.contains(panels[i]->geometry()), qPrintable(panels[i]->objectName()));
            for (int j = i + 1; j < panels.size(); ++j)
                QVERIFY2(!panels[i]->geometry().intersects(panels[j]->geometry()),
                         qPrintable(panels[i]->objectName() + " / " + panels[j]->objectName()));
        }
        form.ProgressBar1->hide();

        const QString shots = qEnvironmentVariable("QUELRO_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            const QStringList names{"zh-Hans", "en", "zh-Hant"};
            form.move(0, 0);
            form.resize(form.sizeHint());
            SaveScreenshot(form, QString("%1/form1_main_%2.png").arg(shots, names[language]));
        }
    }
};

QUELRO_TEST_MAIN(Form1Layout)
#include "form1_layout_test.moc"
