// The main window in each of the three languages with a few channels: every
// label, list, header and cell has the room its text needs and no two panels
// overlap, also with an 18 pt font, and every channel row's text reads on its
// background in the default, a dark and a high-contrast palette. With
// QUELRO_SCREENSHOT_DIR set (and run under xvfb-run), the
// window is also saved there as form1_main_<row>.png.
#include <QAbstractItemView>
#include <QApplication>
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

// The application's font and palette for one test, restored afterwards.
struct Looks {
    Looks(int pointSize, const QString& palette)
        : font(QApplication::font()), colours(QApplication::palette()) {
        if (pointSize > 0) {
            QFont large = font;
            large.setPointSize(pointSize);
            QApplication::setFont(large);
        }
        if (palette == "dark")
            QApplication::setPalette(
                Palette("#353535", "#ffffff", "#2a2a2a", "#ffffff", "#2a82da"));
        else if (palette == "contrast")
            QApplication::setPalette(
                Palette("#000000", "#ffffff", "#000000", "#ffffff", "#1aebff"));
    }
    ~Looks() {
        QApplication::setFont(font);
        QApplication::setPalette(colours);
    }
    Looks(const Looks&) = delete;
    Looks& operator=(const Looks&) = delete;

    static QPalette Palette(const char* window, const char* windowText, const char* base,
                            const char* text, const char* highlight) {
        QPalette p{QColor(window), QColor(window)};
        p.setColor(QPalette::WindowText, QColor(windowText));
        p.setColor(QPalette::Base, QColor(base));
        p.setColor(QPalette::AlternateBase, QColor(base));
        p.setColor(QPalette::Text, QColor(text));
        p.setColor(QPalette::ButtonText, QColor(windowText));
        p.setColor(QPalette::Highlight, QColor(highlight));
        p.setColor(QPalette::HighlightedText, QColor(base));
        return p;
    }

    QFont font;
    QPalette colours;
};

} // namespace

class Form1Layout : public QObject {
    Q_OBJECT

  private slots:
    void everyTextFits_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("pointSize"); // 0: the default font
        QTest::addColumn<QString>("palette");
        QTest::newRow("zh-Hans") << 0 << 0 << "default";
        QTest::newRow("en") << 1 << 0 << "default";
        QTest::newRow("zh-Hant") << 2 << 0 << "default";
        QTest::newRow("zh-Hans 18 pt") << 0 << 18 << "default";
        QTest::newRow("en 18 pt") << 1 << 18 << "default";
        QTest::newRow("en dark") << 1 << 0 << "dark";
        QTest::newRow("zh-Hans high contrast") << 0 << 0 << "contrast";
    }
    void everyTextFits() {
        QFETCH(int, language);
        QFETCH(int, pointSize);
        QFETCH(QString, palette);
        const Looks looks(pointSize, palette);
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
        // Every row is a line of the font high, and its text reads on its
        // background; the light look keeps the sheet's lilac stripes.
        const QColor text = form.Grid1->palette().color(QPalette::Text);
        for (int row = 1; row <= 16; ++row) {
            QVERIFY(form.Grid1->rowHeight(row - 1) >= grid.height());
            const QBrush stripe = form.Grid1->item(row - 1, 0)->background();
            const QColor background = stripe.style() == Qt::NoBrush
                                          ? form.Grid1->palette().color(QPalette::Base)
                                          : stripe.color();
            QVERIFY2(ChannelGrid::Contrast(text, background) >= 4.5,
                     qPrintable(
                         QString("row %1: %2 on %3").arg(row).arg(text.name(), background.name())));
            if (palette == "default" && row % 2 == 0) QCOMPARE(background, QColor(192, 192, 255));
        }
        // Every row shows without scrolling.
        QCOMPARE(form.Grid1->rowAt(form.Grid1->viewport()->height() - 1), 15);
        QCOMPARE(form.Grid1->columnAt(form.Grid1->viewport()->width() - 1), 8);

        // The panels lie side by side inside the window.
        form.ProgressBar1->show();
        const QList<QWidget*> panels{form.Toolbar1, form.Grid1,  form.Frame1,      form.Frame2,
                                     form.Label,    form.Label2, form.ProgressBar1};
        const QWidget* clientArea = form.findChild<QWidget*>("client");
        // Where a panel lies in the client area (the status line holds two).
        auto place = [clientArea](const QWidget* panel) {
            return QRect(panel->mapTo(clientArea, QPoint(0, 0)), panel->size());
        };
        for (int i = 0; i < panels.size(); ++i) {
            QVERIFY2(clientArea->rect().contains(place(panels[i])),
                     qPrintable(panels[i]->objectName()));
            for (int j = i + 1; j < panels.size(); ++j)
                QVERIFY2(!place(panels[i]).intersects(place(panels[j])),
                         qPrintable(panels[i]->objectName() + " / " + panels[j]->objectName()));
        }
        form.ProgressBar1->hide();

        const QString shots = qEnvironmentVariable("QUELRO_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            form.move(0, 0);
            form.resize(form.sizeHint());
            SaveScreenshot(form,
                           QString("%1/form1_main_%2.png")
                               .arg(shots, QString(QTest::currentDataTag()).replace(' ', '_')));
        }
    }
};

QUELRO_TEST_MAIN(Form1Layout)
#include "form1_layout_test.moc"
