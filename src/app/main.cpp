// quelro: the programming tool's window program. Everything happens in the
// main window, Form1; closing it ends the program.
#include <QApplication>
#include <QFile>

#include "app/command_line.h"
#include "app/program.h"
#include "app/stop_signals.h"

int main(int argc, char* argv[]) {
    if (const auto status = quelro::AnswerCommandLine(argc, argv)) return *status;
    QApplication app(argc, argv);
    quelro::Program program;
    program.Start();
    quelro::EndOnStopSignals(program.MainWindow());
    if (const auto file = quelro::FileToOpen(argc, argv))
        program.OpenFile(QFile::decodeName(file->c_str()));
    return QApplication::exec();
}
