// quelro-cli's radio commands: read, write and ports.
//
// They run the same transfer control as the window program, over the same
// serial adapter and timers, inside an event loop of their own. A failed
// transfer ends with the program's own message on stderr and exit 3; a write
// the user did not allow for a radio of another band ends with End and exit 4.
// Input is checked before a byte goes to the radio, and no output file is
// written unless the read succeeded.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "cli/radio_common_qt.h"
#include "codes/bands.h"
#include "codes/conversions.h"
#include "files/data_file.h"
#include "i18n/captions.h"
#include "i18n/captions_link.h"
#include "i18n/platform.h"
#include "i18n/unicode_path.h"
#include "image/memory_image.h"
#include "link/clone_control.h"
#include "link/port_identity.h"
#include "link/port_map.h"
#include "link/port_selector_qt.h"
#include "link/serial_link_qt.h"
#include "link/transfer_driver_qt.h"

namespace quelro::cli {
namespace {

constexpr int kBarWidth = 40;

bool Is(const Message& message, const Message& known) {
    return message.text.en == known.text.en;
}

// The window side of a transfer on a terminal: a progress bar on stderr, the
// messages as lines, and the outcome.
class CliView : public TransferView {
  public:
    enum class Outcome { Running, Done, Failed, Refused, Interrupted };

    CliView(bool bar, bool acceptOtherBand, int languageMode, std::function<void()> finished)
        : bar_(bar), acceptOtherBand_(acceptOtherBand), lang_(languageMode),
          finished_(std::move(finished)) {}

    Outcome outcome() const { return outcome_; }
    const std::string& readImage() const { return readImage_; }
    int radioBand() const { return radioBand_; }

    int Language() const override { return lang_; }
    void SetTransferLocked(bool) override {}
    void FocusBandSelector() override {}
    void SetStatusText(const std::string&) override {}
    void ToggleStatusVisible() override {}
    void HideStatus() override {}
    void ShowProgress(int maximum) override {
        maximum_ = maximum;
        Draw(0);
    }
    void SetProgress(int value) override { Draw(value); }
    void HideProgress() override {
        if (drawn_) std::cerr << "\n";
        drawn_ = false;
    }
    BoxAnswer ShowMessage(const Message& message) override {
        const bool band = Is(message, msg::kBandMismatch);
        if (band && acceptOtherBand_) return BoxAnswer::kYes;
        HideProgress();
        // The band question is answered here; the command says what to do.
        if (!band) std::cerr << Localize(message.text, lang_) << "\n";
        outcome_ = band ? Outcome::Refused : Outcome::Failed;
        finished_();
        return band ? BoxAnswer::kNo : BoxAnswer::kOk;
    }
    void ShowFailure(const TransferFailure& failure) override {
        HideProgress();
        std::cerr << FailureText(failure, lang_) << "\n";
        if (failure.kind != FailureKind::Refused) outcome_ = Outcome::Failed;
        finished_();
    }
    void ReadCompleted(const std::string& image, int band) override {
        readImage_ = image;
        radioBand_ = band;
        Finish();
    }
    void WriteCompleted() override { Finish(); }
    void ShowBackupWarning(const std::string& text) override {
        std::cerr << "quelro-cli: warning: " << text << "\n";
    }

  private:
    void Draw(int value) {
        if (!bar_ || maximum_ <= 0) return;
        const int filled = kBarWidth * value / maximum_;
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] "
                  << 100 * value / maximum_ << "%" << std::flush;
        drawn_ = true;
    }
    void Finish() {
        Draw(maximum_);
        HideProgress();
        outcome_ = Outcome::Done;
        finished_();
    }

    bool bar_;
    bool acceptOtherBand_;
    int lang_;
    std::function<void()> finished_;
    Outcome outcome_ = Outcome::Running;
    int maximum_ = 0;
    bool drawn_ = false;
    std::string readImage_;
    int radioBand_ = 0;
};

// The Qt application the commands run in, named like the window program so
// that both use the same configuration and data folders.
class Application {
  public:
    Application() {
        if (!QCoreApplication::instance())
            app_ = std::make_unique<QCoreApplication>(argc_, const_cast<char**>(argv_));
        QCoreApplication::setApplicationName("quelro");
    }

