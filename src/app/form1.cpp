// Form1: start-up, menus, toolbar, panels, lock, data files, shutdown and
// the language commands of the main window.
#include "app/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

#include "app/list_wheel_guard.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "codes/bands.h"
#include "files/data_file.h"
#include "files/parameter_file.h"
#include "i18n/captions.h"
#include "i18n/data_paths.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/traditional.h"
#include "i18n/translate_form_qt.h"

namespace quelro {
namespace {

// The main window's rows of the caption table.
namespace caption {
constexpr Caption kTitle{"Quelro 对讲机编程软件 V1.20", "Quelro Radio Software V1.20"};
constexpr Caption kFile{"文件(&F)", "File(&F)"};
constexpr Caption kNew{"新建(&N)", "New(&N)"};
constexpr Caption kOpen{"打开(&O)", "Open(&O)"};
constexpr Caption kSave{"保存(&S)", "Save(&S)"};
constexpr Caption kQuit{"退出(&Q)", "Quit(&Q)"};
constexpr Caption kProgramming{"编程(&P)", "Programming(&P)"};
constexpr Caption kRead{"读频(&R)", "Read Frequency(&R)"};
constexpr Caption kWrite{"写频(&W)", "Write Frequency(&W)"};
constexpr Caption kOptional{"可选功能", "Optional function "};
constexpr Caption kKeys{"键设定", "Keys set "};
constexpr Caption kEmbedded{"嵌入信息", "Embedded information"};
constexpr Caption kDebug{"调试(&D)", "Debug(&D)"};
constexpr Caption kTestFrequencies{"测试频率", "Debug frequency"};
constexpr Caption kSettings{"设置(&S)", "Settings(&S)"};
constexpr Caption kLock{"锁定(&L)", "Lock(&L)"};
constexpr Caption kPort{"通信端口(&V)", "Communication port(&V)"};
constexpr Caption kLanguages{"语言选择(&L)", "Languages(&L)"};
constexpr Caption kSimplifiedChinese{"简体中文", "Chinese(Simplified)"};
constexpr Caption kTraditionalChinese{"繁体中文", "Chinese(Traditional)"};
constexpr Caption kEnglishLanguage{"英文", "Englist"};
constexpr Caption kHelp{"帮助(&H)", "Help(&H)"};
constexpr Caption kHelpTopics{"帮助主题  F1", "The help topic  F1 \""};
constexpr Caption kAbout{"关于", "About"};
constexpr std::array<Caption, 5> kToolTips{{{"新建", "New"},
                                            {"打开", "Open"},
                                            {"保存", "Save"},
                                            {"读频", "Read frequency"},
                                            {"写频", "Write frequency"}}};
constexpr Caption kModel{"机型选择", "Model"};
constexpr Caption kFunctionSet{"功能设置", "Function Set"};
constexpr Caption kMaker{"Quelro 对讲机  www.quelro.example", ""};
constexpr Caption kBand{"频段", "Channel"};
constexpr Caption kVoicePrompt{"语言通知", "Language:"};
constexpr Caption kTimeout{"发射超时", "Time-out:"};
constexpr Caption kTimeoutWarn{"发射超时预警", "Time-out Warn:"};
constexpr Caption kSquelch{"静噪等级", "Squelch Grade:"};
constexpr Caption kBatterySave{"省电", "Battery Save:"};
constexpr Caption kBeep{"提示音", "Beep:"};
} // namespace caption

// 15 twips make one pixel.
constexpr int Px(int twips) {
    return (twips + 7) / 15;
}

// The six selectors in MainSelectorIndex order, with the core's list names.
constexpr std::array<MainSelector, 6> kSelectorLists{MainSelector::Combo2, MainSelector::Combo3,
                                                     MainSelector::Combo4, MainSelector::Combo9,
                                                     MainSelector::Combo6, MainSelector::Combo7};

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString ColumnText(const Caption& c, int languageMode) {
    return Text(languageMode == kEnglish ? c.en : c.zh);
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

QString DialogFileName(QWidget* owner, bool save, const QString& current) {
    const QString filter = Text(kAppTitle) + "(*.DAT)";
    // The overwrite question is the program's own, in the program's language.
    return save ? QFileDialog::getSaveFileName(owner, QString(), current, filter, nullptr,
                                               QFileDialog::DontConfirmOverwrite)
                : QFileDialog::getOpenFileName(owner, QString(), current, filter);
}

std::filesystem::path PathOf(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

} // namespace

void Form1::SetUpApplication() {
    QCoreApplication::setApplicationName("quelro");
    QCoreApplication::setApplicationVersion(QUELRO_VERSION);
    QGuiApplication::setDesktopFileName("quelro");
    GuardListsFromStrayWheel();
}

void Form1::SetUpWindowIcon() {
    const auto icon = FindData({"icons/hicolor/256x256/apps/quelro.png", "packaging/quelro.png"});
    QGuiApplication::setWindowIcon(
        QIcon::fromTheme("quelro", QIcon(QFile::decodeName(icon.c_str()))));
}

QString Form1::ParameterFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return folder.isEmpty() ? QString() : folder + "/parameter";
}

Form1::Form1(ProgramState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setObjectName("Form1");
    hooks_.chooseFileName = [this](bool save, const QString& current) {
        return DialogFileName(this, save, current);
    };
    hooks_.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    client_ = new QWidget(this);
    client_->setObjectName("client");
    setCentralWidget(client_);
    BuildMenus();
    BuildToolbar();
    BuildPanels(client_);
    windows_.push_back(this);
    SetMessageBoxOwner(this);
}

Form1::~Form1() = default;

void Form1::BuildMenus() {
    auto action = [this](QMenu* menu, const char* name) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(name);
        return a;
    };
    auto submenu = [this](QWidget* owner, const char* name) {
        auto* menu = new QMenu(owner);
        menu->setObjectName(name);
        if (auto* bar = qobject_cast<QMenuBar*>(owner))
            bar->addMenu(menu);
        else
            static_cast<QMenu*>(owner)->addMenu(menu);
        return menu;
    };
    QMenuBar* bar = menuBar();

