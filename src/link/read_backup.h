// Backups of what the radio held: every successful read is also kept as a
// .DAT file (tag and the first 848 bytes, as the radio sent them), named by
// the date and time of the read; the newest ones are kept.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "i18n/captions.h"

namespace quelro {

inline constexpr int kKeptBackups = 100;

// Prefix of the warning shown when a backup could not be written.
inline constexpr Caption kBackupFailed{"读频数据未能备份：", "The read could not be backed up: "};

struct BackupResult {
    bool ok = false;
    std::filesystem::path file; // the file written
    std::string error;          // why not, when !ok
};

// Writes `readImageHex` (at least 1696 hex characters) as
// folder/STAMP.DAT, or folder/STAMP-2.DAT ... when that name is taken, where
// `stamp` is the local date and time as "YYYYMMDD-HHMMSS" (the caller reads
// the clock). Creates the folder, then removes the oldest backups beyond
// `keep`. Other files in the folder are left alone.
BackupResult KeepReadBackup(const std::filesystem::path& folder, std::string_view readImageHex,
                            std::string_view stamp, int keep = kKeptBackups);

// The newest backup in `folder` (by the stamp of its name, then its number),
// or an empty path when there is none.
std::filesystem::path NewestReadBackup(const std::filesystem::path& folder);

} // namespace quelro
