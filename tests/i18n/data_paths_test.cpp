// Where the programs take their shared data from: beside an installed binary,
// wherever the tree was put, and from the source tree only in a build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "i18n/data_paths.h"
#include "i18n/platform.h"

namespace quelro {
namespace {

namespace fs = std::filesystem;

class DataPathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // ctest runs each case in a process of its own, side by side: the
        // folder is the process's own.
        dir_ = fs::temp_directory_path() / ("quelro-data-paths-" + std::to_string(ProcessId()));
        fs::remove_all(dir_);
        // Both layouts: ../share on Linux, share beside the program on Windows.
        for (const char* folder :
             {"usr/bin/share/quelro/manual", "usr/share/quelro/manual",
              "opt/quelro/bin/share/quelro/manual", "opt/quelro/share/quelro/manual", "bare/bin",
              "build/tests", "build2", "src/docs/manual"})
            fs::create_directories(dir_ / folder);
#ifndef _WIN32
        fs::create_directory_symlink(dir_ / "build", dir_ / "build-link");
#endif
    }
    void TearDown() override {
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(DataPathsTest, InstalledTreesNeverReadTheSources) {
    const DataItem manual{"quelro/manual", "docs/manual"};
    struct Case {
        const char* program; // relative to the scratch folder
        const char* found;   // what FindData returns, "" for nothing
        size_t candidates;
    };
#ifdef _WIN32
    const char* const installed[] = {"usr/bin/share/quelro/manual",
                                     "opt/quelro/bin/share/quelro/manual"};
#else
    const char* const installed[] = {"usr/share/quelro/manual", "opt/quelro/share/quelro/manual"};
#endif
    const Case cases[] = {
        {"usr/bin", installed[0], 1},
        {"opt/quelro/bin", installed[1], 1},
        // Installed without its data: the sources next door are not a fallback.
        {"bare/bin", "", 1},
        {"build", "src/docs/manual", 2},
        {"build/tests", "src/docs/manual", 2},
#ifndef _WIN32
        {"build-link/tests", "src/docs/manual", 2},
#endif
        // A folder whose name merely begins like the build folder's.
        {"build2", "", 1},
    };
    for (const Case& c : cases) {
        const ProgramFolders folders{dir_ / c.program, dir_ / "build", dir_ / "src"};
        const auto candidates = DataCandidates(manual, folders);
        EXPECT_EQ(candidates.size(), c.candidates) << c.program;
        const fs::path expected = *c.found ? (dir_ / c.found).lexically_normal() : fs::path();
        EXPECT_EQ(FindData(manual, folders), expected) << c.program;
    }
}

TEST_F(DataPathsTest, ThisProgramIsFoundFromItsOwnBinary) {
    const ProgramFolders folders = ThisProgram();
    ASSERT_FALSE(folders.program.empty());
#ifdef _WIN32
    EXPECT_TRUE(fs::exists(folders.program / "core_tests.exe"));
#else
    EXPECT_TRUE(fs::exists(folders.program / "core_tests"));
#endif
    // The tests run from the build folder, so the source tree's data is theirs.
    EXPECT_EQ(FindData({"quelro/no-such-item", "data/opencc"}),
              (folders.source / "data/opencc").lexically_normal());
}

} // namespace
} // namespace quelro
