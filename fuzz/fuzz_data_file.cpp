// libFuzzer target: arbitrary bytes opened as a .DAT data file.
//
// The bytes go through the real reader (a temporary file), then DecodeImage
// onto the start-up state and EncodeImage. Whatever the file holds:
// - the encoded image is exactly 1696 hex characters;
// - decoding that image onto the decoded state and encoding again gives the
//   same image (a saved file reopens to what was saved);
// - the JSON form of that image, opened as a file, is either refused by
//   import, or imports to the same image but for an "Empty" retrace time,
//   which reading cannot bring back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "channels/program_state.h"
#include "cli/json_form.h"
#include "files/data_file.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

namespace {

std::string& TemporaryPath() {
    static std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern =
            std::string(folder && *folder ? folder : "/tmp") + "/quelro-fuzz-XXXXXX.DAT";
        const int fd = mkstemps(pattern.data(), 4);
        if (fd < 0) std::abort();
        close(fd);
        std::atexit([] { std::remove(TemporaryPath().c_str()); });
        return pattern;
    }();
    return path;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_data_file: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = TemporaryPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(static_cast<bool>(out), "cannot write the temporary file");
    }
    const quelro::DataFileRead read = quelro::ReadDataFile(path);
    Check(read.status != quelro::DataFileRead::CannotOpen, "the temporary file cannot be opened");
    if (read.status != quelro::DataFileRead::Ok) return 0;

    quelro::ProgramState state = quelro::ProgramState::StartUp(quelro::kEnglish);
    Check(quelro::DecodeImage(state, read.imageHex).has_value(), "an accepted file did not decode");
    const std::string image = quelro::EncodeImage(state);
    Check(image.size() == quelro::kImageHexLength, "the encoded image is not 1696 characters");

    quelro::ProgramState reopened = state;
    Check(quelro::DecodeImage(reopened, image).has_value(), "the encoded image did not decode");
    Check(quelro::EncodeImage(reopened) == image, "decoding an encoding changed it");

    // The file a save of `image` writes, opened and exported, then imported.
    quelro::ProgramState opened = quelro::ProgramState::StartUp(quelro::kEnglish);
    Check(quelro::DecodeImage(opened, image).has_value(), "the encoded image did not decode");
    const auto form = quelro::cli::Json::parse(quelro::cli::ExportJsonForm(opened).dump());
    quelro::ProgramState imported = quelro::ProgramState::StartUp(quelro::kEnglish);
    if (quelro::cli::ImportJsonForm(form, imported)) return 0; // refused, naming a field
    std::string expected = image;
    for (std::size_t offset : {0x152, 0x153}) // "Empty" comes back as the start-up position 1
        if (expected.compare(offset * 2, 2, "FF") == 0) expected.replace(offset * 2, 2, "01");
    Check(quelro::EncodeImage(imported) == expected, "import of the export changed the image");
    return 0;
}
