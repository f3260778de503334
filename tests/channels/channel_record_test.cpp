// The channel record's texts: the same record shown in every language, odd
// decoded tones and frequencies included, and the list positions the grid
// shows for it.
#include "channels/channel_record.h"

#include <gtest/gtest.h>

#include "i18n/captions.h"

#include "support/channel_texts.h"

namespace quelro {
namespace {

struct RecordCase {
    ChannelRecord channel;
    std::array<const char*, 8> english; // columns 1..8
    int rxChoice, txChoice;             // the tone positions shown
};

TEST(ChannelRecord, ShownInEveryLanguageAndReadBackUnchanged) {
    const RecordCase cases[] = {
        {{0x46256250, 0x46256250},
         {"462.56250", "Off", "462.56250", "Off", "Low", "Carrow", "Wide", "Have"},
         0,
         0},
        {{0x14652000, std::nullopt, 885, 0xA9EC, Power::kHigh, BusyLock::kOff, Bandwidth::kNarrow,
          ScanList::kSkipped},
         {"146.52000", "88.5", "", "D754I", "Hight", "Off", "Narrow", "No"},
         9,
         kFirstDcsInverted + 104},
        // Words that are no entry of the tone list, and hex digits where BCD
        // digits belong.
        {{0x4A61234F, 0xFFFFFFFE, 5, 0x29FF},
         {"4A6.1234F", ".5", "FFF.FFFFE", "D777N", "Low", "Carrow", "Wide", "Have"},
         kToneNotListed,
         kToneNotListed},
    };
    for (const RecordCase& c : cases) {
        const ChannelRecord& r = c.channel;
        for (int col = 1; col <= 8; ++col)
            EXPECT_EQ(CellText(r, col, kEnglish), c.english[col - 1]) << col;
        EXPECT_EQ(ChoiceIndex(r, kColRxTone), c.rxChoice);
        EXPECT_EQ(ChoiceIndex(r, kColTxTone), c.txChoice);
        for (int col = kColPower; col <= kColScan; ++col)
            EXPECT_EQ(ChoiceIndex(r, col), ListItem(r, col));
        // The texts of every language stand for the same record.
        for (int language : {kSimplified, kEnglish, kTraditional}) {
            const auto cells = ChannelCells(r, language);
            EXPECT_EQ(FrequencyOfText(cells[0]), r.rx);
            for (int col : {kColRxTone, kColTxTone}) {
                const std::string& tone = cells[col - 1];
                const std::uint16_t word = col == kColRxTone ? r.rxTone : r.txTone;
                EXPECT_EQ(tone == ToneItem(0, language) ? kToneOffWord : ToneWordOf(tone), word);
            }
            for (int col = kColPower; col <= kColScan; ++col)
                EXPECT_EQ(cells[col - 1], ColumnItemText(col, ListItem(r, col), language));
        }
    }
}

TEST(ChannelRecord, FrequencyUnits) {
    EXPECT_EQ(FrequencyUnits(0x44600625), 44600625);
    EXPECT_EQ(FrequencyUnits(0x4A61234F), std::nullopt);
    EXPECT_EQ(FrequencyOfUnits(14652000), 0x14652000u);
    EXPECT_EQ(FrequencyOfUnits(100000000), 0x99999999u); // 1000 MHz
    EXPECT_EQ(FrequencyOfText("446.00625"), 0x44600625u);
    EXPECT_EQ(FrequencyOfText("4a6.1234f"), 0x4A61234Fu);
    EXPECT_EQ(FrequencyOfText("446"), 0x44600000u);
}

} // namespace
} // namespace quelro
