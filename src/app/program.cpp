// Creating and starting the program's windows.
#include "app/program.h"

namespace quelro {

Program::Program() : state_(ProgramState::StartUp()) {
    Form1::SetUpApplication();
    form1_ = std::make_unique<Form1>(state_);
}

Program::~Program() = default;

void Program::Start() {
    form1_->Form_Load();
    form1_->show();
}

} // namespace quelro
