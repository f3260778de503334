// libFuzzer target: any bytes as a CSV channel list for import.
//
// Either the text is refused as a whole, with a reason in both languages and
// the base untouched; or the state it gives encodes to 1696 hex characters,
// every row left out is reported with its line, and the export of that state
// imports again to the same image (unless the export had to write a tone it
// cannot carry as off, which it reports).
#include <cstdint>
#include <string>
#include <string_view>

#include "channels/program_state.h"
#include "files/csv_form.h"
#include "fuzz_check.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

using quelro::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quelro::ProgramState base = quelro::ProgramState::StartUp();
    const quelro::CsvImport imported = quelro::ImportCsv(text, base, quelro::CsvBand{});
    if (imported.refusal) {
        for (int language : {quelro::kSimplified, quelro::kEnglish})
            Check(!quelro::RefusalText(*imported.refusal, language).empty(),
                  "a refusal without a reason");
        return 0;
    }
    for (const quelro::CsvLeftOut& row : imported.leftOut)
        Check(row.line >= 1 && !quelro::LeftOutText(row, quelro::kEnglish).empty(),
              "a row left out without its line or reason");
    const std::string image = quelro::EncodeImage(imported.state);
    Check(image.size() == quelro::kImageHexLength, "the encoded image is not 1696 characters");

    const quelro::CsvExport exported = quelro::ExportCsv(imported.state);
    if (!exported.warnings.empty()) return 0;
    const quelro::CsvImport again = quelro::ImportCsv(
        exported.text, base, quelro::CsvBand{imported.state.BandSelection, false});
    Check(!again.refusal && again.leftOut.empty(), "the export of an import is not taken whole");
    Check(quelro::EncodeImage(again.state) == image, "export and import changed the image");
    return 0;
}
