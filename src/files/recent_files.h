// The list of recent files: the last eight programmings opened or saved,
// newest first, kept as one name a line in the file `recent` beside
// `parameter` in the configuration folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quelro {

inline constexpr std::size_t kRecentFiles = 8;
// More than eight names of any sensible length: a larger file is no list of
// ours and is read no further.
inline constexpr std::size_t kRecentFilesMaxBytes = 64 * 1024;

// The names of the file's text, at most eight; empty lines and a CR before
// the line end are dropped.
std::vector<std::string> ParseRecentFiles(std::string_view text);
std::string RecentFilesText(const std::vector<std::string>& names);

// `name` to the top of the list, once, the list cut to eight.
void AddRecentFile(std::vector<std::string>& names, const std::string& name);

} // namespace quelro
