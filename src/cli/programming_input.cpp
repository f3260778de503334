// Loading a programming from a data file, a JSON form or a CSV channel list.
#include "cli/programming_input.h"

#include <cctype>
#include <filesystem>
#include <iostream>
#include <map>

#include "files/csv_form.h"
#include "files/data_file.h"
#include "files/json_form.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

namespace quelro::cli {
namespace {

// A JSON form or a channel list is a few kilobytes; anything far larger is
// not one.
constexpr std::size_t kMaxTextBytes = 1 << 20;

void Trouble(const std::string& file, const std::string& what) {
    std::cerr << "quelro-cli: " << file << ": " << what << "\n";
}

std::string FormatOf(const InputForm& form, const std::string& path) {
    if (!form.format.empty()) return form.format;
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".csv") return "csv";
    if (extension == ".json") return "json";
    return "dat";
}

std::optional<Programming> LoadDat(const std::string& path, int languageMode) {
    const DataFileRead read = ReadDataFile(path);
    if (read.status == DataFileRead::CannotOpen) {
        Trouble(path, "cannot open: " + read.error);
        return std::nullopt;
    }
    Programming p{ProgramState::StartUp(languageMode), read.imageHex};
    if (read.status == DataFileRead::WrongType || !DecodeImage(p.state, read.imageHex)) {
        Trouble(path,
                "not a Quelro data file (it must start with the tag RMD47 and hold at least " +
                    std::to_string(kDataFileMinSize) + " bytes)");
        return std::nullopt;
    }
    return p;
}

std::optional<std::string> LoadText(const std::string& path, const std::string& what) {
    const FileBytes file = ReadRegularFile(path, kMaxTextBytes + 1);
    if (!file.ok) {
        Trouble(path, "cannot open: " + FileErrorReason(file.code, kEnglish));
        return std::nullopt;
    }
    if (file.bytes.size() > kMaxTextBytes) {
        Trouble(path, "too large to be " + what);
        return std::nullopt;
    }
    return file.bytes;
}

std::optional<ProgramState> ApplyJson(const std::string& path, ProgramState base) {
    const std::optional<std::string> text = LoadText(path, "a quelro-dat JSON form");
    if (!text) return std::nullopt;
    Json form;
    try {
        form = Json::parse(*text);
    } catch (const Json::parse_error& error) {
        std::string what = error.what();
        // "[json.exception.parse_error.101] parse error at line 2, ..." without its tag.
        if (const auto end = what.find("] ");
            what.rfind("[json.exception", 0) == 0 && end != std::string::npos)
            what.erase(0, end + 2);
        Trouble(path, "not valid JSON: " + what);
        return std::nullopt;
    }
    if (const auto error = ImportJsonForm(form, base)) {
        Trouble(path, error->field + ": " + error->reason);
        return std::nullopt;
    }
    return base;
}

std::optional<ProgramState> ApplyCsv(const std::string& path, const ProgramState& base,
                                     bool hasBase) {
    const std::optional<std::string> text = LoadText(path, "a CSV channel list");
    if (!text) return std::nullopt;
    const CsvImport csv = ImportCsv(*text, base, CsvBand{hasBase ? base.BandIndex : -1});
    if (csv.refusal) {
        Trouble(path, RefusalText(*csv.refusal, kEnglish));
        return std::nullopt;
    }
    for (const CsvLeftOut& row : csv.leftOut)
        std::cerr << "quelro-cli: " << path << ": " << LeftOutText(row, kEnglish) << "\n";
    return csv.state;
}

} // namespace

void AddInputFormOptions(CLI::App& cmd, InputForm& form) {
    cmd.add_option("--format", form.format,
                   "dat, json or csv (default: by the extension: .csv, .json, else dat)")
        ->check(CLI::IsMember({"dat", "json", "csv"}));
    cmd.add_option("--base", form.base,
                   "JSON and CSV: apply to this data file instead of the start-up state");
}

std::optional<Programming> LoadProgramming(const std::string& path, const InputForm& form,
                                           int languageMode) {
    const std::string format = FormatOf(form, path);
    if (format == "dat") return LoadDat(path, languageMode);
    ProgramState base = ProgramState::StartUp(languageMode);
    if (!form.base.empty()) {
        const std::optional<Programming> loaded = LoadDat(form.base, languageMode);
        if (!loaded) return std::nullopt;
        base = loaded->state;
    }
    const std::optional<ProgramState> state = format == "json"
                                                  ? ApplyJson(path, std::move(base))
                                                  : ApplyCsv(path, base, !form.base.empty());
    if (!state) return std::nullopt;
    // What importing writes: the image of the state, nothing of the base's
    // bytes beyond it.
    return Programming{*state, {}};
}

void AddLanguageOption(CLI::App& cmd, std::string& lang) {
    cmd.add_option("--lang", lang, "Language: zh, en or zh-Hant")
        ->check(CLI::IsMember({"zh", "en", "zh-Hant"}))
        ->capture_default_str();
}

int LanguageModeOf(const std::string& lang) {
    static const std::map<std::string, int> kModes{
        {"zh", kSimplified}, {"en", kEnglish}, {"zh-Hant", kTraditional}};
    return kModes.at(lang);
}

} // namespace quelro::cli
