// The list of recent files: what is read back, and how a name joins it.
#include "files/recent_files.h"

#include <gtest/gtest.h>

namespace quelro {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFiles, ReadsAtMostEightNamesAndWritesThemBack) {
    const struct {
        std::string text;
        Names names;
    } kCases[] = {
        {"", {}},
        {"/a.DAT\r\n\n/b.DAT", {"/a.DAT", "/b.DAT"}},
        {"/a.DAT\n/a.DAT\n/c d.DAT\n", {"/a.DAT", "/c d.DAT"}},
        {"1\n2\n3\n4\n5\n6\n7\n8\n9\n", {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {std::string(kRecentFilesMaxBytes, 'x') + "\n/late.DAT\n",
         {std::string(kRecentFilesMaxBytes, 'x')}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ParseRecentFiles(c.text), c.names) << c.text.substr(0, 40);
        EXPECT_EQ(ParseRecentFiles(RecentFilesText(c.names)), c.names);
    }
}

TEST(RecentFiles, ANameGoesToTheTopOnce) {
    Names names{"1", "2", "3", "4", "5", "6", "7", "8"};
    AddRecentFile(names, "3");
    EXPECT_EQ(names, (Names{"3", "1", "2", "4", "5", "6", "7", "8"}));
    AddRecentFile(names, "9");
    EXPECT_EQ(names, (Names{"9", "3", "1", "2", "4", "5", "6", "7"}));
    AddRecentFile(names, "bad\nname");
    AddRecentFile(names, "");
    EXPECT_EQ(names.front(), "9");
}

} // namespace
} // namespace quelro
