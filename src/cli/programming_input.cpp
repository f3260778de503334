// Loading a programming from a data file, a JSON form or a CSV channel list.
#include "cli/programming_input.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "files/data_file.h"
#include "files/file_access.h"
#include "files/parameter_file.h"
#include "files/programming_file.h"
#include "i18n/captions.h"
#include "i18n/unicode_path.h"

namespace quelro::cli {
namespace {

constexpr Caption kCannotOpenFile{"无法打开：", "cannot open: "};

std::optional<Programming> Load(const std::string& path, ProgrammingForm form,
                                const ProgramState& base, bool baseGiven, int languageMode) {
    // A data file's reader looks at its first bytes only.
    const std::size_t wanted =
        form == ProgrammingForm::DataFile ? kDataFileSize + 2 : kMaxFormBytes + 1;
    const FileBytes file = ReadRegularFile(PathFromUtf8(path), wanted);
    if (!file.ok) {
        std::cerr << "quelro-cli: " << path << ": " << Localize(kCannotOpenFile, languageMode)
                  << FileErrorReason(file.code, languageMode) << "\n";
        return std::nullopt;
    }
    ProgrammingRead read = ReadProgramming(file.bytes, form, base, baseGiven, languageMode);
    if (!read.programming) {
        std::cerr << "quelro-cli: " << path << ": " << read.problem << "\n";
        return std::nullopt;
    }
    for (const CsvLeftOut& row : read.leftOut)
        std::cerr << "quelro-cli: " << path << ": " << LeftOutText(row, languageMode) << "\n";
    return std::move(*read.programming);
}

} // namespace

std::string CannotWriteText(const std::string& why, int languageMode) {
    static constexpr Caption kCannotWrite{"无法写入", "cannot write"};
    return Localize(kCannotWrite, languageMode) + (why.empty() ? "" : ": " + why);
}

std::optional<Programming> LoadProgramming(const std::string& path, const InputForm& form,
                                           int languageMode) {
    static const std::map<std::string, ProgrammingForm> kForms{{"dat", ProgrammingForm::DataFile},
                                                               {"json", ProgrammingForm::Json},
                                                               {"csv", ProgrammingForm::Csv}};
    const ProgrammingForm chosen = form.format.empty() ? FormOfName(path) : kForms.at(form.format);
    ProgramState base = ProgramState::StartUp();
    if (chosen != ProgrammingForm::DataFile && !form.base.empty()) {
        const auto loaded = Load(form.base, ProgrammingForm::DataFile, base, false, languageMode);
        if (!loaded) return std::nullopt;
        base = loaded->state;
    }
    return Load(path, chosen, base, !form.base.empty(), languageMode);
}

int LanguageModeOf(const std::string& lang) {
    static const std::map<std::string, int> kModes{
        {"zh", kSimplified}, {"en", kEnglish}, {"zh-Hant", kTraditional}};
    if (!lang.empty()) return kModes.at(lang);
    const std::filesystem::path folder = SettingsFolder();
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_regular_file(folder / "parameter", ec))
        return kEnglish;
    return ReadParameterFile(folder / "parameter").languageMode;
}

} // namespace quelro::cli
