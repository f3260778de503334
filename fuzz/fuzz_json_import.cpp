// libFuzzer target: any bytes as a JSON form for import.
//
// Either the document is refused (not JSON, or a field named as wrong), and
// then the state it was imported onto is exactly as it was; or the state
// encodes to 1696 hex characters and its export imports again to the same
// image (but for an "Empty" retrace time, which comes back as position 1).
#include <cstdint>
#include <string>

#include "channels/program_state.h"
#include "files/json_form.h"
#include "fuzz_check.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

using quelro::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto form = quelro::cli::Json::parse(data, data + size, nullptr, false);
    if (form.is_discarded()) return 0;

    quelro::ProgramState state = quelro::ProgramState::StartUp();
    const quelro::ProgramState before = state;
    if (const auto error = quelro::cli::ImportJsonForm(form, state)) {
        Check(!error->reason.empty(), "a refusal without a reason");
        Check(state == before, "a refused import changed the state");
        return 0;
    }
    const std::string image = quelro::EncodeImage(state);
    Check(image.size() == quelro::kImageHexLength, "the encoded image is not 1696 characters");

    const std::string text = quelro::cli::ExportJsonForm(state).dump(
        2, ' ', true, quelro::cli::Json::error_handler_t::replace);
    quelro::ProgramState again = quelro::ProgramState::StartUp();
    const auto error = quelro::cli::ImportJsonForm(quelro::cli::Json::parse(text), again);
    Check(!error, "the export of an imported state is refused");
    std::string expected = image;
    for (std::size_t offset : {0x152, 0x153})
        if (expected.compare(offset * 2, 2, "FF") == 0) expected.replace(offset * 2, 2, "01");
    Check(quelro::EncodeImage(again) == expected, "export and import changed the image");
    return 0;
}
