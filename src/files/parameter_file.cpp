// The three-byte start-up preferences file.
#include "files/parameter_file.h"

#include <fstream>

#include "files/data_file.h"

namespace quelro {

Parameters ReadParameterFile(const std::filesystem::path& path) {
    char bytes[3] = {0, 0, 0};
    std::ifstream in(path, std::ios::binary);
    if (in) in.read(bytes, 3);
    return ParseParameters(std::string_view(bytes, 3));
}

Parameters ParseParameters(std::string_view text) {
    unsigned char bytes[3] = {0, 0, 0};
    for (std::size_t i = 0; i < 3 && i < text.size(); ++i)
        bytes[i] = static_cast<unsigned char>(text[i]);
    Parameters p;
    p.locked = bytes[0] == 1;
    p.savedPort = bytes[1];
    // A language the program does not know would leave every caption unwritten.
    p.languageMode = bytes[2] <= 2 ? bytes[2] : 0;
    return p;
}

bool WriteParameterFile(const std::filesystem::path& path, const Parameters& p) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    const char bytes[3] = {static_cast<char>(p.locked ? 1 : 0),
                           static_cast<char>(p.savedPort & 0xFF),
                           static_cast<char>(p.languageMode & 0xFF)};
    return WriteFileAtomically(path, std::string_view(bytes, 3)).ok;
}

} // namespace quelro
