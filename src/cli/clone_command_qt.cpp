// quelro-cli clone: one data file written to radio after radio by the
// cloning run of link/clone_driver_qt. A line per radio goes to stdout, the
// instructions to stderr in the language of --lang, and a CSV row per radio
// to --log, flushed as soon as the radio is done. Ctrl+C between radios ends
// the run with its summary; during a transfer it ends the transfer with End,
// then the run.
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "cli/radio_common_qt.h"
#include "codes/bands.h"
#include "files/data_file.h"
#include "i18n/captions.h"
#include "i18n/captions_link.h"
#include "i18n/unicode_path.h"
#include "image/memory_image.h"
#include "link/clone_control.h"
#include "link/clone_driver_qt.h"
#include "link/port_diagnosis.h"
#include "link/port_map.h"
#include "link/port_selector_qt.h"
#include "link/serial_link_qt.h"

namespace quelro::cli {
namespace {

// Tenths of a second as "12.3", the same in every locale.
std::string Seconds(qint64 ms) {
    const qint64 tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// The lines of the run in the language of --lang; the log keeps its English
// words.
constexpr Caption kRadioLine{"第%1台：%2", "radio %1: %2"};
constexpr Caption kAt{"，地址 %1", " at %1"};
constexpr Caption kSeconds{"，%1 秒", ", %1 s"};
constexpr Caption kBands{"（对讲机为 %1，文件为 %2；加 --yes 仍会写入）",
                         " (the radio is %1, the file %2; --yes writes it anyway)"};
constexpr Caption kSummary{"已写 %1 台，校验通过 %2 台，失败 %3 台，跳过 %4 台",
                           "written %1, verified %2, failed %3, skipped %4"};

std::string ResultText(CloneResult result, int lang) {
    static constexpr Caption kWords[] = {{"成功", "ok"},
                                         {"校验不符", "verify-failed"},
                                         {"失败", "failed"},
                                         {"频段不符，已跳过", "skipped-band"}};
    return Localize(kWords[static_cast<int>(result)], lang);
}

// The run's lines: one per radio on stdout and in the log, the instructions
// and the transfers' messages on stderr.
class CliCloneReport : public CloneReport {
  public:
    CliCloneReport(const ProgramState& state, int languageMode, bool quiet, std::ofstream* log,
                   QEventLoop& loop)
        : state_(state), lang_(languageMode), quiet_(quiet), log_(log), loop_(loop) {}

    int Language() const override { return lang_; }

    void RadioDone(const CloneRecord& r, const QDateTime& startedUtc, qint64 elapsedMs) override {
        const int lang = lang_;
        const std::string seconds = Seconds(elapsedMs);
        const std::string at = r.firstDifference ? Hex4(*r.firstDifference) : "";
        std::cout << LocalizeFilled(kRadioLine, lang,
                                    {std::to_string(r.number), ResultText(r.result, lang)})
                  << (at.empty() ? "" : LocalizeFilled(kAt, lang, {at}))
                  << LocalizeFilled(kSeconds, lang, {seconds});
        if (r.result == CloneResult::SkippedBand)
            std::cout << LocalizeFilled(kBands, lang,
                                        {BandText(r.radioBand), BandText(state_.BandSelection)});
        std::cout << std::endl;
        if (!log_) return;
        *log_ << r.number << "," << startedUtc.toString(Qt::ISODate).toStdString() << "," << seconds
              << "," << BandText(r.radioBand, "") << "," << CloneResultWord(r.result) << "," << at
              << "\n"
              << std::flush;
    }
    void Instruct(CloneInstruction instruction) override {
        if (!quiet_) std::cerr << Localize(InstructionText(instruction), lang_) << std::endl;
    }
    void TransferMessage(const std::string& text) override { std::cerr << text << "\n"; }
    void Finished(const CloneSummary& s) override {
        std::cout << LocalizeFilled(kSummary, lang_,
                                    {std::to_string(s.written), std::to_string(s.verified),
                                     std::to_string(s.failed), std::to_string(s.skipped)})
                  << std::endl;
        loop_.quit();
    }

  private:
    const ProgramState& state_;
    int lang_;
    bool quiet_;
    std::ofstream* log_;
    QEventLoop& loop_;
};

CloneSummary CloneRadios(SerialLink& link, ProgramState& state, int languageMode,
                         const CloneOptions& options, bool quiet, std::ofstream* log,
                         bool& lineLost) {
    QEventLoop loop;
    CliCloneReport report(state, languageMode, quiet, log, loop);
    CloneDriver driver(link, state, options, report);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, &loop, [&] {
        if (!TakeInterrupt()) return;
        if (driver.Interrupt())
            std::cerr << "quelro-cli: " << Localize(kInterrupted, languageMode) << "\n";
    });
    interruptWatch.start(50);
    QTimer::singleShot(0, &loop, [&driver] { driver.Start(); });
    loop.exec();
    lineLost = driver.LineLost();
    return driver.Control().Summary();
}

} // namespace

int RunClone(const CloneArgs& args, const Options& options) {
    int exitCode = kExitOk;
    const int language = LanguageModeOf(args.lang);
    ProgramState state = ProgramState::StartUp();
    if (!LoadDataFileToWrite(args.in, state, exitCode, language)) return exitCode;
    state.ServiceMode = args.service ? 1 : 0;

    std::ofstream log;
    if (!args.log.empty()) {
        std::error_code ec;
        const std::filesystem::path file = PathFromUtf8(args.log);
        const bool fresh =
            !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
        log.open(file, std::ios::app);
        if (!log) {
            std::cerr << "quelro-cli: " << args.log << ": cannot be written\n";
            return kExitBadInput;
        }
        if (fresh) log << "radio,start,seconds,band,result,first_difference\n" << std::flush;
    }

    int argc = 1;
    char name[] = "quelro-cli";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (!QCoreApplication::instance()) application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName("quelro");
    SerialLink link;
    if (!OpenPort(link, args.port, exitCode, language)) return exitCode;
    CloneOptions cloneOptions{args.count, !args.noVerify, args.yes, args.service};
    bool lineLost = false;
    CloneSummary summary;
    {
        InterruptGuard guard;
        summary = CloneRadios(link, state, language, cloneOptions, options.quiet,
                              args.log.empty() ? nullptr : &log, lineLost);
    }
    link.Flush(1000);
    // Radios only skipped for their band are refusals, as write's are.
    return summary.AllGood() && !lineLost     ? kExitOk
           : summary.failed == 0 && !lineLost ? kExitRefused
                                              : kExitLinkFailure;
}

} // namespace quelro::cli
