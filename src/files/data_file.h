// The .DAT data file: the 5-byte tag "RMD47" followed by the 848 image bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "files/file_access.h"

namespace quelro {

inline constexpr std::string_view kDataFileTagHex = "524D443437";
inline constexpr std::size_t kDataFileSize = 853;
// Tag plus every image byte the decoder reads (offsets up to 0x32F).
inline constexpr std::size_t kDataFileMinSize = 5 + 0x330;

struct DataFileRead {
    enum Status { Ok, CannotOpen, WrongType } status = CannotOpen;
    std::string imageHex; // the bytes after the tag as hex (up to 850 bytes)
    std::string error;    // CannotOpen: the reason in English
    int code = 0;         // CannotOpen: errno, or kNotRegularFile
};

// Reads a data file. A missing name creates nothing; a folder, pipe or device
// is CannotOpen. A file without the tag, or too short to hold every field the
// decoder reads, is WrongType.
DataFileRead ReadDataFile(const std::filesystem::path& path);

// The same for a file's bytes already in memory (never CannotOpen).
DataFileRead ParseDataFile(std::string_view bytes);

using DataFileWrite = FileWrite;

// Writes the tag and the first 848 bytes of `imageHex` (at least 1696 hex
// characters), replacing the file as WriteFileAtomically does.
DataFileWrite WriteDataFile(const std::filesystem::path& path, std::string_view imageHex);

} // namespace quelro
