// quelro: the programming tool's window program. Everything happens in the
// main window, Form1; closing it ends the program.
#include <QApplication>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/program.h"
#include "app/stop_signals.h"

int main(int argc, char* argv[]) {
    if (const auto status = quelro::AnswerCommandLine(argc, argv)) return *status;
    QApplication app(argc, argv);
    quelro::Program program;
    program.Start();
    quelro::EndOnStopSignals(program.MainWindow());
    // Qt's list holds the arguments in Unicode on every system (Windows's
    // argv would be in its 8-bit code page), without Qt's own options.
    std::vector<std::string> utf8;
    for (const QString& argument : QCoreApplication::arguments())
        utf8.push_back(argument.toStdString());
    std::vector<const char*> arguments;
    for (const std::string& argument : utf8) arguments.push_back(argument.c_str());
    if (const auto file = quelro::FileToOpen(static_cast<int>(arguments.size()), arguments.data()))
        program.OpenFile(QString::fromStdString(*file));
    return QApplication::exec();
}