    mnuFile = submenu(bar, "mnuFile");
    mnuNew = action(mnuFile, "mnuNew");
    mnuOpen = action(mnuFile, "mnuOpen");
    mnuAssave = action(mnuFile, "mnuAssave");
    mnuFile->addSeparator()->setObjectName("mnuline");
    mnuQuit = action(mnuFile, "mnuQuit");

    mnupro = submenu(bar, "mnupro");
    mnureadFre = action(mnupro, "mnureadFre");
    mnureadFre->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuwriteFre = action(mnupro, "mnuwriteFre");
    mnuwriteFre->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    mnupro->addSeparator()->setObjectName("mnuline1");
    mnudtmf = action(mnupro, "mnudtmf");
    Key_enactment = action(mnupro, "Key_enactment");
    mnusetin = action(mnupro, "mnusetin");
    mnudebug = action(mnupro, "mnudebug");
    mnutestfre = action(mnupro, "mnutestfre");

    mnuset = submenu(bar, "mnuset");
    mnulock = action(mnuset, "mnulock");
    mnulock->setCheckable(true);
    mnucomMenu = submenu(mnuset, "mnucom");
    for (int port = 1; port <= 8; ++port) {
        QAction* a = mnucomMenu->addAction(QString("COM%1(&%1)").arg(port));
        a->setObjectName(QString("mnucom%1").arg(port));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, port] { SelectPort(port); });
        mnucom_[port] = a;
    }
    mnuLanguage = submenu(mnuset, "mnuLanguage");
    mnuChineseJ = action(mnuLanguage, "mnuChineseJ");
    mnuChineseF = action(mnuLanguage, "mnuChineseF");
    mnuEnglish = action(mnuLanguage, "mnuEnglish");

    mnuhelp = submenu(bar, "mnuhelp");
    mnumainhelp = action(mnuhelp, "mnumainhelp");
    mnuabout = action(mnuhelp, "mnuabout");
    // The caption itself names F1, so the key is a window shortcut rather
    // than the item's (which would print "F1" a second time).
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, mnumainhelp, &QAction::trigger);

    connect(mnuNew, &QAction::triggered, this, &Form1::mnuNew_Click);
    connect(mnuOpen, &QAction::triggered, this, &Form1::OpenDataFile);
    connect(mnuAssave, &QAction::triggered, this, &Form1::SaveDataFile);
    connect(mnuQuit, &QAction::triggered, this, &QWidget::close);
    connect(mnureadFre, &QAction::triggered, this, [this] { Run(hooks_.readRadio); });
    connect(mnuwriteFre, &QAction::triggered, this, [this] { Run(hooks_.writeRadio); });
    connect(mnudtmf, &QAction::triggered, this, [this] { Run(hooks_.showOptionalFunctions); });
    connect(Key_enactment, &QAction::triggered, this, [this] { Run(hooks_.showKeySettings); });
    connect(mnusetin, &QAction::triggered, this, [this] { Run(hooks_.showEmbeddedInfo); });
    connect(mnudebug, &QAction::triggered, this, [this] { Run(hooks_.showServiceAdjust); });
    connect(mnutestfre, &QAction::triggered, this, [this] { Run(hooks_.showTestFrequencies); });
    connect(mnulock, &QAction::triggered, this, &Form1::mnulock_Click);
    connect(mnuChineseJ, &QAction::triggered, this, &Form1::mnuChineseJ_Click);
    connect(mnuChineseF, &QAction::triggered, this, &Form1::mnuChineseF_Click);
    connect(mnuEnglish, &QAction::triggered, this, &Form1::mnuEnglish_Click);
    connect(mnumainhelp, &QAction::triggered, this, [this] { Run(hooks_.showHelp); });
    connect(mnuabout, &QAction::triggered, this, [this] { Run(hooks_.showAbout); });
}

