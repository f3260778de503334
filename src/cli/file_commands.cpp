// quelro-cli's file commands: new, export, import and info. Export and import
// speak the JSON form and the CSV memory form.
//
// Every command reads all its input and checks it before it writes anything;
// outputs are replaced atomically, so no output file is created or changed
// when a command fails. Bad input ends with exit 2 and one line on stderr
// naming the file and what is wrong.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/info_report.h"
#include "cli/programming_input.h"
#include "codes/bands.h"
#include "codes/conversions.h"
#include "files/csv_form.h"
#include "files/data_file.h"
#include "files/json_form.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

namespace quelro::cli {
namespace {

// A JSON form or a channel list is a few kilobytes; anything far larger is
// not one.
constexpr std::uintmax_t kMaxTextBytes = 1 << 20;

int BadInput(const std::string& file, const std::string& what) {
    std::cerr << "quelro-cli: " << file << ": " << what << "\n";
    return kExitBadInput;
}

// Decodes a data file onto the start-up state of `languageMode`, as opening
// it in the program does. Reports and returns nullopt when it cannot.
// `imageHex`, when given, receives the file's image.
std::optional<ProgramState> LoadDataFile(const std::string& path, int languageMode,
                                         std::string* imageHex = nullptr) {
    const DataFileRead read = ReadDataFile(path);
    if (read.status == DataFileRead::CannotOpen) {
        BadInput(path, "cannot open: " + read.error);
        return std::nullopt;
    }
    ProgramState state = ProgramState::StartUp(languageMode);
    if (read.status == DataFileRead::WrongType || !DecodeImage(state, read.imageHex)) {
        BadInput(path, "not a Quelro data file (it must start with the tag RMD47 and hold at "
                       "least " +
                           std::to_string(kDataFileMinSize) + " bytes)");
        return std::nullopt;
    }
    if (imageHex != nullptr) *imageHex = read.imageHex;
    return state;
}

// One stderr line for each byte of the image that the form, like the
// program's open and save, does not carry.
void WarnBytesNotKept(const std::string& path, const std::string& imageHex,
                      const ProgramState& state) {
    for (const ByteNotKept& lost : BytesNotKept(imageHex, state)) {
        static constexpr const char* kWhat[] = {"an unknown band byte", "a flag byte with odd bits",
                                                "an odd fill byte",
                                                "a value the program does not keep"};
        char offset[16];
        std::snprintf(offset, sizeof offset, "0x%03zX", lost.offset);
        std::cerr << "quelro-cli: warning: " << path << ": image offset " << offset << " holds "
                  << HexByte(static_cast<unsigned long>(lost.value)) << ", " << kWhat[lost.kind]
                  << ": the form does not carry it\n";
    }
}

// An output that is the input itself, by its own name or through a link,
// would replace what the command reads with another form of it: refused
// before anything is read.
bool OutputIsInput(const std::string& in, const std::string& out) {
    std::error_code ec;
    if (out.empty() || !std::filesystem::equivalent(in, out, ec) || ec) return false;
    BadInput(out, "is the input file " + in + "; name another output");
    return true;
}

int Save(const std::string& path, const ProgramState& state, const Options& options) {
    const DataFileWrite written = WriteDataFile(path, EncodeImage(state));
    if (!written.ok) return BadInput(path, "cannot write: " + written.error);
    if (!options.quiet) std::cout << "Wrote " << path << "\n";
    return kExitOk;
}

std::vector<std::string> BandTexts() {
    std::vector<std::string> bands;
    for (const Band& band : kBands) bands.emplace_back(band.text);
    return bands;
}

// --format csv|json; without it the file's extension decides (.csv in any
// case is CSV), and stdout is JSON.
void AddFormatOption(CLI::App& cmd, std::string& format) {
    cmd.add_option("--format", format, "csv or json (default: by the file's extension)")
        ->check(CLI::IsMember({"csv", "json"}));
}

bool IsCsv(const std::string& format, const std::string& file) {
    if (!format.empty()) return format == "csv";
    std::string extension = std::filesystem::path(file).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".csv";
}

// ---- new -------------------------------------------------------------------------

void AddNew(CLI::App& app, Options& options, int& exitCode) {
    struct Args {
        std::string band{kBands[0].text};
        std::string out;
    };
    auto args = std::make_shared<Args>();
    CLI::App* cmd = app.add_subcommand("new", "Write the data file of a fresh start-up state");
    cmd->add_option("--band", args->band, "Band by its list text")
        ->check(CLI::IsMember(BandTexts()))
        ->capture_default_str();
    cmd->add_option("-o,--output", args->out, "Data file to write (OUT.DAT)")->required();
    cmd->callback([args, &options, &exitCode] {
        ProgramState state = ProgramState::StartUp(kEnglish);
        const int position = *BandPositionFromText(args->band);
        state.BandIndex = position;
        state.SelectBandPosition(position);
        exitCode = Save(args->out, state, options);
    });
}

// ---- export ----------------------------------------------------------------------

void AddExport(CLI::App& app, Options& options, int& exitCode) {
    struct Args {
        std::string in;
        std::string out;
        std::string format;
        std::string lang;
    };
    auto args = std::make_shared<Args>();
    CLI::App* cmd = app.add_subcommand(
        "export", "Print a data file as JSON (quelro-dat version 1) or as a CSV channel list");
    cmd->add_option("IN.DAT", args->in, "Data file to read")->required();
    cmd->add_option("-o,--output", args->out, "Write to this file instead of stdout");
    AddFormatOption(*cmd, args->format);
    AddLanguageOption(*cmd, args->lang);
    cmd->callback([args, &options, &exitCode] {
        const int lang = LanguageModeOf(args->lang);
        if (OutputIsInput(args->in, args->out)) {
            exitCode = kExitBadInput;
            return;
        }
        std::string imageHex;
        const std::optional<ProgramState> state = LoadDataFile(args->in, kEnglish, &imageHex);
        if (!state) {
            exitCode = kExitBadInput;
            return;
        }
        std::string text;
        if (IsCsv(args->format, args->out)) {
            const CsvExport csv = ExportCsv(*state);
            for (const CsvToneWarning& warning : csv.warnings)
                std::cerr << "quelro-cli: " << args->in << ": " << WarningText(warning, lang)
                          << "\n";
            text = csv.text;
        } else {
            WarnBytesNotKept(args->in, imageHex, *state);
            text = ExportJsonForm(*state).dump(2, ' ', true, Json::error_handler_t::replace) + "\n";
        }
        if (args->out.empty()) {
            std::cout << text << std::flush;
            exitCode = std::cout ? kExitOk : BadInput("(stdout)", "cannot write");
            return;
        }
        const DataFileWrite written = WriteFileAtomically(args->out, text);
        if (!written.ok) {
            exitCode = BadInput(args->out, "cannot write: " + written.error);
            return;
        }
        if (!options.quiet) std::cout << "Wrote " << args->out << "\n";
        exitCode = kExitOk;
    });
}

// ---- import ----------------------------------------------------------------------

// The whole of a small text file (`what` names the kind of file expected).
std::optional<std::string> LoadText(const std::string& path, const std::string& what) {
    const FileBytes file = ReadRegularFile(path, kMaxTextBytes + 1);
    if (!file.ok) {
        BadInput(path, "cannot open: " + FileErrorReason(file.code, kEnglish));
        return std::nullopt;
    }
    if (file.bytes.size() > kMaxTextBytes) {
        BadInput(path, "too large to be " + what);
        return std::nullopt;
    }
    return file.bytes;
}

std::optional<Json> LoadJson(const std::string& path) {
    const std::optional<std::string> text = LoadText(path, "a quelro-dat JSON form");
    if (!text) return std::nullopt;
    try {
        return Json::parse(*text);
    } catch (const Json::parse_error& error) {
        // "[json.exception.parse_error.101] parse error at line 2, ..." without its tag.
        std::string what = error.what();
        if (const auto end = what.find("] ");
            what.rfind("[json.exception", 0) == 0 && end != std::string::npos)
            what.erase(0, end + 2);
        BadInput(path, "not valid JSON: " + what);
        return std::nullopt;
    }
}

void AddImport(CLI::App& app, Options& options, int& exitCode) {
    struct Args {
        std::string in;
        std::string out;
        std::string base;
        std::string band;
        std::string format;
        std::string lang;
        bool strict = false;
    };
    auto args = std::make_shared<Args>();
    CLI::App* cmd = app.add_subcommand(
        "import", "Write a data file from its JSON form or from a CSV channel list");
    cmd->add_option("IN", args->in, "JSON form or CSV file to read")->required();
    cmd->add_option("-o,--output", args->out, "Data file to write (OUT.DAT)")->required();
    cmd->add_option("--base", args->base,
                    "Start from this data file instead of the start-up state");
    cmd->add_option("--band", args->band,
                    "CSV: check the channels against this band (default: the base's band, "
                    "else the band that holds the channels)")
        ->check(CLI::IsMember(BandTexts()));
    cmd->add_flag("--strict", args->strict, "CSV: refuse the file when any row is left out");
    AddFormatOption(*cmd, args->format);
    AddLanguageOption(*cmd, args->lang);
    cmd->callback([args, &options, &exitCode] {
        exitCode = kExitBadInput;
        const int lang = LanguageModeOf(args->lang);
        if (OutputIsInput(args->in, args->out)) return;
        std::optional<ProgramState> state = ProgramState::StartUp(kEnglish);
        if (!args->base.empty()) state = LoadDataFile(args->base, kEnglish);
        if (!state) return;
        if (IsCsv(args->format, args->in)) {
            const std::optional<std::string> text = LoadText(args->in, "a CSV channel list");
            if (!text) return;
            CsvBand band;
            if (!args->band.empty())
                band.position = *BandPositionFromText(args->band);
            else if (!args->base.empty())
                band.position = state->BandIndex;
            // Onto a base, what the list has no column for stays the base's.
            CsvImport csv =
                ImportCsv(*text, *state, band,
                          args->base.empty() ? CsvUnnamed::NewChannel : CsvUnnamed::BaseChannel);
            if (csv.refusal) {
                BadInput(args->in, RefusalText(*csv.refusal, lang));
                return;
            }
            for (const CsvLeftOut& row : csv.leftOut)
                std::cerr << "quelro-cli: " << args->in << ": " << LeftOutText(row, lang) << "\n";
            for (const CsvChanged& value : csv.changed)
                std::cerr << "quelro-cli: " << args->in << ": " << ChangedText(value, lang) << "\n";
            bool none = true;
            for (int row = 1; row <= kChannels; ++row) none = none && csv.state.ChannelEmpty(row);
            if (none)
                std::cerr << "quelro-cli: " << (args->strict ? "" : "warning: ") << args->in
                          << ": no channel in the list"
                          << (args->strict ? "\n" : "; the data file has none\n");
            if (args->strict && (!csv.leftOut.empty() || none)) return;
            exitCode = Save(args->out, csv.state, options);
            return;
        }
        const std::optional<Json> form = LoadJson(args->in);
        if (!form) return;
        if (const auto error = ImportJsonForm(*form, *state)) {
            BadInput(args->in, error->field + ": " + error->reason);
            return;
        }
        exitCode = Save(args->out, *state, options);
    });
}

// ---- info ------------------------------------------------------------------------

void AddInfo(CLI::App& app, int& exitCode) {
    struct Args {
        std::string in;
        std::string lang;
    };
    auto args = std::make_shared<Args>();
    CLI::App* cmd = app.add_subcommand(
        "info", "Show a data file's channels as the grid shows them, and its settings");
    cmd->add_option("IN.DAT", args->in, "Data file to read")->required();
    AddLanguageOption(*cmd, args->lang);
    cmd->callback([args, &exitCode] {
        const std::optional<Programming> programming =
            LoadProgramming(args->in, {"dat", ""}, LanguageModeOf(args->lang));
        if (!programming) {
            exitCode = kExitBadInput;
            return;
        }
        std::cout << InfoReport(programming->state) << std::flush;
        exitCode = kExitOk;
    });
}

} // namespace

void AddFileCommands(CLI::App& app, Options& options, int& exitCode) {
    AddNew(app, options, exitCode);
    AddExport(app, options, exitCode);
    AddImport(app, options, exitCode);
    AddInfo(app, exitCode);
}

} // namespace quelro::cli
