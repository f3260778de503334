// Form1: start-up, menus, toolbar, panels, lock, data files and shutdown of
// the main window (its language machinery and layout have files of their own).
#include "app/form1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

#include "app/form1_parts.h"
#include "app/list_wheel_guard.h"
#include "channels/announcement_qt.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "codes/bands.h"
#include "files/data_file.h"
#include "files/parameter_file.h"
#include "files/truetype_font.h"
#include "i18n/captions.h"
#include "i18n/data_paths.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/platform.h"
#include "i18n/traditional.h"
#include "i18n/translate_form_qt.h"
#include "i18n/unicode_path.h"
#include "i18n/unicode_path_qt.h"
#include "windows/accessible_names.h"

namespace quelro {
using namespace form1;
namespace {

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

} // namespace

void Form1::SetUpApplication() {
    QCoreApplication::setApplicationName("quelro");
    QCoreApplication::setApplicationVersion(QUELRO_VERSION);
    QGuiApplication::setDesktopFileName("quelro");
    GuardListsFromStrayWheel();
    // A system without Chinese fonts (a Windows without its East Asian
    // fonts) takes the characters from the font shipped for the sheet.
    const std::string font = ShippedSheetFont();
    const int id =
        font.empty() ? -1 : QFontDatabase::addApplicationFont(NameOf(PathFromUtf8(font)));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (!families.isEmpty()) {
        QFont standard = QGuiApplication::font();
        standard.setFamilies({standard.family(), families.front()});
        QGuiApplication::setFont(standard);
    }
}

void Form1::SetUpWindowIcon() {
    const auto icon = FindData({"icons/hicolor/256x256/apps/quelro.png", "packaging/quelro.png"});
    QGuiApplication::setWindowIcon(QIcon::fromTheme("quelro", QIcon(NameOf(icon))));
}

QString Form1::ParameterFilePath() {
    const std::filesystem::path folder = SettingsFolder();
    return folder.empty() ? QString() : NameOf(folder / "parameter");
}

Form1::Form1(ProgramState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setObjectName("Form1");
    InstallAccessibleInterfaces();
    hooks_.chooseFileName = [this](bool save, const QString& current) {
        return DialogFileName(this, save, current);
    };
    hooks_.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    client_ = new QWidget;
    client_->setObjectName("client");
    setCentralWidget(NewClientArea(client_));
    BuildMenus();
    BuildToolbar();
    BuildPanels(client_);
    parts_.push_back(this);
    SetMessageBoxOwner(this);
}

Form1::~Form1() {
    // Closing the window below moves the focus; an editor still open would
    // commit into members already gone.
    if (editors_ != nullptr) editors_->Cancel();
}

TransferWidgets Form1::TransferParts() const {
    return {Toolbar1,     mnupro, Toolbar1Button(5), Toolbar1Button(6), Frame1, Combo1, Label,
            ProgressBar1, Grid1};
}

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
    // The keys every desktop program has for these.
    mnuNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuAssave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

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
    // One of the three is checked at any time; choosing it again keeps it.
    auto* languages = new QActionGroup(mnuLanguage);
    for (QAction* item : {mnuChineseJ, mnuChineseF, mnuEnglish}) {
        item->setCheckable(true);
        languages->addAction(item);
    }

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
    connect(mnureadFre, &QAction::triggered, this, &Form1::ReadRadio);
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
    Grid1 = new ChannelGrid(state_, language_, client);
    editors_ = new CellEditors(state_, language_, Grid1);
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
    // Each label names the list beside it.
    Label3->setBuddy(Combo1);
    const std::array<QLabel*, 6> labels{Label4, Label5, Label1, Label6, Label7, Label8};
    for (int i = 0; i < kMainSelectorCount; ++i) labels[i]->setBuddy(selectors_[i]);
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

    // The status text and the progress bar share the status line.
    QWidget* statusLine = NewStatusLine(client);
    statusLine->setObjectName("statusLine");
    Label = label(statusLine, "Label");
    Label2 = label(client, "Label2");
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);
    ProgressBar1 = new QProgressBar(statusLine);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
}

