// The clipboard form: the JSON rows carry every value and keep the gaps;
// without them (or when they are broken) the text is pasted.
#include <gtest/gtest.h>

#include "channels/channel_record.h"
#include "files/clipboard_form.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

#include "support/channel_texts.h"

namespace quelro {
namespace {

using test::ChannelOf;
using test::Shown;

// Channels 3..5 of a table: values no CSV carries, an empty channel between.
ProgramState Source() {
    ProgramState s = ProgramState::StartUp();
    s.Channel(3) = ChannelOf("406.26300", "406.26300", "D777N", "300.0", 1, 0, 0, 0);
    s.Channel(5) = ChannelOf("446.00000", "", "D017N", ".5", 0, 0, 1, 1);
    return s;
}

TEST(ClipboardForm, JsonRowsComeBackExactlyAtTheirOffsets) {
    const ProgramState source = Source();
    const ClipboardCopy copy = CopyChannels(source, {3, 4, 5});
    ProgramState target = ProgramState::StartUp();
    target.Channel(11) = ChannelOf("440.00000", "440.00000", "", "", 1, 1, 1, 1);
    const CsvPaste paste = PasteChannels(copy.json, copy.text, target, 10);
    EXPECT_TRUE(paste.leftOut.empty() && paste.changed.empty());
    EXPECT_EQ(paste.rowsWritten, 3);
    EXPECT_EQ(target.Channel(10), source.Channel(3));
    EXPECT_TRUE(target.ChannelEmpty(11));
    EXPECT_EQ(target.Channel(12), source.Channel(5));

    // Copy all, paste at 1: the image is the one copied.
    std::vector<int> all;
    for (int row = 1; row <= kChannels; ++row) all.push_back(row);
    const ClipboardCopy whole = CopyChannels(target, all);
    ProgramState again = target;
    PasteChannels(whole.json, whole.text, again, 1);
    EXPECT_EQ(EncodeImage(again), EncodeImage(target));
}

// The text holds what the CSV form can: D777N, D017N, 300.0 and .5 are off
// in it, and 406.263 comes back on the raster.
TEST(ClipboardForm, WithoutUsableJsonTheTextIsPastedAndItsLossesNamed) {
    const ClipboardCopy copy = CopyChannels(Source(), {3, 4, 5});
    EXPECT_EQ(copy.text.substr(copy.text.find("\r\n") + 2),
              "3,,406.263000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,High,,,,,\r\n"
              "4,,,,,,,,,,,,,,,,,,,,\r\n"
              "5,,446.000000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,Low,,,,,\r\n");
    for (const std::string& json :
         {std::string(), std::string("{\"format\":\"quelro-channels\""),
          std::string("{\"format\":\"quelro-channels\",\"version\":1,\"rows\":[{\"location\":3,"
                      "\"channel\":{\"rx\":\"x\"}}]}")}) {
        ProgramState target = ProgramState::StartUp();
        target.Channel(2) = ChannelOf("440.00000", "440.00000", "", "", 1, 1, 1, 1);
        const CsvPaste paste = PasteChannels(json, copy.text, target, 1);
        ASSERT_EQ(paste.changed.size(), 1u) << json;
        EXPECT_EQ(ChangedText(paste.changed[0], kEnglish),
                  "line 2: \"406.263000\" was taken as \"406.26250\"");
        EXPECT_EQ(Shown(target, 1, kColRxFreq), "406.26250");
        EXPECT_TRUE(target.ChannelEmpty(2)) << json;
        EXPECT_EQ(Shown(target, 3, kColRxFreq), "446.00000");
    }
}

TEST(ClipboardForm, JsonRowsOutsideTheBandOrTheTableAreLeftOut) {
    ProgramState source = ProgramState::StartUp();
    source.Channel(1) = ChannelOf("146.52000", "146.52000", "", "", 0, 1, 1, 1);
    source.Channel(2) = ChannelOf("446.10000", "446.10000", "", "", 0, 1, 1, 1);
    source.Channel(3) = ChannelOf("446.20000", "446.20000", "", "", 0, 1, 1, 1);
    const ClipboardCopy copy = CopyChannels(source, {1, 2, 3});
    ProgramState target = ProgramState::StartUp();
    const CsvPaste paste = PasteChannels(copy.json, copy.text, target, 15);
    ASSERT_EQ(paste.leftOut.size(), 2u);
    EXPECT_EQ(LeftOutText(paste.leftOut[0], kEnglish),
              "line 2: 146.52000 MHz is outside the band 400-500MHz; left out");
    EXPECT_EQ(LeftOutText(paste.leftOut[1], kEnglish),
              "line 4: all 16 channels are taken; left out");
    EXPECT_TRUE(target.ChannelEmpty(15));
    EXPECT_EQ(Shown(target, 16, kColRxFreq), "446.10000");
}

} // namespace
} // namespace quelro
