// The program as quelro starts it: the one ProgramState and the main window
// over it, started in the order the main window's start-up requires. The
// start-up benchmark runs the same code.
#pragma once

#include <memory>

#include "app/form1.h"
#include "channels/program_state.h"

namespace quelro {

class Program {
  public:
    // Needs the QApplication; sets the application's name first.
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the main window's start-up and shows it.
    void Start();

    ProgramState& State() { return state_; }
    Form1& MainWindow() { return *form1_; }

  private:
    ProgramState state_;
    std::unique_ptr<Form1> form1_;
};

} // namespace quelro
