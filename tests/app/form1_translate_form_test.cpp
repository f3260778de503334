// TranslateForm over a window holding one widget of every kind: which text
// of each kind is converted and what is left alone.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>

#include "i18n/translate_form_qt.h"
#include "support/qt_test_main.h"

using namespace quelro;

class Form1TranslateForm : public QObject {
    Q_OBJECT

  private slots:
    void convertsOneTextOfEachKind() {
        QMainWindow window;
        window.setWindowTitle("测试频率");
        auto* menu = window.menuBar()->addMenu("设置(&S)");
        QAction* item = menu->addAction("锁定(&L)");
        QMenu* sub = menu->addMenu("语言选择(&L)");
        QAction* subItem = sub->addAction("繁体中文");
        auto* client = new QWidget(&window);
        window.setCentralWidget(client);
        auto* toolbar = new QToolBar(client);
        toolbar->setToolTip("工具栏");
        QAction* button = toolbar->addAction("打开");
        button->setToolTip("打开");
        auto* frame = new QGroupBox("机型选择", client);
        auto* label = new QLabel("频段", frame);
        auto* radio = new QRadioButton("发射开始", client);
        auto* combo = new QComboBox(client);
        combo->addItems({"关闭", "D023N", "宽带"});
        auto* empty = new QComboBox(client);
        auto* grid = new QTableWidget(2, 2, client);
        grid->setHorizontalHeaderLabels({"发射频率", "亚音频"});
        grid->setItem(0, 0, new QTableWidgetItem("关闭"));
        grid->item(0, 0)->setData(Qt::AccessibleDescriptionRole, "发射频率, 01");
        auto* push = new QPushButton("确定", client);
        auto* check = new QCheckBox("接收时禁止VOX", client);
        auto* edit = new QLineEdit("设置", client);
        // What a reader says of a widget goes with what it shows.
        edit->setAccessibleName("频段");
        edit->setAccessibleDescription("最多32个字符");

        TranslateForm(&window);

        QCOMPARE(menu->title(), QString("設置(&S)"));
        QCOMPARE(item->text(), QString("鎖定(&L)"));
        QCOMPARE(sub->title(), QString("語言選擇(&L)"));
        QCOMPARE(subItem->text(), QString("繁體中文"));
        QCOMPARE(toolbar->toolTip(), QString("工具欄"));
        QCOMPARE(frame->title(), QString("機型選擇"));
        QCOMPARE(label->text(), QString("頻段"));
        QCOMPARE(radio->text(), QString("發射開始"));
        QCOMPARE(combo->itemText(0), QString("關閉"));
        QCOMPARE(combo->itemText(1), QString("D023N"));
        QCOMPARE(combo->itemText(2), QString("寬帶"));
        QCOMPARE(empty->count(), 0);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("發射頻率"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("亞音頻"));
        QCOMPARE(push->text(), QString("確定"));
        QCOMPARE(check->text(), QString("接收時禁止VOX"));
        QCOMPARE(edit->accessibleName(), QString("頻段"));
        QCOMPARE(edit->accessibleDescription(), QString("最多32個字符"));
        QCOMPARE(grid->item(0, 0)->data(Qt::AccessibleDescriptionRole).toString(),
                 QString("發射頻率, 01"));
        // Left alone: the title, grid cells, text boxes and the tool bar's
        // buttons.
        QCOMPARE(window.windowTitle(), QString("测试频率"));
        QCOMPARE(grid->item(0, 0)->text(), QString("关闭"));
        QCOMPARE(edit->text(), QString("设置"));
        QCOMPARE(button->text(), QString("打开"));
        QCOMPARE(button->toolTip(), QString("打开"));
    }

    void otherWindowsAreNotPartOfTheWindow() {
        QWidget window;
        auto* owned = new QWidget(&window, Qt::Window);
        auto* ownedLabel = new QLabel("设定", owned);
        auto* own = new QLabel("设定", &window);
        TranslateForm(&window);
        QCOMPARE(own->text(), QString("設定"));
        QCOMPARE(ownedLabel->text(), QString("设定"));
        TranslateForm(owned);
        QCOMPARE(ownedLabel->text(), QString("設定"));
    }

    void convertedTextsStayConverted() {
        QWidget window;
        auto* label = new QLabel("设定", &window);
        TranslateForm(&window);
        TranslateForm(&window);
        QCOMPARE(label->text(), QString("設定"));
        TranslateForm(nullptr);
    }
};

QUELRO_TEST_MAIN(Form1TranslateForm)
#include "form1_translate_form_test.moc"
