// The three-byte `parameter` file: lock flag, SavedPort, LanguageMode.
#pragma once

#include <filesystem>
#include <string_view>

namespace quelro {

struct Parameters {
    bool locked = false;
    int savedPort = 0;    // as stored; only 1..8 selects a port
    int languageMode = 0; // 0..2; anything else read as 0
};

// A missing or short file reads as zeros.
Parameters ReadParameterFile(const std::filesystem::path& path);
// The same for the file's bytes (only the first three count).
Parameters ParseParameters(std::string_view bytes);
// Writes the three bytes; false when the file cannot be written.
bool WriteParameterFile(const std::filesystem::path& path, const Parameters& parameters);

} // namespace quelro