void Form1::BuildToolbar() {
    Toolbar1 = new QToolBar(client_);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    struct Button {
        const char* key;
        const char* icon;
        QStyle::StandardPixmap fallback;
    };
    constexpr std::array<Button, 7> kButtons{{
        {"new", "document-new", QStyle::SP_FileIcon},
        {"open", "document-open", QStyle::SP_DialogOpenButton},
        {"save", "document-save", QStyle::SP_DialogSaveButton},
        {nullptr, nullptr, QStyle::SP_CustomBase},
        {"read", "go-down", QStyle::SP_ArrowDown},
        {"write", "go-up", QStyle::SP_ArrowUp},
        {"TAnMa", "system-lock-screen", QStyle::SP_BrowserStop},
    }};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const Button& b = kButtons[i];
        if (b.key == nullptr) {
            toolButtons_[i + 1] = Toolbar1->addSeparator();
            continue;
        }
        QAction* a = Toolbar1->addAction(ThemeIcon(b.icon, b.fallback), QString());
        a->setObjectName(QString("Toolbar1_") + b.key);
        a->setData(QString(b.key));
        toolButtons_[i + 1] = a;
    }
    TAnMa = toolButtons_[7];
    // Shown once the service functions are unlocked.
    TAnMa->setVisible(false);
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { Toolbar1_ButtonClick(a->data().toString()); });
}

