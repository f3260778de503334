// File names between UTF-8 text (command lines, messages, settings files)
// and std::filesystem::path. A path made from a plain std::string takes it
// in the system's 8-bit code page on Windows, which mangles 王\收音机.DAT;
// these go through UTF-8 on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quelro {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace quelro
