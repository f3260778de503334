// Creating the program's windows and radio link and wiring them together.
#include "app/program.h"

#include <QEvent>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include <functional>
#include <utility>

#include "app/channel_commands.h"
#include "app/channel_moves.h"
#include "app/clone_command.h"
#include "app/compare_and_print.h"
#include "app/desktop_files.h"
#include "app/edit_menu.h"
#include "app/recent_files_menu.h"
#include "app/serial_port_check.h"
#include "channels/channel_grid_qt.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/traditional.h"
#include "link/port_selector_qt.h"
#include "link/serial_link_qt.h"
#include "link/transfer_driver_qt.h"
#include "windows/aux_windows.h"
#include "windows/window_transfer_view_qt.h"

namespace quelro {
namespace {

// Runs its work once, as soon as the first paint of the watched window is done.
class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QObject* window, std::function<void()> work)
        : QObject(window), work_(std::move(work)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && work_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                std::function<void()> work = std::move(work_);
                work_ = nullptr;
                work();
            });
        }
        return false;
    }

  private:
    std::function<void()> work_;
};

} // namespace

Program::Program() : state_(ProgramState::StartUp()) {
    Form1::SetUpApplication();
    form1_ = std::make_unique<Form1>(state_);
    WireWindows();
    commands_ = new ChannelCommands(state_, *form1_);
    form1_->RegisterPart(commands_);
    auto* moves = new ChannelMoves(state_, *form1_, *commands_);
    form1_->RegisterPart(moves);
    form1_->RegisterPart(new EditMenu(*form1_, *commands_, *moves));
    files_ = new DesktopFiles(*form1_, *commands_);
    form1_->RegisterPart(new RecentFilesMenu(*form1_, *files_));
    WireLink();
    new SerialPortCheck(*form1_); // owned by the main window
    form1_->RegisterPart(new CompareAndPrint(*form1_));
    clone_ = new CloneCommand(*link_, state_, *form1_, *view_);
    form1_->RegisterPart(clone_);
}

Program::~Program() {
    // The drivers end a transfer still running with End while the port is open.
    delete clone_;
    transfers_.reset();
    view_.reset();
    ports_.reset();
    link_.reset();
}

void Program::WireWindows() {
    Form1* form = form1_.get();
    AuxWindowHooks hooks;
    hooks.setServiceExitVisible = [form](bool visible) { form->TAnMa->setVisible(visible); };
    aux_ = new AuxWindows(state_, form->LanguageMode(), form, std::move(hooks));
    for (LanguageWindow* window : aux_->LanguageWindows()) form->RegisterWindow(window);

    Form1::Hooks& h = form->hooks();
    AuxWindows* aux = aux_;
    h.showOptionalFunctions = [aux] { aux->ShowOptionalFunctions(); };
    h.showKeySettings = [aux] { aux->ShowKeySettings(); };
    h.showEmbeddedInfo = [aux] { aux->ShowEmbeddedInfo(); };
    h.showServiceAdjust = [aux] { aux->ShowServiceAdjust(); };
    h.showTestFrequencies = [aux] { aux->ShowTestFrequencies(); };
    h.showAbout = [aux] { aux->ShowAbout(); };
    h.showHelp = [aux] { aux->OpenHelp(); };
    h.decoded = [aux](const std::vector<DecodeStep>& steps) { aux->ShowDecoded(steps); };
    h.serviceExit = [aux] { aux->ServiceExitClicked(); };
    h.traditionalAboutTexts = [aux](bool atStartUp) { aux->ApplyTraditionalAboutTexts(atStartUp); };
}

void Program::WireLink() {
    Form1* form = form1_.get();
    link_ = std::make_unique<SerialLink>();
    const TransferWidgets widgets = form->TransferParts();
    view_ = std::make_unique<WindowTransferView>(
        widgets, form->LanguageMode(),
        [form](const std::string& readImage, int radioBand) {
            form->ShowReadImage(readImage, radioBand);
        },
        [form](const QString& tip) { form->statusBar()->showMessage(tip); });
    view_->OnWriteCompleted([this] { commands_->MarkSaved(); });
    transfers_ = std::make_unique<TransferDriver>(*link_, *view_, state_);
    ports_ = std::make_unique<PortSelector>(
        *link_, form->LanguageMode(),
        PortSelector::Callbacks{[form](int port, bool on) { form->mnucom(port)->setChecked(on); },
                                [form](const QString& prompt, BoxStyle style) {
                                    LocalMsgBox(prompt, Win32Style(style), QString(),
                                                form->LanguageMode());
                                }});

    Form1::Hooks& h = form->hooks();
    h.readRadio = [this] { transfers_->ReadRadio(); };
    h.writeRadio = [this] { transfers_->WriteRadio(); };
    h.selectPort = [this](int port, int savedPort) {
        ports_->SetSavedPort(savedPort);
        ports_->SelectPort(port);
        return ports_->SavedPort();
    };
    // The status bar shows those device names as the menu is browsed, and a
    // backup of a read that could not be kept.
    form->statusBar()->setSizeGripEnabled(false);
    // Each menu item names the device it stands for, looked up as the menu opens.
    QObject::connect(form->mnucomMenu, &QMenu::aboutToShow, form, [this, form] {
        for (int port = 1; port <= 8; ++port)
            form->mnucom(port)->setStatusTip(ports_->StatusTip(port));
    });
}

void Program::Start() {
    form1_->Form_Load();
    commands_->StartOver();
    AfterFirstPaint();
    form1_->show();
}

void Program::OpenFile(const QString& name) {
    files_->Open(name);
}

void Program::AfterFirstPaint() {
    // Nothing of this is on the first screen, so the user sees the main window
    // sooner; the windows are still built before any command can ask for one,
    // and the first switch to Traditional Chinese finds its dictionary open.
    auto* watch = new FirstPaintWatch(form1_.get(), [aux = aux_] {
        aux->CreateAll();
        Form1::SetUpWindowIcon();
        TraditionalAvailable();
    });
    form1_->installEventFilter(watch);
}

} // namespace quelro
