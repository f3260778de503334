// The channel-table operations and their undo history, band limits, captions and Traditional
// conversion.
#include <gtest/gtest.h>

#include "channels/channel_history.h"
#include "channels/program_state.h"
#include "codes/bands.h"
#include "i18n/captions.h"
#include "i18n/traditional.h"

#include "support/channel_texts.h"

namespace quelro {
namespace {

using test::ChannelOf;
using test::Shown;

ProgramState WithChannels() {
    ProgramState s = ProgramState::StartUp();
    for (int row : {1, 5, 16})
        s.Channel(row) = ChannelOf("462.56250", "462.56250", "", "88.5", 1, 1, 1, 1);
    return s;
}

TEST(ProgramState, StartUpValues) {
    const ProgramState s = ProgramState::StartUp();
    EXPECT_EQ(Shown(s, 1, 0), "01");
    EXPECT_EQ(Shown(s, 16, 0), "16");
    EXPECT_EQ(s.Functions.Text[kPriorityMode], "0");
    EXPECT_EQ(s.Functions.Text[kPttEndCode], "2");
    EXPECT_EQ(s.Functions.Text[kIdCode], "");
    EXPECT_EQ(s.Functions.Text[kScanRxResumeDelay], "");
    EXPECT_EQ(s.Functions.Text[kVoxRxInhibit], "1");
    EXPECT_EQ(s.Functions.AutoDialMemory[7], "8");
    EXPECT_EQ(s.SideKeyFunction[0], 10);
    EXPECT_EQ(s.BandLow, 400);
    EXPECT_EQ(s.BandHigh, 500);
    EXPECT_EQ(s.MainSelectors, (std::array<int, 6>{1, 1, 1, 1, 1, 1}));
}

TEST(ProgramState, CellsAreDrawnInTheLanguageAskedFor) {
    const ProgramState s = WithChannels();
    const struct {
        int language;
        std::array<const char*, 8> cells;
    } cases[] = {
        {kSimplified, {"462.56250", "关闭", "462.56250", "88.5", "高", "载波", "宽带", "有"}},
        {kEnglish, {"462.56250", "Off", "462.56250", "88.5", "Hight", "Carrow", "Wide", "Have"}},
        {kTraditional, {"462.56250", "關閉", "462.56250", "88.5", "高", "載波", "寬帶", "有"}},
    };
    for (const auto& c : cases) {
        for (int col = 1; col <= 8; ++col) {
            EXPECT_EQ(s.CellText(5, col, c.language), c.cells[col - 1]) << c.language << col;
            EXPECT_EQ(s.CellText(2, col, c.language), "") << c.language << col;
        }
        EXPECT_EQ(s.CellText(2, kColNumber, c.language), "02");
    }
}

TEST(ChannelHistory, UndoAndRedoEveryChangeWithItsBand) {
    ProgramState s = WithChannels();
    ChannelHistory history;
    history.Reset(s);
    EXPECT_FALSE(history.Record(s)); // nothing changed
    s.Channel(5).reset();
    EXPECT_TRUE(history.Record(s));
    s.Channels = {}; // a confirmed band change
    s.BandIndex = 5;
    s.SelectBandPosition(5);
    EXPECT_TRUE(history.Record(s));

    ASSERT_TRUE(history.Undo(s));
    EXPECT_EQ(s.BandIndex, 0);
    EXPECT_EQ(s.BandLow, 400);
    EXPECT_TRUE(s.ChannelEmpty(5));
    EXPECT_EQ(s.Channel(1), WithChannels().Channel(1));
    ASSERT_TRUE(history.Undo(s));
    EXPECT_EQ(s.Channels, WithChannels().Channels);
    EXPECT_FALSE(history.Undo(s));
    ASSERT_TRUE(history.Redo(s));
    EXPECT_TRUE(s.ChannelEmpty(5));
    // A new change ends what could be redone.
    s.Channel(1)->rx = FrequencyOfText("462.00000");
    EXPECT_TRUE(history.Record(s));
    EXPECT_FALSE(history.Redo(s));
    history.Reset(s);
    EXPECT_FALSE(history.CanUndo());
}

TEST(ChannelHistory, KeepsTheLastHundredSteps) {
    ProgramState s = ProgramState::StartUp();
    ChannelHistory history;
    history.Reset(s);
    for (int step = 1; step <= 150; ++step) {
        s.Channel(1) = ChannelOf(std::to_string(400 + step) + ".00000", "", "", "", 0, 1, 1, 1);
        history.Record(s);
    }
    int undone = 0;
    while (history.Undo(s)) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(Shown(s, 1, 1), "450.00000");
}

TEST(ProgramState, SettersKeepFieldLengths) {
    ProgramState s;
    s.SetIdCode("12345678901");
    s.SetEmbeddedInfo(0, std::string(40, 'x'));
    s.SetTxPowerHigh(300);
    s.SetTxPowerLow(-4);
    EXPECT_EQ(s.Functions.Text[kIdCode], "1234567890");
    EXPECT_EQ(s.EmbeddedInfo[0].size(), 32u);
    EXPECT_EQ(s.TxPowerHigh, 255);
    EXPECT_EQ(s.TxPowerLow, 0);
}

TEST(ProgramState, SingleByteTexts) {
    EXPECT_EQ(BytesFromUtf8("Caf\xC3\xA9 \xE4\xB8\xAD!"), "Caf\xE9 !");
    EXPECT_EQ(Utf8FromBytes("\xFF"
                            "A"),
              "\xC3\xBF"
              "A");
    EXPECT_TRUE(FitsSingleByte("\xC3\xBF"));
    EXPECT_FALSE(FitsSingleByte("中"));
}

TEST(Bands, LimitsAndCodes) {
    EXPECT_EQ(LimitsFromText("136-174MHz").low, 136);
    EXPECT_EQ(LimitsFromText("136-174MHz").high, 174);
    EXPECT_EQ(BandPositionFromCode(0x73), 6);
    EXPECT_EQ(BandPositionFromCode(0x00), std::nullopt);
    EXPECT_EQ(RadioBandFromIdentityByte(0x21), 0);
    EXPECT_EQ(RadioBandFromIdentityByte(0x01), 5);
    EXPECT_EQ(RadioBandFromIdentityByte(0x33), std::nullopt);
}

TEST(Traditional, KeepsLengthAndUsesBig5Forms) {
    ASSERT_TRUE(TraditionalAvailable());
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"为", "為"},
                 {"设定", "設定"},
                 {"关闭", "關閉"},
                 {"改变频段将清除频道列表，确定吗？", "改變頻段將清除頻道列表，確定嗎？"},
                 {"Off 123", "Off 123"},
                 {"接收时禁止VOX", "接收時禁止VOX"},
                 {"关闭", "關閉"}, // again: the remembered conversion
                 {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(ToTraditional(c.in), c.out) << c.in;
}

TEST(Captions, LanguagesAndMessages) {
    EXPECT_EQ(Localize(msg::kNewWarning.title, 1), "Warnning");
    EXPECT_EQ(Localize(msg::kNewWarning.title, 2), "警告");
    EXPECT_EQ(CaptionFor(kToneOff, 2), std::nullopt);
    EXPECT_EQ(MainSelectorItemText(MainSetting::kTxTimeout, 39, 0), "600 秒");
    EXPECT_EQ(MainSelectorItemText(MainSetting::kTimeoutWarn, 0, 1), "Off");
    EXPECT_EQ(MainSelectorItemText(MainSetting::kSquelch, 3, 1), "3 Group");
    EXPECT_EQ(Localize(PortInUseMessage(7).text, 1),
              "Serial port 7 has been other programs use, please choose other serial or turn off "
              "its program.");
}

} // namespace
} // namespace quelro
