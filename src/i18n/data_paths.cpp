// Locating the program's shared data beside the binary or, in a build folder,
// in the source tree.
#include "i18n/data_paths.h"

#include <algorithm>
#include <system_error>

#include "i18n/platform.h"

namespace quelro {
namespace {

namespace fs = std::filesystem;

// An installed program's data: in ../share beside bin/ on Linux, in the
// folder share of the program's own folder on Windows (the installer keeps
// it all there).
#ifdef _WIN32
constexpr const char* kShareFromProgram = "share";
#else
constexpr const char* kShareFromProgram = "../share";
#endif

// True when `inner` is `outer` or lies below it. Both are compared in their
// resolved forms, so symbolic links to the build folder count as inside.
bool IsInside(const fs::path& inner, const fs::path& outer) {
    if (inner.empty() || outer.empty()) return false;
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(inner, ec);
    if (ec) return false;
    const fs::path b = fs::weakly_canonical(outer, ec);
    if (ec) return false;
    // weakly_canonical keeps a trailing separator as an empty last element.
    const auto end = [](const fs::path& p) {
        auto it = p.end();
        if (it != p.begin() && std::prev(it)->empty()) --it;
        return it;
    };
    const auto bEnd = end(b);
    const auto [bStop, aStop] = std::mismatch(b.begin(), bEnd, a.begin(), end(a));
    (void)aStop;
    return bStop == bEnd;
}

} // namespace

ProgramFolders ThisProgram() {
    ProgramFolders folders;
    folders.program = ProgramFile().parent_path();
    folders.build = QUELRO_BUILD_DIR;
    folders.source = QUELRO_SOURCE_DIR;
    return folders;
}

std::vector<fs::path> DataCandidates(const DataItem& item, const ProgramFolders& folders) {
    std::vector<fs::path> candidates;
    if (!folders.program.empty())
        candidates.push_back(
            (folders.program / kShareFromProgram / item.installed).lexically_normal());
    if (!folders.source.empty() && IsInside(folders.program, folders.build))
        candidates.push_back((folders.source / item.source).lexically_normal());
    return candidates;
}

fs::path FindData(const DataItem& item, const ProgramFolders& folders) {
    std::error_code ec;
    for (const fs::path& candidate : DataCandidates(item, folders))
        if (fs::exists(candidate, ec)) return candidate;
    return {};
}

} // namespace quelro
