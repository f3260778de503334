// Edit rules of the channel grid over ProgramState.
#include "channels/cell_edit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "codes/tone_codes.h"
#include "i18n/captions.h"

#include "support/channel_texts.h"

namespace quelro {
namespace {

using test::Choice;
using test::Shown;

ProgramState StateWithBand(int position) {
    ProgramState state = ProgramState::StartUp();
    state.SelectBandPosition(position);
    state.BandIndex = position;
    return state;
}

constexpr int kBand136 = 5; // "136-174MHz"
constexpr int kBand400 = 0; // "400-500MHz"

struct FrequencyCase {
    int band;
    const char* typed;
    FrequencyOutcome outcome;
    const char* cell; // column 1 afterwards
};

// Readable names for the cases (the default prints their bytes).
void PrintTo(const FrequencyCase& c, std::ostream* os) {
    *os << "band" << c.band << " " << c.typed;
}

class FrequencyCommit : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(FrequencyCommit, ChecksBandAndSnapsToRaster) {
    const FrequencyCase& c = GetParam();
    ProgramState state = StateWithBand(c.band);
    EXPECT_EQ(CommitFrequency(state, 4, kColRxFreq, c.typed), c.outcome);
    EXPECT_EQ(Shown(state, 4, kColRxFreq), c.cell);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrequencyCommit,
    ::testing::Values(
        FrequencyCase{kBand136, "136", FrequencyOutcome::NewChannel, "136.00000"},
        // 9990 mod 500 = 490 lies below 9990 mod 625 = 615: 5 kHz raster.
        FrequencyCase{kBand136, "173.9999", FrequencyOutcome::NewChannel, "173.99500"},
        FrequencyCase{kBand136, "174", FrequencyOutcome::OutsideBand, ""},
        FrequencyCase{kBand136, "135.99", FrequencyOutcome::OutsideBand, ""},
        FrequencyCase{kBand136, "146.1234", FrequencyOutcome::NewChannel, "146.12000"},
        FrequencyCase{kBand136, "155.0075", FrequencyOutcome::NewChannel, "155.00625"},
        FrequencyCase{kBand400, "462.563", FrequencyOutcome::NewChannel, "462.56250"},
        FrequencyCase{kBand400, "462.5625", FrequencyOutcome::NewChannel, "462.56250"},
        FrequencyCase{kBand400, "400", FrequencyOutcome::NewChannel, "400.00000"},
        FrequencyCase{kBand400, "500", FrequencyOutcome::OutsideBand, ""},
        FrequencyCase{kBand400, "450.5.1", FrequencyOutcome::Kept, ""},
        FrequencyCase{kBand400, ".", FrequencyOutcome::Kept, ""}));

TEST(FrequencyCommit, NewChannelGetsItsDefaultsInTheCurrentLanguage) {
    for (int language : {kSimplified, kEnglish}) {
        ProgramState state = StateWithBand(kBand136);
        ASSERT_EQ(CommitFrequency(state, 7, kColRxFreq, "145.5"), FrequencyOutcome::NewChannel);
        const bool zh = language == kSimplified;
        EXPECT_EQ(Shown(state, 7, kColRxFreq, language), "145.50000");
        EXPECT_EQ(Shown(state, 7, kColTxFreq, language), "145.50000");
        EXPECT_EQ(Shown(state, 7, kColRxTone, language), zh ? "关闭" : "Off");
        EXPECT_EQ(Shown(state, 7, kColTxTone, language), zh ? "关闭" : "Off");
        EXPECT_EQ(Shown(state, 7, kColPower, language), zh ? "低" : "Low");
        EXPECT_EQ(Shown(state, 7, kColBusyLock, language), zh ? "载波" : "Carrow");
        EXPECT_EQ(Shown(state, 7, kColBandwidth, language), zh ? "宽带" : "Wide");
        EXPECT_EQ(Shown(state, 7, kColScan, language), zh ? "有" : "Have");
        EXPECT_EQ(Choice(state, 7, kColRxTone), 0);
        EXPECT_EQ(Choice(state, 7, kColTxTone), 0);
        EXPECT_EQ(Choice(state, 7, kColPower), 0);
        EXPECT_EQ(Choice(state, 7, kColBusyLock), 1);
        EXPECT_EQ(Choice(state, 7, kColBandwidth), 1);
        EXPECT_EQ(Choice(state, 7, kColScan), 1);
        for (int row : {6, 8}) EXPECT_TRUE(state.ChannelEmpty(row));
    }
}

TEST(FrequencyCommit, ReceiveEditLeavesAnExistingTransmitFrequency) {
    ProgramState state = StateWithBand(kBand136);
    CommitFrequency(state, 2, kColRxFreq, "150");
    ASSERT_EQ(CommitFrequency(state, 2, kColTxFreq, "151.0125"), FrequencyOutcome::Written);
    EXPECT_EQ(CommitFrequency(state, 2, kColRxFreq, "152"), FrequencyOutcome::Written);
    EXPECT_EQ(Shown(state, 2, kColRxFreq), "152.00000");
    EXPECT_EQ(Shown(state, 2, kColTxFreq), "151.01250");
}

TEST(FrequencyCommit, RefusedOrEmptyTextKeepsTheCell) {
    ProgramState state = StateWithBand(kBand136);
    CommitFrequency(state, 3, kColRxFreq, "150");
    EXPECT_EQ(CommitFrequency(state, 3, kColTxFreq, ""), FrequencyOutcome::Kept);
    EXPECT_EQ(CommitFrequency(state, 3, kColTxFreq, "180"), FrequencyOutcome::OutsideBand);
    EXPECT_EQ(Shown(state, 3, kColTxFreq), "150.00000");
}

TEST(FrequencyCommit, ErasingTheReceiveFrequencyDeletesOnlyThatChannel) {
    ProgramState state = StateWithBand(kBand136);
    for (int row : {2, 3, 4}) CommitFrequency(state, row, kColRxFreq, "150");
    PickTone(state, 3, kColRxTone, 51);
    EXPECT_EQ(CommitFrequency(state, 3, kColRxFreq, ""), FrequencyOutcome::Cleared);
    for (int col = 1; col <= 8; ++col) EXPECT_EQ(Shown(state, 3, col), "") << col;
    EXPECT_EQ(Shown(state, 3, kColNumber), "03");
    EXPECT_FALSE(state.ChannelEmpty(2));
    EXPECT_FALSE(state.ChannelEmpty(4));
}

struct ToneCase {
    const char* typed;
    int listPosition;
    const char* cell;
    int choice = 9; // the entry the cell stands for afterwards
};

void PrintTo(const ToneCase& c, std::ostream* os) {
    *os << '"' << c.typed << "\" at " << c.listPosition;
}

class ToneCommit : public ::testing::TestWithParam<ToneCase> {};

TEST_P(ToneCommit, FormatsOrFallsBackToTheLastPick) {
    ProgramState state = StateWithBand(kBand136);
    CommitFrequency(state, 1, kColRxFreq, "150");
    PickTone(state, 1, kColTxTone, 9); // "88.5"
    ASSERT_EQ(Shown(state, 1, kColTxTone), "88.5");
    CommitTone(state, 1, kColTxTone, GetParam().typed, GetParam().listPosition);
    EXPECT_EQ(Shown(state, 1, kColTxTone), GetParam().cell);
    EXPECT_EQ(Choice(state, 1, kColTxTone), GetParam().choice);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToneCommit,
    ::testing::Values(ToneCase{"100", -1, "100.0", 13}, ToneCase{"67", -1, "67.0", 1},
                      ToneCase{"254.1", -1, "254.1", 50},
                      ToneCase{"123.45", -1, "123.5", kToneNotListed}, ToneCase{"66.9", -1, "88.5"},
                      ToneCase{"254.2", -1, "88.5"}, ToneCase{"300", -1, "88.5"},
                      ToneCase{"", -1, "88.5"}, ToneCase{"1..2", -1, "88.5"},
                      // A picked entry or the off text stands.
                      ToneCase{"D023N", 51, "88.5"}, ToneCase{"关闭", 0, "88.5"},
                      ToneCase{"71.9", 3, "71.9", 3}));

TEST(TonePick, StoresTheEntryAndItsPosition) {
    ProgramState state = StateWithBand(kBand136);
    CommitFrequency(state, 5, kColRxFreq, "150");
    PickTone(state, 5, kColRxTone, 51);
    EXPECT_EQ(Shown(state, 5, kColRxTone, kEnglish), "D023N");
    EXPECT_EQ(Choice(state, 5, kColRxTone), 51);
    PickTone(state, 5, kColRxTone, 260);
    EXPECT_EQ(Shown(state, 5, kColRxTone, kEnglish), "D754I");
    PickTone(state, 5, kColRxTone, 0);
    EXPECT_EQ(Shown(state, 5, kColRxTone, kEnglish), "Off");
    EXPECT_EQ(Choice(state, 5, kColRxTone), 0);
}

TEST(ListPick, StoresTheItemOfTheColumnsList) {
    ProgramState state = StateWithBand(kBand136);
    CommitFrequency(state, 9, kColRxFreq, "150");
    PickListItem(state, 9, kColPower, 1);
    PickListItem(state, 9, kColBusyLock, 0);
    PickListItem(state, 9, kColBandwidth, 0);
    PickListItem(state, 9, kColScan, 0);
    EXPECT_EQ(Shown(state, 9, kColPower), "高");
    EXPECT_EQ(Shown(state, 9, kColBusyLock), "关闭");
    EXPECT_EQ(Shown(state, 9, kColBandwidth), "窄带");
    EXPECT_EQ(Shown(state, 9, kColScan), "无");
    EXPECT_EQ(Choice(state, 9, kColPower), 1);
    EXPECT_EQ(Choice(state, 9, kColScan), 0);
}

TEST(EditTarget, EmptyRowsEditTheirReceiveFrequency) {
    ProgramState state = StateWithBand(kBand136);
    CommitFrequency(state, 2, kColRxFreq, "150");
    for (int col = 0; col <= 8; ++col) {
        EXPECT_EQ(EditColumn(state, 1, col), kColRxFreq);
        EXPECT_EQ(EditColumn(state, 2, col), col);
    }
    EXPECT_EQ(EditorForColumn(0), EditorKind::None);
    EXPECT_EQ(EditorForColumn(3), EditorKind::Frequency);
    EXPECT_EQ(EditorForColumn(4), EditorKind::Tone);
    EXPECT_EQ(EditorForColumn(8), EditorKind::List);
}

TEST(KeyFilter, TakesDigitsPointAndBackspaceOnly) {
    for (char32_t c : std::u32string(U"0123456789.\b")) EXPECT_TRUE(AcceptedEditCharacter(c));
    for (char32_t c : std::u32string(U"-+eE ,aD\r\x1b中")) EXPECT_FALSE(AcceptedEditCharacter(c));
}

} // namespace
} // namespace quelro
