// quelro: the programming tool's window program. Everything happens in the
// main window, Form1; closing it ends the program.
#include <QApplication>

#include "app/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quelro::Program program;
    program.Start();
    return QApplication::exec();
}