void Form1::Form_Load() {
    Grid1->Shape();
    PlaceControls();
    FitToScreen();

    const Parameters parameters = ReadParameterFile(PathOf(ParameterFilePath()));
    mnulock->setChecked(parameters.locked);
    if (parameters.locked) {
        // Only the lock command itself disables the function panel as well.
        Frame1->setEnabled(false);
        Grid1->setEnabled(false);
        emit LockChanged(true);
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

    for (int i = 0; i < MainSelectorItemCount(MainSetting::kTxTimeout); ++i)
        Combo3->addItem(QString::fromStdString(
            MainSelectorItemText(MainSetting::kTxTimeout, i, LanguageMode())));

    state_.BandIndex = 0;
    SelectBand(0);

    Grid1->ShowAll();
    for (QComboBox* selector : selectors_) selector->setCurrentIndex(1);
    ProgressBar1->hide();
}

void Form1::RegisterWindow(LanguageWindow* window) {
    RegisterPart(window);
}

void Form1::RegisterPart(LanguagePart* part) {
    if (part != nullptr && part != this) parts_.push_back(part);
}

bool Form1::Locked() const {
    return mnulock->isChecked() || busy_;
}

void Form1::SetBusy(bool busy) {
    busy_ = busy;
    const bool locked = mnulock->isChecked();
    Grid1->setEnabled(!locked && !busy);
    Frame1->setEnabled(!locked && !busy);
    mnulock->setEnabled(!busy);
    emit LockChanged(Locked());
}

bool Form1::ReadyToChange() {
    editors_->Commit();
    return !Locked();
}

bool Form1::ReadyToReplace() {
    editors_->Commit();
    return !busy_;
}

void Form1::mnuNew_Click() {
    if (!ReadyToReplace()) return;
    if (ShowMessage(msg::kNewWarning, LanguageMode()) == BoxAnswer::kCancel) return;
    state_.Channels = {};
    Grid1->ShowAll();
    emit TableChanged();
}

void Form1::OpenDataFile() {
    if (!ReadyToReplace()) return;
    if (hooks_.confirmDiscard && !hooks_.confirmDiscard()) return;
    const QString name = hooks_.chooseFileName(false, fileName_);
    if (name.isEmpty()) return;
    fileName_ = name;
    const DataFileRead read = ReadDataFile(PathOf(name));
    if (read.status == DataFileRead::CannotOpen) {
        LocalMsgBox(Text(OpenFailedText(name.toStdString(), read.code, LanguageMode())), 16, {},
                    LanguageMode());
        return;
    }
    std::optional<std::vector<DecodeStep>> steps;
    if (read.status == DataFileRead::Ok) steps = DecodeImage(state_, read.imageHex);
    if (!steps) {
        ShowMessage(msg::kWrongFileType, LanguageMode());
        return;
    }
    ShowDecodedState(*steps);
    titleFile_ = name;
    setWindowTitle(Text(kAppTitle) + "-" + name);
    emit TableReplaced();
}

void Form1::SaveDataFile() {
    editors_->Commit();
    for (;;) {
        const QString name = hooks_.chooseFileName(true, fileName_);
        if (name.isEmpty()) return;
        fileName_ = name;
        const std::string image = EncodeImage(state_);
        if (QFileInfo::exists(name) &&
            ShowMessage(msg::kFileExists, LanguageMode()) == BoxAnswer::kNo)
            continue;
        const DataFileWrite written = WriteDataFile(PathOf(name), image);
        if (!written.ok) {
            LocalMsgBox(Text(SaveFailedText(name.toStdString(), written.code, LanguageMode())), 16,
                        QString(), LanguageMode());
            return;
        }
        titleFile_ = name;
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
    // An editor opened during the transfer ends before its row is replaced.
    editors_->Commit();
    if (const auto steps = DecodeImage(state_, readImage)) ShowDecodedState(*steps);
    SelectBandSilently(radioBand);
    // The table is the radio's now, no longer the file opened before.
    titleFile_.clear();
    setWindowTitle(Text(Localize(caption::kTitle, LanguageMode())));
    emit TableRead();
}

void Form1::ReadRadio() {
    if (!ReadyToReplace()) return;
    if (hooks_.confirmDiscard && !hooks_.confirmDiscard()) return;
    Run(hooks_.readRadio);
}

void Form1::Combo1_Click() {
    const int position = Combo1->currentIndex();
    state_.BandSelection = position;
    if (position < 0) return;
    const BandLimits limits = LimitsFromText(Combo1->itemText(position).toStdString());
    state_.BandLow = limits.low;
    state_.BandHigh = limits.high;
    if (position == state_.BandIndex) return;
    const BoxAnswer answer = ShowMessage(msg::kBandChange, LanguageMode());
    // After the question a listener hears which band stands.
    Announce(Combo1, NameOfLabel(Label3->text()) + " " + Combo1->currentText());
    if (answer != BoxAnswer::kOk) return;
    state_.BandLow = limits.low;
    state_.BandHigh = limits.high;
    state_.Channels = {};
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
    Frame1->setEnabled(!locked && !busy_);
    Frame2->setEnabled(!locked);
    Grid1->setEnabled(!locked && !busy_);
    emit LockChanged(Locked());
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
        ReadRadio();
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

void Form1::EndWithoutAsking() {
    asking_ = false;
    close();
    asking_ = true;
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event) {
    // A window already closed for good (a second close from the session or
    // a signal) has nothing more to do.
    if (ended_ && !isVisible()) {
        event->accept();
        return;
    }
    // What an open editor holds is part of the table the question is about.
    editors_->Commit();
    if (asking_ && hooks_.confirmDiscard && !hooks_.confirmDiscard()) {
        event->ignore();
        return;
    }
    // Without a configuration folder (no home) nothing is kept.
    if (const QString path = ParameterFilePath(); !path.isEmpty()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteParameterFile(PathOf(path),
                           Parameters{mnulock->isChecked(), savedPort_, LanguageMode()});
    }
    // Every other window ends with the main window: the settings windows,
    // the compare and clone windows, a box or a menu still open.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
    ended_ = true;
    event->accept();
}

} // namespace quelro
