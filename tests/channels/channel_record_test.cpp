// The channel record: written and read back in every language, odd decoded
// tones and frequencies included, and the list positions it leaves behind.
#include "channels/channel_record.h"

#include <gtest/gtest.h>

#include "codes/tone_codes.h"
#include "i18n/captions.h"

namespace quelro {
namespace {

struct RecordCase {
    ChannelRecord channel;
    int rxChoice, txChoice; // the tone positions written
};

TEST(ChannelRecord, WrittenAndReadBackUnchangedInEveryLanguage) {
    const RecordCase cases[] = {
        {{"462.56250", "462.56250", "", "", 0, 1, 1, 1}, 0, 0},
        {{"146.52000", "", "88.5", "D754I", 1, 0, 0, 0}, 9, kFirstDcsInverted + 104},
        // Decoded words that are no entry of the tone list, and hex digits
        // where BCD digits belong.
        {{"4A6.1234F", "FFF.FFFFE", ".5", "D23N", 1, 1, 0, 1}, kToneNotListed, kToneNotListed},
        {{"400.00000", "480.00000", "6553.5", "100.5", 0, 0, 1, 0}, kToneNotListed, kToneNotListed},
    };
    for (int language : {kSimplified, kEnglish, kTraditional}) {
        for (const RecordCase& c : cases) {
            ProgramState s = ProgramState::StartUp(language);
            WriteChannel(s, 3, c.channel);
            EXPECT_EQ(ReadChannel(s, 3), c.channel) << language << " " << c.channel.rx;
            EXPECT_EQ(s.Choice(3, kColRxTone), c.rxChoice) << c.channel.rx;
            EXPECT_EQ(s.Choice(3, kColTxTone), c.txChoice) << c.channel.rx;
            EXPECT_EQ(s.Choice(3, kColScan), c.channel.scan);
            // A partial import reads a channel and writes it back: that
            // must change nothing.
            const ProgramState written = s;
            WriteChannel(s, 3, ReadChannel(s, 3));
            EXPECT_EQ(s, written) << language << " " << c.channel.rx;
        }
    }
}

TEST(ChannelRecord, AnEmptyRowReadsAsTheImageKeepsIt) {
    const ChannelRecord empty = ReadChannel(ProgramState::StartUp(kEnglish), 7);
    EXPECT_EQ(empty, (ChannelRecord{"", "", "", "", 1, 1, 1, 0}));
}

} // namespace
} // namespace quelro
