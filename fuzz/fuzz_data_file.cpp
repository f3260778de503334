// libFuzzer target: arbitrary bytes as a .DAT data file, from memory.
//
// The bytes go through the reader's parser, then DecodeImage onto the
// start-up state and EncodeImage. Whatever the file holds:
// - a file the reader refuses leaves no image behind;
// - the encoded image is exactly 1696 hex characters;
// - decoding that image onto the decoded state and encoding again gives the
//   same image, and the file a save writes reads back as that image;
// - the JSON form of that image is either refused by import, or imports to
//   the same image (an "Empty" retrace time included: it is FF both ways).
// The JSON leg costs three times the rest under the sanitizers, so it runs
// on one input in eight, picked by a hash of the bytes so that a finding
// replays; the fuzzer still keeps any input that reaches new JSON code.
#include <cstdint>
#include <string>
#include <string_view>

#include "channels/program_state.h"
#include "codes/conversions.h"
#include "files/data_file.h"
#include "files/json_form.h"
#include "fuzz_check.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

using quelro::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const quelro::DataFileRead read = quelro::ParseDataFile(bytes);
    Check(read.status != quelro::DataFileRead::CannotOpen, "bytes in memory cannot be opened");
    if (read.status != quelro::DataFileRead::Ok) {
        Check(read.imageHex.empty(), "a refused file left an image");
        return 0;
    }

    quelro::ProgramState state = quelro::ProgramState::StartUp();
    Check(quelro::DecodeImage(state, read.imageHex).has_value(), "an accepted file did not decode");
    const std::string image = quelro::EncodeImage(state);
    Check(image.size() == quelro::kImageHexLength, "the encoded image is not 1696 characters");

    quelro::ProgramState reopened = state;
    Check(quelro::DecodeImage(reopened, image).has_value(), "the encoded image did not decode");
    Check(quelro::EncodeImage(reopened) == image, "decoding an encoding changed it");

    // The bytes a save writes: the tag and the image.
    const std::string saved =
        quelro::BytesFromHex(quelro::kDataFileTagHex) + quelro::BytesFromHex(image);
    const quelro::DataFileRead again = quelro::ParseDataFile(saved);
    Check(again.status == quelro::DataFileRead::Ok && again.imageHex == image,
          "a saved file does not read back as its image");

    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    if (hash % 8 != 0) return 0;

    // That file exported, then imported.
    quelro::ProgramState opened = quelro::ProgramState::StartUp();
    Check(quelro::DecodeImage(opened, image).has_value(), "the encoded image did not decode");
    const auto form = quelro::cli::Json::parse(quelro::cli::ExportJsonForm(opened).dump());
    quelro::ProgramState imported = quelro::ProgramState::StartUp();
    if (quelro::cli::ImportJsonForm(form, imported)) return 0; // refused, naming a field
    Check(quelro::EncodeImage(imported) == image, "import of the export changed the image");
    return 0;
}
