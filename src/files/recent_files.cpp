// Reading, writing and updating the list of recent files.
#include "files/recent_files.h"

#include <algorithm>

namespace quelro {

std::vector<std::string> ParseRecentFiles(std::string_view text) {
    std::vector<std::string> names;
    text = text.substr(0, kRecentFilesMaxBytes);
    while (!text.empty() && names.size() < kRecentFiles) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.empty() && std::find(names.begin(), names.end(), line) == names.end())
            names.emplace_back(line);
    }
    return names;
}

std::string RecentFilesText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + "\n";
    return text;
}

void AddRecentFile(std::vector<std::string>& names, const std::string& name) {
    if (name.empty() || name.find('\n') != std::string::npos) return;
    std::erase(names, name);
    names.insert(names.begin(), name);
    if (names.size() > kRecentFiles) names.resize(kRecentFiles);
}

} // namespace quelro
