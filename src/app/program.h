// The program as quelro starts it: the one ProgramState, the main window over
// it, the auxiliary windows and the radio link, wired together and started in
// the order the main window's start-up requires. The start-up benchmark runs
// the same code.
#pragma once

#include <QString>

#include <memory>

#include "app/form1.h"
#include "channels/program_state.h"

namespace quelro {

class AuxWindows;
class ChannelCommands;
class DesktopFiles;
class CloneCommand;
class PortSelector;
class SerialLink;
class TransferDriver;
class WindowTransferView;

class Program {
  public:
    // Needs the QApplication; sets the application's name first.
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the main window's start-up and shows it; once it has painted,
    // builds the other windows and sets the windows' icon.
    void Start();
    // Opens a file named on the command line as the File menu would (see
    // DesktopFiles), once the window's start-up is done.
    void OpenFile(const QString& name);

    ProgramState& State() { return state_; }
    Form1& MainWindow() { return *form1_; }
    AuxWindows& Windows() { return *aux_; }
    ChannelCommands& Commands() { return *commands_; }

  private:
    void WireWindows();
    void WireLink();
    void AfterFirstPaint();

    ProgramState state_;
    std::unique_ptr<Form1> form1_;
    AuxWindows* aux_ = nullptr;           // owned by the main window
    ChannelCommands* commands_ = nullptr; // owned by the main window
    DesktopFiles* files_ = nullptr;       // owned by the main window
    CloneCommand* clone_ = nullptr;       // owned by the main window
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<WindowTransferView> view_;
    std::unique_ptr<TransferDriver> transfers_;
    std::unique_ptr<PortSelector> ports_;
};

} // namespace quelro
