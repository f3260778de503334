// Reading and replacing the files a user names, whatever they turn out to be:
// only regular files are read (a folder, pipe or device is refused without
// waiting on it), and a file is replaced whole or not at all, through
// symbolic links and with its permissions kept. Failures carry an errno-style
// code and a reason the user can read in either language.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "i18n/platform.h"

namespace quelro {

struct FileBytes {
    bool ok = false;
    std::string bytes;
    int code = 0; // errno, or kNotRegularFile
};

// Reads up to `maxBytes` bytes of a regular file.
FileBytes ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

struct FileWrite {
    bool ok = false;
    std::string error; // the reason in English
    int code = 0;      // errno, or kNotRegularFile
};

// Replaces the file `path` (or, when it is a symbolic link, the file the link
// leads to) with `bytes`: a temporary file in the same folder, then a rename.
// A failed save leaves the old file as it was. The new file keeps the old
// one's permissions; a file the user may not write is refused.
FileWrite WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Why a file could not be read or written, for code (errno or kNotRegularFile).
std::string FileErrorReason(int code, int languageMode);

// The messages of a failed open and a failed save: the file's name, then the
// reason on a line of its own.
std::string OpenFailedText(std::string_view name, int code, int languageMode);
std::string SaveFailedText(std::string_view name, int code, int languageMode);

} // namespace quelro
