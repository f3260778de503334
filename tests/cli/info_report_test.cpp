// The info report: the channel rows in the chosen language, aligned under
// their headers, and the settings with their list texts.
#include "cli/info_report.h"

#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "i18n/captions.h"
#include "i18n/traditional.h"
#include "image/memory_image.h"
#include "support/test_images.h"

namespace quelro::cli {
namespace {

using test::FreshImage;
using test::Patch;

// Channel 1: 462.5625, rx D023N, tx 88.5, busy inhibit off, power high, wide,
// scanned. Time-out byte 03 (position 2), retrace A 5B (5.00 S), PF1 4.
std::string Report(int lang) {
    std::string image = Patch(FreshImage(), 0x00, "506225465062254613287503F0F0FCFF");
    image = Patch(Patch(Patch(image, 0x16E, "01"), 0x120, "03"), 0x152, "5B");
    image = Patch(image, 0x10D, "04");
    ProgramState state = ProgramState::StartUp();
    EXPECT_TRUE(DecodeImage(state, image));
    return InfoReport(state, lang);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The line that starts (after blanks) with `start`.
std::string LineStarting(const std::string& text, const std::string& start) {
    for (const std::string& line : Lines(text))
        if (line.find_first_not_of(' ') != std::string::npos &&
            line.compare(line.find_first_not_of(' '), start.size(), start) == 0)
            return line;
    return {};
}

// Display column at which `part` begins in `line`.
std::size_t ColumnOf(const std::string& line, const std::string& part) {
    const std::size_t at = line.find(part);
    return at == std::string::npos ? std::string::npos : DisplayWidth(line.substr(0, at));
}

TEST(InfoReportTest, DisplayWidthCountsWideCharacters) {
    EXPECT_EQ(DisplayWidth("Off"), 3u);
    EXPECT_EQ(DisplayWidth("信道"), 4u);
    EXPECT_EQ(DisplayWidth("宽\\窄带"), 7u);
    EXPECT_EQ(DisplayWidth(""), 0u);
}

struct LanguageCase {
    int lang;
    std::vector<std::string> row1; // cells of channel 1, columns 0..8
    std::string headerRx;
    std::string timeout;
    std::string retrace;
    std::string pf1;
};

class InfoLanguageTest : public testing::TestWithParam<LanguageCase> {};

TEST_P(InfoLanguageTest, ChannelRowAndSettingsInTheLanguage) {
    const LanguageCase& c = GetParam();
    if (c.lang == kTraditional && !TraditionalAvailable()) GTEST_SKIP() << "no OpenCC data";
    const std::string report = Report(c.lang);
    const std::string header = LineStarting(report, Localize(kGridHeaders[0], c.lang));
    const std::string row = LineStarting(report, "01 ");
    ASSERT_FALSE(header.empty()) << report;
    ASSERT_FALSE(row.empty()) << report;
    // Every cell of channel 1 appears, in column order.
    std::size_t from = 0;
    for (const std::string& cell : c.row1) {
        const std::size_t at = row.find(cell, from);
        ASSERT_NE(at, std::string::npos) << cell << " in " << row;
        from = at + cell.size();
    }
    // The receive frequency stands under its header.
    EXPECT_EQ(ColumnOf(row, "462.56250"), ColumnOf(header, c.headerRx));
    // Empty channels show their number only.
    EXPECT_EQ(LineStarting(report, "02"), "  02");
    EXPECT_NE(report.find(c.timeout), std::string::npos) << report;
    EXPECT_NE(report.find(c.retrace), std::string::npos);
    EXPECT_NE(report.find(c.pf1), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Languages, InfoLanguageTest,
                         testing::Values(LanguageCase{kEnglish,
                                                      {"01", "462.56250", "D023N", "462.56250",
                                                       "88.5", "Hight", "Off", "Wide", "Have"},
                                                      "RX frequency",
                                                      "45 S",
                                                      "5.00 S",
                                                      "Surveillance"},
                                         LanguageCase{kSimplified,
                                                      {"01", "462.56250", "D023N", "462.56250",
                                                       "88.5", "高", "关闭", "宽带", "有"},
                                                      "接收频率",
                                                      "45 秒",
                                                      "5.00 S",
                                                      "监听"},
                                         LanguageCase{kTraditional,
                                                      {"01", "462.56250", "D023N", "462.56250",
                                                       "88.5", "高", "關閉", "寬帶", "有"},
                                                      "接收頻率",
                                                      "45 秒",
                                                      "5.00 S",
                                                      "監聽"}));

TEST(InfoReportTest, RadioTextsShowUnprintableBytesEscaped) {
    std::string image = Patch(FreshImage(), 0x110, "4101FFFFFFFFFFFFFFFF");
    ProgramState state = ProgramState::StartUp();
    ASSERT_TRUE(DecodeImage(state, image));
    EXPECT_NE(InfoReport(state, kEnglish).find(R"("A\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF")"),
              std::string::npos);
}

} // namespace
} // namespace quelro::cli
