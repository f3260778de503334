// Hex, bit and BCD conversions, the raster snap and the float remainder.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "codes/conversions.h"

namespace quelro {
namespace {

TEST(HexToBits, NibblesMostSignificantFirst) {
    const struct {
        const char* hex;
        const char* bits;
    } cases[] = {{"", ""},           {"C9", "11001001"}, {"FF", "11111111"},
                 {"x1", "00000001"}, {"a", "1010"},      {"0", "0000"}};
    for (const auto& c : cases) EXPECT_EQ(HexToBits(c.hex), c.bits) << c.hex;
}

TEST(BitsToHex, LengthensTheCallersText) {
    const struct {
        const char* in;
        const char* lengthened;
        const char* hex;
    } cases[] = {{"", "", ""},
                 {"1", "0001", "1"},
                 {"11111", "00011111", "1F"},
                 {"100000010011", "100000010011", "813"},
                 {"11111100", "11111100", "FC"},
                 {"1x11", "1x11", "B"}};
    for (const auto& c : cases) {
        std::string bits = c.in;
        EXPECT_EQ(BitsToHex(bits), c.hex) << c.in;
        EXPECT_EQ(bits, c.lengthened) << c.in;
    }
}

TEST(HexByteAndWord, PadButNeverCut) {
    EXPECT_EQ(HexByte(0), "00");
    EXPECT_EQ(HexByte(5), "05");
    EXPECT_EQ(HexByte(255), "FF");
    EXPECT_EQ(HexByte(885), "375");
    EXPECT_EQ(HexByte(4095), "FFF");
    EXPECT_EQ(HexWord(0), "0000");
    EXPECT_EQ(HexWord(300), "012C");
    EXPECT_EQ(HexWord(0x12345), "12345");
}

TEST(BcdFrequency, BothDirections) {
    EXPECT_EQ(BcdTextToFreq("50622546"), "462.56250");
    EXPECT_EQ(BcdTextToFreq("00005014"), "145.00000");
    EXPECT_EQ(BcdTextToFreq("FFFFFFFF"), "FFF.FFFFF");
    EXPECT_EQ(FreqToBcdText("462.56250"), "50622546");
    EXPECT_EQ(FreqToBcdText("145.00000"), "00005014");
    EXPECT_EQ(FreqToBcdText("173.99500"), "00953917");
}

TEST(SnapToRaster, LowersToTheNearerRasterBelow) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"462.56300", 462.5625}, {"462.56310", 462.5625},  {"462.56499", 462.5625},
        {"146.12340", 146.12},   {"155.00750", 155.00625}, {"462.56250", 462.5625},
        {"145.00000", 145.0},    {"462.55000", 462.55},    {"145.00625", 145.00625},
        {"173.99990", 173.995},  {"136.00000", 136.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(SnapToRaster(c.text), c.expected) << c.text;
}

TEST(FloatRemainder, WholeQuotientsAndRepeatedSubtraction) {
    EXPECT_DOUBLE_EQ(FloatRemainder(12.5, 25), 0);
    EXPECT_DOUBLE_EQ(FloatRemainder(12.5, 30), 5);
    EXPECT_DOUBLE_EQ(FloatRemainder(12.5, 10), 10);
    EXPECT_DOUBLE_EQ(FloatRemainder(0.00625, 462.5625), 0);
    EXPECT_NEAR(FloatRemainder(0.00625, 462.563), 0.0005, 1e-9);
    EXPECT_NEAR(FloatRemainder(0.005, 462.563), 0.003, 1e-9);
}

// Every double, extreme or random, ends both helpers; where the result has a
// meaning it lies where it must.
TEST(FloatRemainder, EndsForEveryDouble) {
    using Limits = std::numeric_limits<double>;
    std::vector<double> values{0.0,
                               -0.0,
                               Limits::denorm_min(),
                               Limits::min(),
                               Limits::max(),
                               -Limits::max(),
                               Limits::infinity(),
                               -Limits::infinity(),
                               Limits::quiet_NaN(),
                               0x1p52,
                               0x1p53,
                               0x1p53 + 2,
                               1e14 + 1,
                               1e15,
                               1e300,
                               0.005,
                               0.00625,
                               12.5,
                               -1.0,
                               462.5625};
    std::mt19937_64 random(8);
    for (int i = 0; i < 3000; ++i) values.push_back(std::bit_cast<double>(random()));
    for (int i = 0; i < 3000; ++i)
        values.push_back(std::uniform_real_distribution<double>(0, 1e18)(random));
    for (double divisor : {0.005, 0.00625, 12.5, 0.0, -1.0, Limits::denorm_min(), Limits::max(),
                           Limits::infinity(), Limits::quiet_NaN()}) {
        for (double dividend : values) {
            const double r = FloatRemainder(divisor, dividend);
            const bool meaningful = std::isfinite(dividend) && std::isfinite(divisor) &&
                                    divisor > 0 && dividend >= divisor;
            if (meaningful) {
                EXPECT_TRUE(r > -divisor && r < divisor) << divisor << " " << dividend << " " << r;
            }
        }
    }
}

TEST(SnapToRaster, EndsForEveryText) {
    std::mt19937_64 random(8);
    std::vector<std::string> texts{"",
                                   "1",
                                   ".",
                                   "inf",
                                   "nan",
                                   "-1.5",
                                   "1e308",
                                   "abc.defgh",
                                   "99999999999999999999.99999",
                                   std::string(400, '9')};
    for (int i = 0; i < 3000; ++i) texts.push_back(FormatFixed(std::bit_cast<double>(random()), 5));
    for (const std::string& text : texts) SnapToRaster(text);
    // Five-decimal frequencies only ever come down, by less than 6.25 kHz.
    for (int i = 0; i < 3000; ++i) {
        const std::string text =
            FormatFixed(std::uniform_real_distribution<double>(0, 1000)(random), 5);
        const double snapped = SnapToRaster(text);
        EXPECT_TRUE(snapped <= Val(text) && snapped > Val(text) - 0.00625) << text;
    }
}

TEST(Numbers, ParseValAndFormat) {
    EXPECT_EQ(ParseNumber("145.5"), 145.5);
    EXPECT_EQ(ParseNumber(" 136 "), 136);
    EXPECT_FALSE(ParseNumber("1.2.3"));
    EXPECT_FALSE(ParseNumber(""));
    EXPECT_FALSE(ParseNumber("."));
    EXPECT_FALSE(ParseNumber("12abc"));
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("1.5.3"), 1.5);
    EXPECT_EQ(FormatFixed(145.5, 5), "145.50000");
    EXPECT_EQ(FormatFixed(462.5630 - 0.0005, 5), "462.56250");
    EXPECT_EQ(FormatFixed(100, 1), "100.0");
    EXPECT_EQ(FormatFixed(88.45, 1), "88.5");
}

} // namespace
} // namespace quelro
