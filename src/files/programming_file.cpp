// Reading a programming from a data file, a JSON form or a CSV channel list.
#include "files/programming_file.h"

#include <cctype>

#include "files/data_file.h"
#include "files/json_form.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

namespace quelro {
namespace {

constexpr Caption kNotDataFile{"不是 Quelro 数据文件（须以标记 RMD47 开头，至少有 %1 字节）",
                               "not a Quelro data file (it must start with the tag RMD47 and hold "
                               "at least %1 bytes)"};
constexpr Caption kTooLarge{"文件太大，不是 JSON 形式或信道列表", "too large to be a %1"};
constexpr Caption kNotJson{"不是有效的 JSON：", "not valid JSON: "};

std::string Filled(const Caption& caption, int lang, const std::string& value) {
    std::string text = Localize(caption, lang);
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
    return text;
}

ProgrammingRead Refused(std::string problem) {
    return {std::nullopt, std::move(problem), {}};
}

ProgrammingRead ReadJson(std::string_view bytes, ProgramState state, int lang) {
    cli::Json form;
    try {
        form = cli::Json::parse(bytes);
    } catch (const cli::Json::parse_error& error) {
        // "[json.exception.parse_error.101] parse error at line 2, ..." without its tag.
        std::string what = error.what();
        if (const auto end = what.find("] ");
            what.rfind("[json.exception", 0) == 0 && end != std::string::npos)
            what.erase(0, end + 2);
        return Refused(Localize(kNotJson, lang) + what);
    }
    if (const auto error = cli::ImportJsonForm(form, state))
        return Refused(error->field + ": " + error->reason);
    return {SavedProgramming(state), {}, {}};
}

} // namespace

ProgrammingForm FormOfName(std::string_view name) {
    const auto dot = name.rfind('.');
    const auto slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot))
        return ProgrammingForm::DataFile;
    std::string extension(name.substr(dot));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".csv") return ProgrammingForm::Csv;
    if (extension == ".json") return ProgrammingForm::Json;
    return ProgrammingForm::DataFile;
}

ProgrammingRead ReadProgramming(std::string_view bytes, ProgrammingForm form,
                                const ProgramState& base, bool baseGiven, int languageMode) {
    const int lang = languageMode;
    if (form == ProgrammingForm::DataFile) {
        const DataFileRead read = ParseDataFile(bytes);
        Programming p{ProgramState::StartUp(), read.imageHex};
        if (read.status != DataFileRead::Ok || !DecodeImage(p.state, read.imageHex))
            return Refused(Filled(kNotDataFile, lang, std::to_string(kDataFileMinSize)));
        return {std::move(p), {}, {}};
    }
    const bool json = form == ProgrammingForm::Json;
    if (bytes.size() > kMaxFormBytes)
        return Refused(Filled(kTooLarge, lang, json ? "quelro-dat JSON form" : "CSV channel list"));
    ProgramState state = base;
    if (json) return ReadJson(bytes, std::move(state), lang);
    CsvImport csv = ImportCsv(bytes, state, CsvBand{baseGiven ? state.BandIndex : -1},
                              baseGiven ? CsvUnnamed::BaseChannel : CsvUnnamed::NewChannel);
    if (csv.refusal) return Refused(RefusalText(*csv.refusal, lang));
    return {SavedProgramming(csv.state), {}, std::move(csv.leftOut)};
}

} // namespace quelro
