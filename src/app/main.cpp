// quelro: the programming tool's window program. Everything happens in the
// main window, Form1; closing it ends the program.
#include <QApplication>

#include "app/command_line.h"
#include "app/program.h"

int main(int argc, char* argv[]) {
    if (const auto status = quelro::AnswerCommandLine(argc, argv)) return *status;
    QApplication app(argc, argv);
    quelro::Program program;
    program.Start();
    return QApplication::exec();
}
