// Writing and pruning the backups of reads.
#include "link/read_backup.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "files/data_file.h"
#include "i18n/unicode_path.h"

namespace quelro {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kStampLength = 15; // YYYYMMDD-HHMMSS

bool IsStamp(std::string_view text) {
    if (text.size() != kStampLength || text[8] != '-') return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 8 && (text[i] < '0' || text[i] > '9')) return false;
    return true;
}

// Sort key of a backup's file name: its stamp and its sequence number (1 for
// the name without one), or nothing for a file that is not a backup.
std::optional<std::pair<std::string, int>> BackupKey(const std::string& name) {
    constexpr std::string_view kExtension = ".DAT";
    if (name.size() <= kExtension.size() ||
        name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) != 0)
        return std::nullopt;
    std::string_view stem(name.data(), name.size() - kExtension.size());
    if (!IsStamp(stem.substr(0, kStampLength))) return std::nullopt;
    std::string stamp(stem.substr(0, kStampLength));
    if (stem.size() == kStampLength) return std::pair{stamp, 1};
    if (stem[kStampLength] != '-') return std::nullopt;
    std::string_view digits = stem.substr(kStampLength + 1);
    int sequence = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), sequence);
    if (ec != std::errc{} || end != digits.data() + digits.size() || sequence < 2)
        return std::nullopt;
    return std::pair{stamp, sequence};
}

// The backups in a folder, oldest first.
std::vector<std::pair<std::pair<std::string, int>, fs::path>> Backups(const fs::path& folder) {
    std::vector<std::pair<std::pair<std::string, int>, fs::path>> backups;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (auto key = BackupKey(Utf8Of(entry.path().filename())))
            backups.emplace_back(std::move(*key), entry.path());
    }
    std::sort(backups.begin(), backups.end());
    return backups;
}

void RemoveOldest(const fs::path& folder, int keep) {
    const auto backups = Backups(folder);
    std::error_code ec;
    if (static_cast<int>(backups.size()) <= keep) return;
    const auto excess = backups.size() - static_cast<std::size_t>(std::max(keep, 0));
    for (std::size_t i = 0; i < excess; ++i) fs::remove(backups[i].second, ec);
}

} // namespace

fs::path NewestReadBackup(const fs::path& folder) {
    const auto backups = Backups(folder);
    return backups.empty() ? fs::path() : backups.back().second;
}

BackupResult KeepReadBackup(const fs::path& folder, std::string_view readImageHex,
                            std::string_view stamp, int keep) {
    BackupResult result;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        result.error = Utf8Of(folder) + ": " + ec.message();
        return result;
    }
    fs::path file = folder / (std::string(stamp) + ".DAT");
    for (int sequence = 2; fs::exists(file, ec); ++sequence)
        file = folder / (std::string(stamp) + "-" + std::to_string(sequence) + ".DAT");
    DataFileWrite written = WriteDataFile(file, readImageHex);
    if (!written.ok) {
        result.error = Utf8Of(file) + ": " + written.error;
        return result;
    }
    result.ok = true;
    result.file = file;
    RemoveOldest(folder, keep);
    return result;
}

} // namespace quelro
