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
#include "i18n/captions_link.h"
#include "i18n/unicode_path.h"
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

// A data file as opening it in the program gives it; trouble is one line on
// stderr in `languageMode`.
std::optional<Programming> LoadDataFile(const std::string& path, int languageMode) {
    return LoadProgramming(path, {"dat", ""}, languageMode);
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
bool OutputIsInput(const std::string& in, const std::string& out, int languageMode) {
    static constexpr Caption kIsTheInput{"就是输入文件 %1；请另取输出文件名",
                                         "is the input file %1; name another output"};
    std::error_code ec;
    if (out.empty() || !std::filesystem::equivalent(PathFromUtf8(in), PathFromUtf8(out), ec) || ec)
        return false;
    BadInput(out, LocalizeFilled(kIsTheInput, languageMode, {in}));
    return true;
}

int Save(const std::string& path, const ProgramState& state, const Options& options,
         int languageMode) {
    const DataFileWrite written = WriteDataFile(PathFromUtf8(path), EncodeImage(state));
    if (!written.ok) return BadInput(path, CannotWriteText(written.error, languageMode));
    if (!options.quiet) std::cout << "Wrote " << path << "\n";
    return kExitOk;
}

// Without --format the file's extension decides (.csv in any case is CSV),
// and stdout is JSON.
bool IsCsv(const std::string& format, const std::string& file) {
    if (!format.empty()) return format == "csv";
    std::string extension = Utf8Of(PathFromUtf8(file).extension());
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".csv";
}

} // namespace

// ---- new -------------------------------------------------------------------------

int RunNew(const NewArgs& args, const Options& options) {
    ProgramState state = ProgramState::StartUp();
    const int position = *BandPositionFromText(args.band);
    state.BandIndex = position;
    state.SelectBandPosition(position);
    return Save(args.out, state, options, kEnglish);
}

// ---- export ----------------------------------------------------------------------

int RunExport(const ExportArgs& args, const Options& options) {
    const int lang = LanguageModeOf(args.lang);
    if (OutputIsInput(args.in, args.out, lang)) return kExitBadInput;
    const std::optional<Programming> loaded = LoadDataFile(args.in, lang);
    if (!loaded) return kExitBadInput;
    const std::optional<ProgramState> state = loaded->state;
    const std::string& imageHex = loaded->imageHex;
    std::string text;
    if (IsCsv(args.format, args.out)) {
        const CsvExport csv = ExportCsv(*state);
        for (const CsvToneWarning& warning : csv.warnings)
            std::cerr << "quelro-cli: " << args.in << ": " << WarningText(warning, lang) << "\n";
        text = csv.text;
    } else {
        WarnBytesNotKept(args.in, imageHex, *state);
        text = ExportJsonForm(*state).dump(2, ' ', true, Json::error_handler_t::replace) + "\n";
    }
    if (args.out.empty()) {
        std::cout << text << std::flush;
        return std::cout ? kExitOk : BadInput("(stdout)", CannotWriteText("", lang));
    }
    const DataFileWrite written = WriteFileAtomically(PathFromUtf8(args.out), text);
    if (!written.ok) return BadInput(args.out, CannotWriteText(written.error, lang));
    if (!options.quiet) std::cout << "Wrote " << args.out << "\n";
    return kExitOk;
}

// ---- import ----------------------------------------------------------------------

namespace {

// The whole of a small text file (`what` names the kind of file expected).
std::optional<std::string> LoadText(const std::string& path, const std::string& what) {
    const FileBytes file = ReadRegularFile(PathFromUtf8(path), kMaxTextBytes + 1);
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

// import from a CSV channel list onto `state`.
int ImportFromCsv(const ImportArgs& args, const Options& options, const ProgramState& state,
                  int lang) {
    const std::optional<std::string> text = LoadText(args.in, "a CSV channel list");
    if (!text) return kExitBadInput;
    CsvBand band;
    if (!args.band.empty())
        band.position = *BandPositionFromText(args.band);
    else if (!args.base.empty())
        band.position = state.BandIndex;
    // Onto a base, what the list has no column for stays the base's.
    CsvImport csv = ImportCsv(*text, state, band,
                              args.base.empty() ? CsvUnnamed::NewChannel : CsvUnnamed::BaseChannel);
    if (csv.refusal) return BadInput(args.in, RefusalText(*csv.refusal, lang));
    for (const CsvLeftOut& row : csv.leftOut)
        std::cerr << "quelro-cli: " << args.in << ": " << LeftOutText(row, lang) << "\n";
    for (const CsvChanged& value : csv.changed)
        std::cerr << "quelro-cli: " << args.in << ": " << ChangedText(value, lang) << "\n";
    bool none = true;
    for (int row = 1; row <= kChannels; ++row) none = none && csv.state.ChannelEmpty(row);
    static constexpr Caption kNoChannel{"列表中没有信道", "no channel in the list"};
    static constexpr Caption kDataFileHasNone{"；数据文件中也将没有信道",
                                              "; the data file has none"};
    if (none)
        std::cerr << "quelro-cli: " << (args.strict ? "" : Localize(kWarning, lang)) << args.in
                  << ": " << Localize(kNoChannel, lang)
                  << (args.strict ? std::string() : Localize(kDataFileHasNone, lang)) << "\n";
    if (args.strict && (!csv.leftOut.empty() || none)) return kExitBadInput;
    return Save(args.out, csv.state, options, lang);
}

} // namespace

int RunImport(const ImportArgs& args, const Options& options) {
    const int lang = LanguageModeOf(args.lang);
    if (OutputIsInput(args.in, args.out, lang)) return kExitBadInput;
    std::optional<ProgramState> state = ProgramState::StartUp();
    if (!args.base.empty()) {
        const std::optional<Programming> base = LoadDataFile(args.base, lang);
        if (!base) return kExitBadInput;
        state = base->state;
    }
    if (IsCsv(args.format, args.in)) return ImportFromCsv(args, options, *state, lang);
    const std::optional<Json> form = LoadJson(args.in);
    if (!form) return kExitBadInput;
    if (const auto error = ImportJsonForm(*form, *state))
        return BadInput(args.in, error->field + ": " + error->reason);
    return Save(args.out, *state, options, lang);
}

// ---- info ------------------------------------------------------------------------

int RunInfo(const InfoArgs& args) {
    const int lang = LanguageModeOf(args.lang);
    const std::optional<Programming> programming = LoadProgramming(args.in, {"dat", ""}, lang);
    if (!programming) return kExitBadInput;
    std::cout << InfoReport(programming->state, lang) << std::flush;
    return kExitOk;
}

} // namespace quelro::cli