void Form1::BuildPanels(QWidget* client) {
    Grid1 = new ChannelGrid(state_, client);
    editors_ = new CellEditors(state_, Grid1);
    connect(editors_, &CellEditors::Committed, this, &Form1::TableChanged);

    auto label = [](QWidget* parent, const char* name) {
        auto* l = new QLabel(parent);
        l->setObjectName(name);
        return l;
    };
    auto combo = [](QWidget* parent, const char* name) {
        auto* c = new QComboBox(parent);
        c->setObjectName(name);
        return c;
    };

    Frame1 = new QGroupBox(client);
    Frame1->setObjectName("Frame1");
    Label3 = label(Frame1, "Label3");
    Combo1 = combo(Frame1, "Combo1");
    for (const Band& band : kBands) Combo1->addItem(Text(band.text));
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });

    Frame2 = new QGroupBox(client);
    Frame2->setObjectName("Frame2");
    Label4 = label(Frame2, "Label4");
    Combo2 = combo(Frame2, "Combo2");
    Label5 = label(Frame2, "Label5");
    Combo3 = combo(Frame2, "Combo3");
    Label1 = label(Frame2, "Label1");
    Combo4 = combo(Frame2, "Combo4");
    Label6 = label(Frame2, "Label6");
    Combo9 = combo(Frame2, "Combo9");
    Label7 = label(Frame2, "Label7");
    Combo6 = combo(Frame2, "Combo6");
    Label8 = label(Frame2, "Label8");
    Combo7 = combo(Frame2, "Combo7");
    selectors_ = {Combo2, Combo3, Combo4, Combo9, Combo6, Combo7};
    for (int i = 0; i < kMainSelectorCount; ++i) {
        // Combo3's 40 entries are added by start-up; the other lists are part
        // of the design, in Simplified Chinese.
        if (selectors_[i] != Combo3)
            for (int item = 0; item < MainSelectorItemCount(kSelectorLists[i]); ++item)
                selectors_[i]->addItem(
                    QString::fromStdString(MainSelectorItemText(kSelectorLists[i], item, 0)));
        connect(selectors_[i], &QComboBox::currentIndexChanged, this,
                [this, i](int position) { state_.MainSelectors[i] = position; });
    }

    Label = label(client, "Label");
    Label2 = label(client, "Label2");
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);
    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
}

void Form1::PlaceControls() {
    // Widest text a label shows in either language.
    auto widest = [this](std::initializer_list<Caption> captions) {
        const QFontMetrics metrics = fontMetrics();
        int width = 0;
        for (const Caption& c : captions)
            width = std::max({width, metrics.horizontalAdvance(Text(c.zh)),
                              metrics.horizontalAdvance(Text(c.en))});
        return width;
    };
    const int margin = Px(120);
    const int toolbarHeight = Toolbar1->sizeHint().height();
    const int top = std::max(Px(480), toolbarHeight + 2);
    const QSize gridSize = Grid1->FullSize();
    Grid1->setGeometry(margin, top, gridSize.width(), gridSize.height());

    // The panels stand at their design place unless the grid (widened for
    // its headers) reaches it; they widen for the longest label.
    const int left = std::max(Px(9045), Grid1->geometry().right() + margin);
    const int labelWidth =
        widest({caption::kBand, caption::kVoicePrompt, caption::kTimeout, caption::kTimeoutWarn,
                caption::kSquelch, caption::kBatterySave, caption::kBeep});
    const int comboWidth = std::max(Combo1->sizeHint().width(), Combo3->minimumSizeHint().width());
    const int inner = 10;
    const int panelWidth = std::max(Px(3060), inner + labelWidth + 6 + comboWidth + inner);
    const int rowHeight = Combo1->sizeHint().height();
    const int titleSpace = fontMetrics().height() + 6;

    // Below a tool bar taller than the design's, everything moves down with it.
    const int shift = top - Px(480);
    Frame1->setGeometry(left, top, panelWidth, Px(1080));
    const int frame1Row = titleSpace + (Px(1080) - titleSpace - rowHeight) / 2;
    Label3->setGeometry(inner, frame1Row, labelWidth, rowHeight);
    Combo1->setGeometry(inner + labelWidth + 6, frame1Row, panelWidth - 2 * inner - labelWidth - 6,
                        rowHeight);

    Frame2->setGeometry(left, Px(1680) + shift, panelWidth, Px(3960));
    const std::array<QLabel*, 6> labels{Label4, Label5, Label1, Label6, Label7, Label8};
    const int pitch = (Px(3960) - titleSpace - inner) / kMainSelectorCount;
    for (int i = 0; i < kMainSelectorCount; ++i) {
        const int y = titleSpace + i * pitch + (pitch - rowHeight) / 2;
        labels[i]->setGeometry(inner, y, labelWidth, rowHeight);
        selectors_[i]->setGeometry(inner + labelWidth + 6, y,
                                   panelWidth - 2 * inner - labelWidth - 6, rowHeight);
    }

    const int width = left + panelWidth + margin;
    Toolbar1->setGeometry(0, 0, width, toolbarHeight);
    const int lineHeight = fontMetrics().height() + 4;
    const int statusTop = std::max(Grid1->geometry().bottom(), Frame2->geometry().bottom()) + 4;
    Label->setGeometry(margin, statusTop, gridSize.width(), lineHeight);
    ProgressBar1->setGeometry(left, statusTop + 2, panelWidth, lineHeight - 4);
    Label2->setGeometry(margin, statusTop + lineHeight, width - 2 * margin, lineHeight);
    const int height = std::max(Px(6225) + shift, Label2->geometry().bottom() + 4);
    client_->setFixedSize(width, height);
}

