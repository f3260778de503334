// The memory image codec against hand-checked byte vectors.
#include <gtest/gtest.h>

#include <random>

#include "image/memory_image.h"
#include "support/channel_texts.h"
#include "support/test_images.h"

namespace quelro {
namespace {

using test::ChannelAt;
using test::ChannelOf;
using test::Choice;
using test::FreshImage;
using test::Patch;
using test::Repeat;
using test::Shown;

TEST(EncodeImage, FreshStateIsByteExact) {
    const std::string image = EncodeImage(ProgramState::StartUp());
    ASSERT_EQ(image.size(), 1696u);
    EXPECT_EQ(image.substr(0, 32), "FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF");
    EXPECT_EQ(image, FreshImage());
}

ProgramState WithChannel(int row, const char* rx, const char* tx, const char* rxTone,
                         const char* txTone, int power, int busy, int wide, int scan) {
    ProgramState s = ProgramState::StartUp();
    s.Channel(row) = ChannelOf(rx, tx, rxTone, txTone, power, busy, wide, scan);
    return s;
}

TEST(EncodeImage, ChannelRecords) {
    const struct {
        const char* rx;
        const char* tx;
        const char* rxTone;
        const char* txTone;
        int power, busy, wide, scan;
        const char* record;
        const char* bitmap;
    } cases[] = {
        {"462.56250", "462.56250", "Off", "Off", 1, 0, 1, 1, "5062254650622546FFFFFFFFF0F0FCFF",
         "01"},
        {"145.00000", "", "D023N", "88.5", 0, 1, 0, 0, "00005014FFFFFFFF13287503F8C0FCFF", "00"},
        {"145.00000", "145.00000", "D754I", "100.0", 1, 1, 0, 1, "0000501400005014ECA9E803F8E0FCFF",
         "01"},
    };
    for (const auto& c : cases) {
        const auto s =
            WithChannel(1, c.rx, c.tx, c.rxTone, c.txTone, c.power, c.busy, c.wide, c.scan);
        const std::string image = EncodeImage(s);
        EXPECT_EQ(image.substr(0, 32), c.record) << c.rx;
        EXPECT_EQ(image.substr(0x16E * 2, 2), c.bitmap) << c.rx;
    }
    // Channel 9 lives in bit 0 of the second bitmap, channel 16 in bit 7.
    auto s = WithChannel(9, "462.56250", "462.56250", "Off", "Off", 1, 1, 1, 1);
    s.Channel(16) = ChannelAt("462.56250");
    EXPECT_EQ(EncodeImage(s).substr(0x16E * 2, 4), "0081");
}

TEST(EncodeImage, SettingFields) {
    ProgramState s = ProgramState::StartUp();
    s.Functions.Value[kFirstDigitDelay] = 250;
    s.Functions.Value[kGroupCallCode] = 6;
    s.Functions.Text[kScanRxResumeDelay] = "300";
    s.Functions.Text[kScanTxResumeDelay] = "abc";
    s.Functions.Text[kDuplicate] = "0";
    s.Functions.Text[kRetraceTimeA] = "0";
    s.Functions.Text[kRetraceTimeB] = "91";
    s.SetAutoDialMemory(0, "1020");
    s.SetIdCode("A0");
    s.MainSelectors[kTxTimeout] = 0;
    s.SelectBandPosition(6);
    s.SetEmbeddedInfo(1, "0K");
    const std::string image = EncodeImage(s);
    auto at = [&](int offset, int bytes) { return image.substr(offset * 2, bytes * 2); };
    EXPECT_EQ(at(0x102, 1), "19");
    EXPECT_EQ(at(0x106, 1), "36");
    EXPECT_EQ(at(0x155, 4), "2C010000");
    EXPECT_EQ(at(0x12E, 1), "FE");
    EXPECT_EQ(at(0x152, 2), "FF5B");
    EXPECT_EQ(at(0x1F0, 16), "313A323A" + Repeat("FF", 12));
    EXPECT_EQ(at(0x110, 10), "4130" + Repeat("FF", 8));
    EXPECT_EQ(at(0x120, 1), "01");
    EXPECT_EQ(at(0x1AD, 1), "73");
    EXPECT_EQ(at(0x33C, 1), "73");
    EXPECT_EQ(at(0x310, 2), "304B");
}

TEST(EncodeImage, ArbitraryStatesAlwaysGiveAFullImage) {
    std::mt19937 random(7);
    auto text = [&](std::size_t maxLength) {
        std::string t;
        const std::size_t n = random() % (maxLength + 1);
        for (std::size_t i = 0; i < n; ++i) t += static_cast<char>(random() % 256);
        return t;
    };
    auto number = [&] { return static_cast<int>(random() % 200000) - 100000; };
    for (int round = 0; round < 300; ++round) {
        ProgramState s = ProgramState::StartUp();
        for (auto& channel : s.Channels) {
            if (random() % 4 == 0) continue;
            ChannelRecord c{static_cast<Frequency>(random()), static_cast<Frequency>(random()),
                            static_cast<std::uint16_t>(random()),
                            static_cast<std::uint16_t>(random())};
            for (int col = kColPower; col <= kColScan; ++col)
                SetListItem(c, col, static_cast<int>(random() % 2));
            channel = c;
        }
        for (auto& t : s.Functions.Text) t = text(40);
        for (auto& v : s.Functions.Value) v = number();
        for (auto& m : s.Functions.AutoDialMemory) m = text(40);
        for (auto& t : s.TestFrequencyTable) t = text(12);
        for (auto& e : s.EmbeddedInfo) e = text(50);
        for (auto& p : s.MainSelectors) p = number();
        s.SideKeyFunction = {number(), number()};
        s.TxPowerHigh = number();
        s.TxPowerLow = number();
        s.BandSelection = number();
        s.BandIndex = number();
        const std::string image = EncodeImage(s);
        ASSERT_EQ(image.size(), 1696u);
        ASSERT_EQ(image.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    }
}

// Sets one byte of an image text.
void Poke(std::string& image, int offset, std::string_view hex) {
    image.replace(static_cast<std::size_t>(offset) * 2, hex.size(), hex);
}

TEST(DecodeImage, ChannelsAndTones) {
    std::string image = FreshImage();
    Poke(image, 0x00, "5062254650622546FFFF1328F8E0FCFF"); // busy on, narrow, high
    Poke(image, 0x10, "00005014FFFFFFFF7503FFFFF0C0FCFF");
    Poke(image, 0x16E, "02");
    ProgramState s = ProgramState::StartUp();
    ASSERT_TRUE(DecodeImage(s, image));
    const std::array<std::string, 9> row1{"01",    "462.56250", "Off",    "462.56250", "D023N",
                                          "Hight", "Carrow",    "Narrow", "No"};
    const std::array<std::string, 9> row2{"02",  "145.00000", "88.5",   "",    "Off",
                                          "Low", "Off",       "Narrow", "Have"};
    for (int col = 0; col < 9; ++col) {
        EXPECT_EQ(Shown(s, 1, col, kEnglish), row1[col]) << col;
        EXPECT_EQ(Shown(s, 2, col, kEnglish), row2[col]) << col;
    }
    EXPECT_EQ(Choice(s, 1, 2), 0);  // an off tone sets its entry
    EXPECT_EQ(Choice(s, 1, 4), 51); // so does a listed tone
    EXPECT_EQ(Choice(s, 2, 2), 9);
    EXPECT_EQ(Choice(s, 1, 5), 1);
    EXPECT_EQ(Choice(s, 2, 8), 1);
    for (int col = 1; col <= 8; ++col) EXPECT_EQ(Shown(s, 3, col), "");
}

TEST(DecodeImage, OutOfRangeLeavesSettings) {
    std::string image = FreshImage();
    Poke(image, 0x120, "00"); // no time-out selection
    Poke(image, 0x151, "10"); // priority channel out of range
    Poke(image, 0x152, "FF"); // an "Empty" retrace time is Empty again
    Poke(image, 0x110, Repeat("FF", 10));
    Poke(image, 0x1AD, "00");   // unknown band
    Poke(image, 0x102, "09");   // first digit delay below 100 ms
    Poke(image, 0x106, "41");   // not a digit
    Poke(image, 0x10D, "0C");   // side key out of range
    Poke(image, 0x155, "2D01"); // 301: out of range
    ProgramState s = ProgramState::StartUp();
    s.Functions.Text[kPriorityChannel] = "4";
    s.Functions.Text[kRetraceTimeA] = "7";
    s.Functions.Value[kFirstDigitDelay] = 500;
    s.Functions.Value[kGroupCallCode] = 3;
    s.Functions.Text[kScanRxResumeDelay] = "12";
    s.SelectBandPosition(5);
    s.BandIndex = 5;
    s.ServiceMode = 1;
    ASSERT_TRUE(DecodeImage(s, image));
    EXPECT_EQ(s.MainSelectors[kTxTimeout], -1);
    EXPECT_EQ(s.Functions.Text[kPriorityChannel], "4");
    EXPECT_EQ(s.Functions.Text[kRetraceTimeA], "0");
    EXPECT_EQ(EncodeImage(s).substr(2 * 0x152, 2), "FF");
    EXPECT_EQ(s.Functions.Text[kIdCode], std::string(10, '\xFF'));
    EXPECT_EQ(s.BandIndex, 5);
    EXPECT_EQ(s.Functions.Value[kFirstDigitDelay], 500);
    EXPECT_EQ(s.Functions.Value[kGroupCallCode], 3);
    EXPECT_EQ(s.SideKeyFunction[0], 10);
    EXPECT_EQ(s.Functions.Text[kScanRxResumeDelay], "12");
    EXPECT_EQ(s.ServiceMode, 0);

    Poke(image, 0x1AD, "73");
    Poke(image, 0x106, "FF");
    Poke(image, 0x120, "01");
    ASSERT_TRUE(DecodeImage(s, image));
    EXPECT_EQ(s.BandIndex, 6);
    EXPECT_EQ(s.BandSelection, 6);
    EXPECT_EQ(s.BandLow, 600);
    EXPECT_EQ(s.Functions.Value[kGroupCallCode], 0);
    EXPECT_EQ(s.MainSelectors[kTxTimeout], 0);
}

TEST(DecodeImage, ReportsStepsInOrderAndRefusesShortText) {
    ProgramState s = ProgramState::StartUp();
    const auto steps = DecodeImage(s, FreshImage());
    ASSERT_TRUE(steps);
    ASSERT_EQ(steps->size(), 19u + 1 + 16 + 2);
    EXPECT_EQ(steps->front(), DecodeStep{DecodeStep::SideKeyPF1});
    EXPECT_EQ((*steps)[19], (DecodeStep{DecodeStep::Band, 0}));
    EXPECT_EQ((*steps)[20], (DecodeStep{DecodeStep::TestFrequencyRow, 1}));
    EXPECT_EQ(steps->back(), DecodeStep{DecodeStep::EmbeddedInfoLine2});

    ProgramState before = ProgramState::StartUp();
    before.Channel(1) = ChannelAt("462.56250");
    ProgramState after = before;
    EXPECT_FALSE(DecodeImage(after, FreshImage().substr(0, 1631)));
    EXPECT_EQ(Shown(after, 1, 1), "462.56250");
    EXPECT_TRUE(DecodeImage(after, FreshImage().substr(0, 1632)));
}

TEST(DecodeImage, RoundTripKeepsEverythingButTheIdCodeFill) {
    ProgramState s = ProgramState::StartUp();
    s.Channel(3) = ChannelOf("462.56250", "467.56250", "D023N", "", 1, 0, 0, 0);
    s.Functions.Text[kRetraceTimeB] = "0"; // "Empty" comes back over another value
    s.SetIdCode("12");                     // comes back filled up to 10
    s.SetPttStartCode("*#A");
    s.SetEmbeddedInfo(0, "Club \xE9t\xE9");
    s.TestFrequencyTable[0] = "462.56250";
    s.TestFrequencyTable[16] = "462.56250";
    s.SetTxPowerHigh(200);
    s.SideKeyFunction = {3, 11};
    s.Functions.Value[kFirstDigitDelay] = 250;
    s.Functions.Text[kScanRxResumeDelay] = "25"; // an empty delay would come back as "0"
    s.Functions.Text[kScanTxResumeDelay] = "300";

    ProgramState back = ProgramState::StartUp();
    back.Functions.Text[kRetraceTimeB] = "9";
    ASSERT_TRUE(DecodeImage(back, EncodeImage(s)));
    EXPECT_EQ(back.Channels, s.Channels);
    EXPECT_EQ(back.Functions.Text[kRetraceTimeB], "0");
    EXPECT_EQ(back.Functions.Text[kIdCode], "12" + std::string(8, '\xFF'));
    EXPECT_EQ(back.Functions.Value[kFirstDigitDelay], 250);
    back.Functions.Text[kIdCode] = s.Functions.Text[kIdCode];
    EXPECT_EQ(back.Functions.Text, s.Functions.Text);
    EXPECT_EQ(back.Functions.AutoDialMemory, s.Functions.AutoDialMemory);
    EXPECT_EQ(back.EmbeddedInfo, s.EmbeddedInfo);
    EXPECT_EQ(back.TestFrequencyTable, s.TestFrequencyTable);
    EXPECT_EQ(back.SideKeyFunction, s.SideKeyFunction);
    EXPECT_EQ(back.TxPowerHigh, 200);
    EXPECT_EQ(back.MainSelectors, s.MainSelectors);
}

// Bytes one past the values each ranged field keeps (and one below the first
// digit delay's), which decoding must leave.
constexpr test::RoundTripCase kBeyondRange[] = {
    {"dtmf_rate", 0x100, "04"},
    {"first_digit_time", 0x101, "04"},
    {"first_digit_delay", 0x102, "65"},
    {"first_digit_delay_low", 0x102, "09"},
    {"star_hash_tone", 0x103, "04"},
    {"d_key_setting", 0x104, "11"},
    {"dtmf_side_tone", 0x105, "02"},
    {"group_call_code", 0x106, "3A"},
    {"auto_reset_timer", 0x107, "10"},
    {"pf1", 0x10D, "0C"},
    {"pf2", 0x10E, "0C"},
    {"voice_prompt", 0x11F, "03"},
    {"tx_timeout", 0x120, "29"},
    {"timeout_warning", 0x121, "0B"},
    {"ptt_id_mode", 0x122, "03"},
    {"squelch", 0x124, "0A"},
    {"battery_save", 0x125, "02"},
    {"beep", 0x126, "02"},
    {"cancel_operation", 0x127, "02"},
    {"vox_rx_inhibit", 0x128, "02"},
    {"vox_enable", 0x129, "02"},
    {"vox_gain", 0x12A, "0B"},
    {"vox_delay", 0x12B, "06"},
    {"vox_tone", 0x12C, "02"},
    {"priority_mode", 0x150, "03"},
    {"priority_channel", 0x151, "10"},
    {"retrace_time_a", 0x152, "5C"},
    {"retrace_time_b", 0x153, "5C"},
    {"return_channel", 0x154, "04"},
    {"scan_rx_resume_delay", 0x155, "2D01"},
    {"scan_tx_resume_delay", 0x157, "2D01"},
};

// The field table against the hand-written images: fill holds the bytes the
// start-up image spells out, each field vector starts on a field and comes
// back whole, and each ranged field keeps no value beyond its hand-checked
// bound.
TEST(ImageFields, AgreeWithTheHandWrittenImages) {
    const std::string fresh = FreshImage();
    std::vector<std::size_t> ranged;
    for (const ImageField& field : ImageFields()) {
        const std::size_t at = 2u * field.offset;
        if (field.coding == Coding::Fill) {
            EXPECT_EQ(fresh.substr(at, 2u * field.width),
                      Repeat(field.fill, field.width * 2 / static_cast<int>(field.fill.size())))
                << std::hex << field.offset;
        } else if (field.naming == Naming::MainList) {
            EXPECT_EQ(field.high + 1, MainSelectorItemCount(static_cast<MainSetting>(field.index)));
        }
        const bool wholeByte = field.coding == Coding::LowBit || field.store == Store::Power;
        if (field.coding >= Coding::Position && field.coding <= Coding::Word && !wholeByte)
            ranged.push_back(field.offset);
    }
    for (const test::RoundTripCase& v : test::kFieldVectors) {
        const ImageField& field = FieldAt(v.offset);
        EXPECT_EQ((v.offset - field.offset) % field.width, 0u) << v.name;
        const std::string image = Patch(fresh, v.offset, v.hex);
        ProgramState s = ProgramState::StartUp();
        ASSERT_TRUE(DecodeImage(s, image));
        EXPECT_EQ(BytesNotKept(image, s), std::vector<ByteNotKept>{}) << v.name;
    }
    std::vector<std::size_t> checked;
    for (const test::RoundTripCase& v : kBeyondRange) {
        const std::string image = Patch(fresh, v.offset, v.hex);
        ProgramState s = ProgramState::StartUp();
        ASSERT_TRUE(DecodeImage(s, image));
        const std::vector<ByteNotKept> lost = BytesNotKept(image, s);
        ASSERT_FALSE(lost.empty()) << v.name;
        EXPECT_EQ(lost.front().offset, v.offset) << v.name;
        EXPECT_EQ(lost.front().kind, ByteNotKept::Value) << v.name;
        if (checked.empty() || checked.back() != v.offset) checked.push_back(v.offset);
    }
    EXPECT_EQ(checked, ranged);
}

} // namespace
} // namespace quelro