  private:
    int argc_ = 1;
    const char* argv_[2] = {"quelro-cli", nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

struct TransferResult {
    CliView::Outcome outcome;
    std::string readImage;  // reads
    std::string writeImage; // writes: what was sent
    int radioBand = 0;
    std::filesystem::path backup; // reads: where the read was kept, if it was
    int identityBandByte = -1;    // the band code the radio told, -1 when it did not
};

// The command's own lines, in the language of --lang.
constexpr Caption kUnknownBand{"未知", "unknown"};
constexpr Caption kUnknownBandCode{"未知（频段代码 %1）", "unknown (band code %1)"};
constexpr Caption kRadioBand{"（对讲机频段 %1）", " (radio band %1)"};
constexpr Caption kCannotWrite{"%1：无法写入：%2", "%1: cannot write: %2"};
constexpr Caption kReadKept{"；读到的数据保存在 %1", "; the read is kept in %1"};
constexpr Caption kReadNotKept{"；读到的数据也未能保存", "; the read could not be kept either"};
constexpr Caption kBandRefused{
    "对讲机的频段为 %1，文件的频段为 %2：未写入任何数据；加 --yes 仍会写入",
    "the radio's band is %1, the file's %2: nothing was written; --yes writes the file anyway"};
constexpr Caption kVerifyReadFailed{
    "校验：写频已完成，只是回读校验失败（再次执行 write --verify 可重新校验）",
    "verify: the write completed; only reading it back to check it failed (write --verify "
    "again checks it anew)"};
constexpr Caption kVerifyDiffers{"校验：对讲机在 %1 处与写入的数据不同",
                                 "verify: the radio differs from what was written at %1"};
constexpr Caption kVerified{"校验通过：对讲机中的数据与写入的相同。",
                            "Verified: the radio holds what was written."};

// The band a radio told by its identity's band code.
std::string RadioBandText(int identityBandByte, int lang) {
    const auto band = identityBandByte < 0
                          ? std::nullopt
                          : RadioBandFromIdentityByte(static_cast<std::uint8_t>(identityBandByte));
    if (band) return BandText(*band);
    return identityBandByte < 0
               ? Localize(kUnknownBand, lang)
               : LocalizeFilled(kUnknownBandCode, lang,
                                {HexByte(static_cast<unsigned long>(identityBandByte))});
}

// `readBack`: the read checks a write, and is no backup of the radio.
TransferResult RunTransfer(SerialLink& link, ProgramState& state, TransferMode mode,
                           const Options& options, int lang, bool acceptOtherBand,
                           bool readBack = false) {
    InterruptGuard guard;
    QEventLoop loop;
    CliView view(!options.quiet && StderrIsTerminal(), acceptOtherBand, lang,
                 [&loop] { loop.quit(); });
    TransferDriver driver(link, view, state);
    if (readBack) driver.SetReadBack();
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, &loop, [&loop] {
        if (TakeInterrupt()) loop.quit();
    });
    interruptWatch.start(50);
    QTimer::singleShot(
        0, &loop, [&] { mode == TransferMode::Read ? driver.ReadRadio() : driver.WriteRadio(); });
    loop.exec();
    TransferResult result{
        view.outcome(),   view.readImage(),    driver.Control().Engine().WriteImage(),
        view.radioBand(), driver.LastBackup(), driver.Control().Engine().IdentityBandByte()};
    if (result.outcome == CliView::Outcome::Running) {
        driver.Abandon();
        view.HideProgress();
        std::cerr << "quelro-cli: " << Localize(kInterrupted, lang) << "\n";
        if (driver.Control().Engine().HalfWritten())
            std::cerr << Localize(linktext::kWriteIncomplete, lang) << "\n";
        result.outcome = CliView::Outcome::Interrupted;
    }
    link.Flush(1000);
    return result;
}

// ---- read ------------------------------------------------------------------------

// Why a data file cannot be written as `out`, or nothing: a folder by that
// name, a folder that is missing, or one this user may not create files in
// (outputs are replaced through a new file beside them).
std::optional<std::string> CannotWrite(const std::filesystem::path& out) {
    std::error_code ec;
    if (std::filesystem::is_directory(out, ec)) return "it is a folder";
    const std::filesystem::path folder = out.parent_path().empty() ? "." : out.parent_path();
    if (!std::filesystem::is_directory(folder, ec))
        return "the folder " + Utf8Of(folder) + " does not exist";
    if (const int code = FolderWritableCode(folder); code != 0)
        return std::string(std::strerror(code));
    return std::nullopt;
}

} // namespace

int RunRead(const ReadArgs& args, const Options& options) {
    int exitCode = kExitOk;
    const int lang = LanguageModeOf(args.lang);
    Application application;
    const std::filesystem::path out = PathFromUtf8(args.out);
    // Found out before the radio is read, not after.
    if (const std::optional<std::string> why = CannotWrite(out)) {
        std::cerr << "quelro-cli: " << LocalizeFilled(kCannotWrite, lang, {args.out, *why}) << "\n";
        return kExitBadInput;
    }
    SerialLink link;
    if (!OpenPort(link, args.port, exitCode, lang)) return exitCode;
    // The read's bytes go to the file as they came; the language is that
    // of the messages only.
    ProgramState state = ProgramState::StartUp();
    const TransferResult result =
        RunTransfer(link, state, TransferMode::Read, options, lang, false);
    if (result.outcome != CliView::Outcome::Done) return kExitLinkFailure;
    const DataFileWrite written = WriteDataFile(out, result.readImage);
    if (!written.ok) {
        std::cerr << "quelro-cli: " << LocalizeFilled(kCannotWrite, lang, {args.out, written.error})
                  << (result.backup.empty()
                          ? Localize(kReadNotKept, lang)
                          : LocalizeFilled(kReadKept, lang, {Utf8Of(result.backup)}))
                  << "\n";
        return kExitBadInput;
    }
    if (!options.quiet)
        std::cerr << Localize(status::kReadDone, lang) << " " << args.out
                  << LocalizeFilled(kRadioBand, lang,
                                    {RadioBandText(result.identityBandByte, lang)})
                  << "\n";
    return kExitOk;
}

// ---- write -----------------------------------------------------------------------

int RunWrite(const WriteArgs& args, const Options& options) {
    int exitCode = kExitOk;
    const int lang = LanguageModeOf(args.lang);
    ProgramState state = ProgramState::StartUp();
    if (!LoadDataFileToWrite(args.in, state, exitCode, lang)) return exitCode;
    state.ServiceMode = args.service ? 1 : 0;

    Application application;
    SerialLink link;
    if (!OpenPort(link, args.port, exitCode, lang)) return exitCode;
    const TransferResult wrote =
        RunTransfer(link, state, TransferMode::Write, options, lang, args.yes);
    if (wrote.outcome == CliView::Outcome::Refused) {
        std::cerr << "quelro-cli: "
                  << LocalizeFilled(kBandRefused, lang,
                                    {RadioBandText(wrote.identityBandByte, lang),
                                     BandText(state.BandSelection)})
                  << "\n";
        return kExitRefused;
    }
    if (wrote.outcome != CliView::Outcome::Done) return kExitLinkFailure;
    if (!options.quiet) std::cerr << Localize(status::kWriteDone, lang) << "\n";
    if (args.verify) {
        ProgramState readState = ProgramState::StartUp();
        const TransferResult read =
            RunTransfer(link, readState, TransferMode::Read, options, lang, false, true);
        if (read.outcome != CliView::Outcome::Done) {
            std::cerr << "quelro-cli: " << Localize(kVerifyReadFailed, lang) << "\n";
            return kExitLinkFailure;
        }
        if (const auto at =
                FirstWrittenDifference(wrote.writeImage, read.readImage, args.service)) {
            std::cerr << "quelro-cli: " << LocalizeFilled(kVerifyDiffers, lang, {Hex4(*at)})
                      << "\n";
            return kExitLinkFailure;
        }
        if (!options.quiet) std::cerr << Localize(kVerified, lang) << "\n";
    }
    return kExitOk;
}

namespace {

// ---- ports -----------------------------------------------------------------------

// A device and what the system tells of it, or that it is missing.
std::string Described(const SystemPaths& paths, const std::string& device, int lang) {
    const PortIdentity identity = IdentifyPort(paths, device);
    if (!identity.exists) return "  (device missing)";
    const std::string text = IdentityText(identity, lang);
    return text.empty() ? "" : "  " + text;
}

} // namespace

int RunPorts(const std::string& lang) {
    const int language = LanguageModeOf(lang);
    Application application;
    const SystemPaths paths = SystemPaths::FromEnvironment();
    const std::filesystem::path config = LinkConfigFolder();
    const std::vector<std::string> present = OrderSerialDevices(SerialDevicesPresent());
    for (int n = 1; n <= kPortCount; ++n) {
        const auto device = DeviceForPort(n, config, present);
        std::cout << "COM" << n << "  " << (device ? device->path : "-")
                  << (device && device->fromPortsFile ? "  (ports file)" : "")
                  << (device ? Described(paths, device->path, language) : "") << "\n";
    }
    std::cout << "Ports file: " << Utf8Of(config / kPortsFileName) << "\n";
    if (const auto adapter = RememberedAdapter(config))
        std::cout << "Adapter opened at start-up: " << *adapter << "\n";
    std::cout << "Serial devices present:";
    if (present.empty()) std::cout << " none";
    std::cout << "\n";
    for (const std::string& path : present)
        std::cout << "  " << path << Described(paths, path, language) << "\n";
    return kExitOk;
}

} // namespace quelro::cli