void Form1::Form_Load() {
    Grid1->Shape();
    PlaceControls();

    const Parameters parameters = ReadParameterFile(PathOf(ParameterFilePath()));
    mnulock->setChecked(parameters.locked);
    if (parameters.locked) {
        // Only the lock command itself disables the function panel as well.
        Frame1->setEnabled(false);
        Grid1->setEnabled(false);
    }
    savedPort_ = parameters.savedPort;

    const ProgramState start = ProgramState::StartUp();
    state_.TxPowerHigh = start.TxPowerHigh;
    state_.TxPowerLow = start.TxPowerLow;
    state_.ServiceMode = start.ServiceMode;
    state_.SideKeyFunction = start.SideKeyFunction;
    state_.Functions = start.Functions;

    if (parameters.languageMode == kTraditional) {
        SetLanguageMode(kSimplified);
        ApplyLanguageToAll();
        TranslateAll();
        if (hooks_.traditionalAboutTexts) hooks_.traditionalAboutTexts(true);
        SetLanguageMode(kTraditional);
    } else {
        SetLanguageMode(parameters.languageMode);
        ApplyLanguageToAll();
    }

    if (savedPort_ >= 1 && savedPort_ <= 8) SelectPort(savedPort_);

    for (int i = 0; i < MainSelectorItemCount(MainSelector::Combo3); ++i)
        Combo3->addItem(
            QString::fromStdString(MainSelectorItemText(MainSelector::Combo3, i, LanguageMode())));

    state_.BandIndex = 0;
    SelectBand(0);

    for (int row = 1; row <= kChannels; ++row)
        state_.Cell(row, kColNumber) = QString("%1").arg(row, 2, 10, QChar('0')).toStdString();
    Grid1->ShowAll();
    for (QComboBox* selector : selectors_) selector->setCurrentIndex(1);
    ProgressBar1->hide();
}

void Form1::RegisterWindow(LanguageWindow* window) {
    if (window != nullptr && window != this) windows_.push_back(window);
}

bool Form1::Locked() const {
    return mnulock->isChecked();
}

void Form1::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    auto t = [languageMode](const Caption& c) { return ColumnText(c, languageMode); };
    setWindowTitle(t(caption::kTitle));
    mnuFile->setTitle(t(caption::kFile));
    mnuNew->setText(t(caption::kNew));
    mnuOpen->setText(t(caption::kOpen));
    mnuAssave->setText(t(caption::kSave));
    mnuQuit->setText(t(caption::kQuit));
    mnupro->setTitle(t(caption::kProgramming));
    mnureadFre->setText(t(caption::kRead));
    mnuwriteFre->setText(t(caption::kWrite));
    mnudtmf->setText(t(caption::kOptional));
    Key_enactment->setText(t(caption::kKeys));
    mnusetin->setText(t(caption::kEmbedded));
    mnudebug->setText(t(caption::kDebug));
    mnutestfre->setText(t(caption::kTestFrequencies));
    mnuset->setTitle(t(caption::kSettings));
    mnulock->setText(t(caption::kLock));
    mnucomMenu->setTitle(t(caption::kPort));
    mnuLanguage->setTitle(t(caption::kLanguages));
    mnuChineseJ->setText(t(caption::kSimplifiedChinese));
    mnuChineseF->setText(t(caption::kTraditionalChinese));
    mnuEnglish->setText(t(caption::kEnglishLanguage));
    mnuhelp->setTitle(t(caption::kHelp));
    mnumainhelp->setText(t(caption::kHelpTopics));
    mnuabout->setText(t(caption::kAbout));
    for (int i = 0; i < 5; ++i)
        toolButtons_[i < 3 ? i + 1 : i + 2]->setToolTip(t(caption::kToolTips[i]));
    Frame1->setTitle(t(caption::kModel));
    Frame2->setTitle(t(caption::kFunctionSet));
    Label2->setText(t(caption::kMaker));
    Label3->setText(t(caption::kBand));
    Label4->setText(t(caption::kVoicePrompt));
    Label5->setText(t(caption::kTimeout));
    Label1->setText(t(caption::kTimeoutWarn));
    Label6->setText(t(caption::kSquelch));
    Label7->setText(t(caption::kBatterySave));
    Label8->setText(t(caption::kBeep));
    for (int c = 0; c < kGridCols; ++c) Grid1->SetHeaderText(c, t(kGridHeaders[c]));
    editors_->ApplyLanguage(languageMode);
    // List items are rewritten by position; a list holds what it holds.
    for (int i = 0; i < kMainSelectorCount; ++i)
        for (int item = 0; item < selectors_[i]->count(); ++item)
            selectors_[i]->setItemText(item, QString::fromStdString(MainSelectorItemText(
                                                 kSelectorLists[i], item, languageMode)));
}

