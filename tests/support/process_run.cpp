// QProcess behind RunProcess. QProcess waits on its pipes by itself but
// wants an application object for their notifiers: a test program without
// one (the GoogleTest ones) gets one here, made once.
#include "support/process_run.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include "i18n/unicode_path.h"

namespace quelro::test {

namespace {

void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "quelro-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

} // namespace

std::filesystem::path OwnFolder() {
    EnsureApplication();
    return PathFromUtf8(QCoreApplication::applicationDirPath().toStdString());
}

ProcessRun RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const ProcessOptions& options) {
    EnsureApplication();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : options.environment)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    if (!options.stdoutFile.empty())
        process.setStandardOutputFile(QString::fromStdString(Utf8Of(options.stdoutFile)));
    QStringList arguments;
    for (const std::string& arg : args) arguments << QString::fromStdString(arg);
    process.start(QString::fromStdString(Utf8Of(program)), arguments);
    ProcessRun run;
    if (!process.waitForFinished(options.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit) run.exit = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

} // namespace quelro::test
