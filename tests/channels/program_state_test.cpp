// The channel-table operations and their undo history, band limits, captions and Traditional
// conversion.
#include <gtest/gtest.h>

#include "channels/channel_history.h"
#include "channels/program_state.h"
#include "codes/bands.h"
#include "i18n/captions.h"
#include "i18n/traditional.h"

namespace quelro {
namespace {

ProgramState WithChannels(int languageMode) {
    ProgramState s = ProgramState::StartUp(languageMode);
    for (int row : {1, 5, 16}) {
        s.Cell(row, 1) = "462.56250";
        s.Cell(row, 3) = "462.56250";
        s.Cell(row, 2) = ToneOffText(languageMode);
        s.Cell(row, 4) = "88.5";
        s.Choice(row, 4) = 9;
        for (int col = 5; col <= 8; ++col) {
            s.Choice(row, col) = 1;
            s.Cell(row, col) = ColumnItemText(col, 1, languageMode);
        }
    }
    return s;
}

TEST(ProgramState, StartUpValues) {
    const ProgramState s = ProgramState::StartUp();
    EXPECT_EQ(s.Cell(1, 0), "01");
    EXPECT_EQ(s.Cell(16, 0), "16");
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

TEST(ProgramState, ChoiceIndexIsLinearByColumn) {
    ProgramState s;
    s.Choice(3, 5) = 42;
    EXPECT_EQ(s.ChoiceIndex[(5 - 2) * 16 + 2], 42);
}

TEST(ProgramState, LanguageRedrawRewritesListCellsAndOffTonesOnly) {
    ProgramState s = WithChannels(0);
    s.LanguageMode = 1;
    s.SetGrid1Text();
    EXPECT_EQ(s.Cell(5, 2), "Off");
    EXPECT_EQ(s.Cell(5, 4), "88.5");
    EXPECT_EQ(s.Cell(5, 5), "Hight");
    EXPECT_EQ(s.Cell(5, 8), "Have");
    EXPECT_EQ(s.Cell(2, 5), "");
    s.LanguageMode = 2;
    s.SetGrid1Text();
    EXPECT_EQ(s.Cell(5, 2), "關閉");
    EXPECT_EQ(s.Cell(5, 7), "寬帶");
}

TEST(ProgramState, Clearing) {
    ProgramState s = WithChannels(0);
    s.ClearGrid1();
    for (int row = 1; row <= 16; ++row) {
        EXPECT_TRUE(s.ChannelEmpty(row));
        EXPECT_EQ(s.Cell(row, 0), row < 10 ? "0" + std::to_string(row) : std::to_string(row));
    }
    EXPECT_EQ(s.Choice(5, 5), 1); // New leaves the list positions

    s = WithChannels(0);
    s.Choice(5, 11) = 3;
    s.ClearNO(5);
    EXPECT_TRUE(s.ChannelEmpty(5));
    EXPECT_EQ(s.Choice(5, 5), 0);
    EXPECT_EQ(s.Choice(5, 11), 3);
    EXPECT_FALSE(s.ChannelEmpty(1));
    s.ClearGrid();
    EXPECT_TRUE(s.ChannelEmpty(1));
    EXPECT_EQ(s.Choice(16, 8), 0);
}

TEST(ChannelHistory, UndoAndRedoEveryChangeWithItsBand) {
    ProgramState s = WithChannels(0);
    ChannelHistory history;
    history.Reset(s);
    EXPECT_FALSE(history.Record(s)); // nothing changed
    s.ClearNO(5);
    EXPECT_TRUE(history.Record(s));
    s.ClearGrid(); // a confirmed band change
    s.BandIndex = 5;
    s.SelectBandPosition(5);
    EXPECT_TRUE(history.Record(s));

    // Undone in another language: the list cells follow the language.
    s.LanguageMode = kEnglish;
    ASSERT_TRUE(history.Undo(s));
    EXPECT_EQ(s.BandIndex, 0);
    EXPECT_EQ(s.BandLow, 400);
    EXPECT_TRUE(s.ChannelEmpty(5));
    EXPECT_EQ(s.Cell(1, 5), "Hight");
    ASSERT_TRUE(history.Undo(s));
    EXPECT_EQ(s.Cell(5, 1), "462.56250");
    EXPECT_EQ(s.Choice(5, 4), 9);
    EXPECT_FALSE(history.Undo(s));
    ASSERT_TRUE(history.Redo(s));
    EXPECT_TRUE(s.ChannelEmpty(5));
    // A new change ends what could be redone.
    s.Cell(1, 1) = "462.00000";
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
        s.Cell(1, 1) = std::to_string(step);
        history.Record(s);
    }
    int undone = 0;
    while (history.Undo(s)) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(s.Cell(1, 1), "50");
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
    EXPECT_EQ(MainSelectorItemText(MainSelector::Combo3, 39, 0), "600 秒");
    EXPECT_EQ(MainSelectorItemText(MainSelector::Combo4, 0, 1), "Off");
    EXPECT_EQ(MainSelectorItemText(MainSelector::Combo9, 3, 1), "3 Group");
    EXPECT_EQ(Localize(PortInUseMessage(7).text, 1),
              "Serial port 7 has been other programs use, please choose other serial or turn off "
              "its program.");
}

} // namespace
} // namespace quelro