void Form1::SetLanguageMode(int languageMode) {
    state_.LanguageMode = languageMode;
    SetMessageBoxLanguage(languageMode);
}

void Form1::ApplyLanguageToAll() {
    for (LanguageWindow* window : windows_) window->ApplyLanguage(LanguageMode());
}

void Form1::TranslateAll() {
    for (LanguageWindow* window : windows_) window->Translate();
}

void Form1::SetGrid1Text() {
    state_.SetGrid1Text();
    Grid1->ShowAll();
}

void Form1::mnuChineseJ_Click() {
    if (LanguageMode() == kSimplified) return;
    SetLanguageMode(kSimplified);
    ApplyLanguageToAll();
    SetGrid1Text();
}

void Form1::mnuEnglish_Click() {
    if (LanguageMode() == kEnglish) return;
    SetLanguageMode(kEnglish);
    ApplyLanguageToAll();
    SetGrid1Text();
}

void Form1::mnuChineseF_Click() {
    if (LanguageMode() == kTraditional) return;
    if (LanguageMode() == kEnglish) {
        // The conversion works on the Chinese texts.
        SetLanguageMode(kSimplified);
        ApplyLanguageToAll();
    }
    SetLanguageMode(kTraditional);
    TranslateAll();
    if (hooks_.traditionalAboutTexts) hooks_.traditionalAboutTexts(false);
    SetGrid1Text();
}

void Form1::mnuNew_Click() {
    if (ShowMessage(msg::kNewWarning, LanguageMode()) == kIdCancel) return;
    state_.ClearGrid1();
    Grid1->ShowAll();
    emit TableChanged();
}

void Form1::OpenDataFile() {
    if (hooks_.confirmDiscard && !hooks_.confirmDiscard()) return;
    const QString name = hooks_.chooseFileName(false, fileName_);
    if (name.isEmpty()) return;
    fileName_ = name;
    const DataFileRead read = ReadDataFile(PathOf(name));
    if (read.status == DataFileRead::CannotOpen) {
        LocalMsgBox(Text(OpenFailedText(name.toStdString(), read.code, LanguageMode())), 16, {});
        return;
    }
    std::optional<std::vector<DecodeStep>> steps;
    if (read.status == DataFileRead::Ok) steps = DecodeImage(state_, read.imageHex);
    if (!steps) {
        ShowMessage(msg::kWrongFileType, LanguageMode());
        return;
    }
    ShowDecodedState(*steps);
    emit TableReplaced();
}

void Form1::SaveDataFile() {
    for (;;) {
        const QString name = hooks_.chooseFileName(true, fileName_);
        if (name.isEmpty()) return;
        fileName_ = name;
        const std::string image = EncodeImage(state_);
        if (QFileInfo::exists(name) && ShowMessage(msg::kFileExists, LanguageMode()) == kIdNo)
            continue;
        const DataFileWrite written = WriteDataFile(PathOf(name), image);
        if (!written.ok) {
            LocalMsgBox(Text(SaveFailedText(name.toStdString(), written.code, LanguageMode())), 16,
                        QString());
            return;
        }
        setWindowTitle(Text(kAppTitle) + "-" + name);
        emit Saved();
        return;
    }
}

