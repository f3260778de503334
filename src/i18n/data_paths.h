// Finding the program's shared data (the Traditional-conversion configuration,
// the manual, the icon). An installed program finds them beside its binary, in
// ../share (Windows: share in the program's folder), wherever the tree was
// installed or moved (/usr, /opt, a DESTDIR, C:\Program Files).
// Only a program run from its own build folder falls back to the source tree,
// so an installed copy never depends on the sources being around.
#pragma once

#include <filesystem>
#include <vector>

namespace quelro {

// Where one data item lives: `installed` relative to the install tree's share
// folder ("quelro/manual"), `source` relative to the source tree ("docs/manual").
struct DataItem {
    std::filesystem::path installed;
    std::filesystem::path source;
};

// The folders a program may take its data from.
struct ProgramFolders {
    std::filesystem::path program; // the folder of the running binary
    std::filesystem::path build;   // the build folder it was built in
    std::filesystem::path source;  // the source tree it was built from
};

// The running program's folders.
ProgramFolders ThisProgram();

// The places tried for an item, in order: program/../share/<installed>
// (program/share/<installed> on Windows), then
// source/<source> when the program sits inside its build folder.
std::vector<std::filesystem::path> DataCandidates(const DataItem& item,
                                                  const ProgramFolders& folders);

// The first candidate that exists, or an empty path.
std::filesystem::path FindData(const DataItem& item, const ProgramFolders& folders = ThisProgram());

} // namespace quelro
