// quelro: the programming tool's window program. Everything happens in the
// main window, Form1; closing it ends the program.
#include <QApplication>

#include "app/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quelro::Form1::SetUpApplication();
    quelro::ProgramState state = quelro::ProgramState::StartUp();
    quelro::Form1 form(state);
    form.Form_Load();
    form.show();
    return QApplication::exec();
}