void Form1::ShowDecodedState(const std::vector<DecodeStep>& steps) {
    Grid1->ShowAll();
    // Only an image's band code moves the selector, confirmed: decoding never asks.
    if (std::ranges::any_of(steps, [](const DecodeStep& s) { return s.kind == DecodeStep::Band; }))
        SelectBandSilently(state_.BandSelection);
    const std::array<int, 6> positions = state_.MainSelectors;
    for (int i = 0; i < kMainSelectorCount; ++i) selectors_[i]->setCurrentIndex(positions[i]);
    if (hooks_.decoded) hooks_.decoded(steps);
}

void Form1::ShowReadImage(const std::string& readImage, int radioBand) {
    if (const auto steps = DecodeImage(state_, readImage)) ShowDecodedState(*steps);
    SelectBandSilently(radioBand);
    emit TableReplaced();
}

void Form1::Combo1_Click() {
    const int position = Combo1->currentIndex();
    state_.BandSelection = position;
    if (position < 0) return;
    const BandLimits limits = LimitsFromText(Combo1->itemText(position).toStdString());
    state_.BandLow = limits.low;
    state_.BandHigh = limits.high;
    if (position == state_.BandIndex) return;
    if (ShowMessage(msg::kBandChange, LanguageMode()) != kIdOk) return;
    state_.BandLow = limits.low;
    state_.BandHigh = limits.high;
    state_.ClearGrid();
    Grid1->ShowAll();
    state_.BandIndex = position;
    emit TableChanged();
}

void Form1::SelectBand(int position) {
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->setCurrentIndex(position);
    }
    Combo1_Click();
}

void Form1::SelectBandSilently(int position) {
    state_.BandIndex = position;
    SelectBand(position);
}

void Form1::mnulock_Click() {
    // The item's check mark has already been inverted by the menu.
    const bool locked = mnulock->isChecked();
    Frame1->setEnabled(!locked);
    Frame2->setEnabled(!locked);
    Grid1->setEnabled(!locked);
}

void Form1::SelectPort(int port) {
    if (port < 1 || port > 8) return;
    if (hooks_.selectPort) {
        savedPort_ = hooks_.selectPort(port, savedPort_);
        return;
    }
    if (!portMarks_[port]) portMarks_.fill(false);
    const bool opened = hooks_.openPort ? hooks_.openPort(port) : true;
    if (opened) {
        portMarks_[port] = true;
        savedPort_ = port;
    } else {
        portMarks_.fill(false);
    }
    for (int n = 1; n <= 8; ++n) mnucom_[n]->setChecked(portMarks_[n]);
    if (!opened) ShowMessage(PortInUseMessage(port), LanguageMode());
}

void Form1::Toolbar1_ButtonClick(const QString& key) {
    if (key == "new")
        mnuNew_Click();
    else if (key == "open")
        OpenDataFile();
    else if (key == "save")
        SaveDataFile();
    else if (key == "read")
        Run(hooks_.readRadio);
    else if (key == "write")
        Run(hooks_.writeRadio);
    else if (key == "TAnMa")
        Run(hooks_.serviceExit);
}

void Form1::Label2_Click() {
    hooks_.openUrl(QUrl(kMakerUrl));
}

void Form1::Run(const std::function<void()>& hook) const {
    if (hook) hook();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Label2_Click();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    if (hooks_.confirmDiscard && !hooks_.confirmDiscard()) {
        event->ignore();
        return;
    }
    // Without a configuration folder (no home) nothing is kept.
    if (const QString path = ParameterFilePath(); !path.isEmpty()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteParameterFile(PathOf(path), Parameters{Locked(), savedPort_, LanguageMode()});
    }
    // Every other window ends with the main window.
    for (LanguageWindow* window : windows_)
        if (window != this) window->Window()->close();
    event->accept();
}

} // namespace quelro
