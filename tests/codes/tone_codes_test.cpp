// The tone list and ToneWord conversions.
#include <gtest/gtest.h>

#include "codes/tone_codes.h"

namespace quelro {
namespace {

TEST(ToneList, OrderAndLanguage) {
    EXPECT_EQ(ToneItem(0, 0), "关闭");
    EXPECT_EQ(ToneItem(0, 1), "Off");
    EXPECT_EQ(ToneItem(0, 2), "關閉");
    EXPECT_EQ(ToneItem(1, 1), "67.0");
    EXPECT_EQ(ToneItem(50, 0), "254.1");
    EXPECT_EQ(ToneItem(51, 0), "D023N");
    EXPECT_EQ(ToneItem(155, 0), "D754N");
    EXPECT_EQ(ToneItem(156, 0), "D023I");
    EXPECT_EQ(ToneItem(260, 0), "D754I");
    EXPECT_EQ(ToneIndexOf("D023N"), 51);
    EXPECT_EQ(ToneIndexOf("D754I"), 260);
    EXPECT_EQ(ToneIndexOf("88.5"), 9);
    for (const char* unlisted : {"89.0", "88.50", "D23N", "D023X", "D024N", "DD023N", "Off", ""})
        EXPECT_EQ(ToneIndexOf(unlisted), -1) << unlisted;
    // Every entry of the list finds its own position.
    for (int i = 1; i < kToneListSize; ++i) EXPECT_EQ(ToneIndexOf(ToneItem(i, 1)), i) << i;
}

TEST(ToneWord, EncodesInStorageOrder) {
    const struct {
        const char* text;
        const char* stored;
    } cases[] = {{"D023N", "1328"}, {"D023I", "13A8"}, {"D754N", "EC29"}, {"D754I", "ECA9"},
                 {"67.0", "9E02"},  {"88.5", "7503"},  {"100.0", "E803"}, {"254.1", "ED09"},
                 {"", "FFFF"},      {"Off", "FFFF"}};
    for (const auto& c : cases) EXPECT_EQ(EncodeToneWord(c.text, "Off"), c.stored) << c.text;
    // Only the current language's off text means off.
    EXPECT_EQ(EncodeToneWord("关闭", "关闭"), "FFFF");
}

TEST(ToneWord, DecodesEveryForm) {
    const struct {
        const char* word;
        const char* text;
    } cases[] = {{"2813", "D023N"}, {"A813", "D023I"}, {"29EC", "D754N"}, {"A9EC", "D754I"},
                 {"0375", "88.5"},  {"03E8", "100.0"}, {"09ED", "254.1"}, {"2013", "D23N"},
                 {"0005", ".5"},    {"2FFF", "D777N"}, {"8000", "3276.8"}};
    for (const auto& c : cases) {
        bool off = true;
        EXPECT_EQ(DecodeToneWord(c.word, "Off", off), c.text) << c.word;
        EXPECT_FALSE(off);
    }
    bool off = false;
    EXPECT_EQ(DecodeToneWord("FFFF", "关闭", off), "关闭");
    EXPECT_TRUE(off);
}

TEST(ToneWord, EveryListedToneRoundTrips) {
    for (int i = 1; i < kToneListSize; ++i) {
        const std::string text = ToneItem(i, 1);
        const std::string stored = EncodeToneWord(text, "Off");
        bool off = false;
        EXPECT_EQ(DecodeToneWord(stored.substr(2, 2) + stored.substr(0, 2), "Off", off), text);
    }
}

} // namespace
} // namespace quelro
