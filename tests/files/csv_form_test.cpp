// The CSV memory form: each tone and cross mode and each duplex form both
// ways, the band choice, placing rows, the reasons a row is left out, and
// the text forms spreadsheets write.
#include <gtest/gtest.h>

#include <array>

#include "channels/cell_edit.h"
#include "codes/tone_codes.h"
#include "files/csv_form.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

#include "support/channel_texts.h"

namespace quelro {
namespace {

using test::Choice;
using test::Shown;

constexpr std::string_view kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";
constexpr std::string_view kNoTones = "88.5,88.5,023,NN,023,Tone->Tone";

// A row as the form writes it, from its middle columns.
std::string Row(int location, std::string_view frequency, std::string_view duplexToTones,
                std::string_view modeToPower = "FM,5.00,,Low") {
    return std::to_string(location) + ",," + std::string(frequency) + "," +
           std::string(duplexToTones) + "," + std::string(modeToPower) + ",,,,,\r\n";
}

std::vector<std::string> Report(const std::vector<CsvLeftOut>& leftOut) {
    std::vector<std::string> lines;
    for (const CsvLeftOut& l : leftOut) lines.push_back(LeftOutText(l, kEnglish));
    return lines;
}

ProgramState English() {
    return ProgramState::StartUp();
}

struct ToneCase {
    const char* columns; // Tone .. CrossMode
    const char* tx;
    const char* rx;
    bool written; // the form writes these columns back for the tones
};

class CsvTones : public ::testing::TestWithParam<ToneCase> {};

TEST_P(CsvTones, ReadIntoTheTwoTonesAndWrittenBack) {
    const ToneCase& c = GetParam();
    const std::string row = Row(1, "146.520000", std::string(",0.000000,") + c.columns);
    const CsvImport read = ImportCsv(std::string(kHeader) + row, English(), {});
    ASSERT_FALSE(read.refusal);
    EXPECT_TRUE(read.leftOut.empty()) << Report(read.leftOut).front();
    const ProgramState& s = read.state;
    EXPECT_EQ(Shown(s, 1, kColTxTone, kEnglish), c.tx);
    EXPECT_EQ(Shown(s, 1, kColRxTone, kEnglish), c.rx);
    // The list position, 0 for off, kToneNotListed for a tone that is no entry.
    for (int column : {kColTxTone, kColRxTone})
        EXPECT_EQ(Choice(s, 1, column), Shown(s, 1, column, kEnglish) == "Off"
                                            ? 0
                                            : ToneIndexOf(Shown(s, 1, column, kEnglish)));
    if (c.written) {
        EXPECT_EQ(ExportCsv(s).text, std::string(kHeader) + row);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryModeAndCrossMode, CsvTones,
    ::testing::Values(ToneCase{",88.5,88.5,023,NN,023,Tone->Tone", "Off", "Off", true},
                      ToneCase{"Tone,100.0,88.5,023,NN,023,Tone->Tone", "100.0", "Off", true},
                      ToneCase{"TSQL,123.0,123.0,023,NN,023,Tone->Tone", "123.0", "123.0", true},
                      ToneCase{"TSQL,88.5,123.0,023,NN,023,Tone->Tone", "123.0", "123.0", false},
                      ToneCase{"DTCS,88.5,88.5,023,NR,023,Tone->Tone", "D023N", "D023I", true},
                      ToneCase{"Cross,100.0,123.0,023,NN,023,Tone->Tone", "100.0", "123.0", true},
                      ToneCase{"Cross,100.0,88.5,023,NR,754,Tone->DTCS", "100.0", "D754I", true},
                      ToneCase{"Cross,88.5,88.5,023,RN,023,DTCS->Tone", "D023I", "88.5", true},
                      ToneCase{"Cross,88.5,67.0,023,NN,023,->Tone", "Off", "67.0", true},
                      ToneCase{"Cross,88.5,88.5,023,NN,411,->DTCS", "Off", "D411N", true},
                      ToneCase{"Cross,88.5,88.5,125,RN,023,DTCS->", "D125I", "Off", true},
                      ToneCase{"Cross,254.1,88.5,023,NN,023,Tone->", "254.1", "Off", false},
                      ToneCase{"Cross,88.5,88.5,023,NR,754,DTCS->DTCS", "D023N", "D754I", true},
                      // Short forms: "67" is 67.0 and "23" is 023.
                      ToneCase{"Tone,67,88.5,023,NN,023,Tone->Tone", "67.0", "Off", false},
                      ToneCase{"DTCS,88.5,88.5,23,nn,023,Tone->Tone", "D023N", "D023N", false},
                      // A tone in the editor's range that is no entry of the list.
                      ToneCase{"Tone,100.5,88.5,023,NN,023,Tone->Tone", "100.5", "Off", true}));

TEST(CsvTones, ADecodedToneTheFormCannotCarryIsWrittenAsOffWithAWarning) {
    ProgramState s = English();
    ASSERT_EQ(CommitFrequency(s, 2, kColRxFreq, "446.52"), FrequencyOutcome::NewChannel);
    s.Channel(2)->txTone = ToneWordOf("D777N"); // as decoded from an odd ToneWord
    s.Channel(2)->rxTone = ToneWordOf("62.5");
    const CsvExport csv = ExportCsv(s);
    EXPECT_EQ(csv.text,
              std::string(kHeader) + Row(2, "446.520000", ",0.000000,," + std::string(kNoTones)));
    ASSERT_EQ(csv.warnings.size(), 2u);
    EXPECT_EQ(WarningText(csv.warnings[0], kEnglish),
              "channel 2: tone \"D777N\" cannot be written to CSV; written as off");
}

struct DuplexCase {
    const char* duplex;
    const char* offset;
    const char* tx;      // the transmit cell read
    const char* written; // Duplex,Offset as written back
};

class CsvDuplex : public ::testing::TestWithParam<DuplexCase> {};

TEST_P(CsvDuplex, GiveTheTransmitFrequency) {
    const DuplexCase& c = GetParam();
    const std::string tones = ",," + std::string(kNoTones);
    const CsvImport read = ImportCsv(
        std::string(kHeader) + Row(1, "146.520000", std::string(c.duplex) + "," + c.offset + tones),
        English(), {});
    ASSERT_TRUE(read.leftOut.empty()) << Report(read.leftOut).front();
    EXPECT_EQ(Shown(read.state, 1, kColTxFreq), c.tx);
    EXPECT_EQ(ExportCsv(read.state).text,
              std::string(kHeader) + Row(1, "146.520000", std::string(c.written) + tones));
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, CsvDuplex,
    ::testing::Values(DuplexCase{"", "0.600000", "146.52000", ",0.000000"},
                      DuplexCase{"+", "0.600000", "147.12000", "+,0.600000"},
                      DuplexCase{"-", "0.6", "145.92000", "-,0.600000"},
                      DuplexCase{"split", "144.80000", "144.80000", "-,1.720000"},
                      DuplexCase{"off", "0.000000", "", "off,0.000000"},
                      // The transmit frequency is snapped like the receive one.
                      DuplexCase{"+", "0.001", "146.52000", ",0.000000"}));

TEST(CsvRows, LeftOutRowsAreReportedByLineAndReason) {
    std::string text =
        "Frequency,Duplex,Offset,Tone,rToneFreq,DtcsCode,DtcsPolarity,CrossMode,Mode\n";
    const char* rows[] = {
        "446.00625,,,,,,,,FM",         // line 2: kept as channel 1
        "abc,,,,,,,,FM",               // 3
        "446.1,x,,,,,,,FM",            // 4
        "446.1,+,,,,,,,FM",            // 5: no offset gives no transmit frequency
        "446.1,,,DCS,,,,,FM",          // 6
        "446.1,,,Cross,,,,Tone->X,FM", // 7
        "446.1,,,Tone,300,,,,FM",      // 8
        "446.1,,,DTCS,,024,NN,,FM",    // 9
        "446.1,,,DTCS,,023,N,,FM",     // 10
        "446.1,,,,,,,,AM",             // 11
        "498.0,+,5,,,,,,NFM",          // 12: transmit above the band's top
        ",,,,,,,,",                    // 13: no frequency, not a channel
    };
    for (const char* row : rows) text += std::string(row) + "\n";
    for (int i = 0; i < 16; ++i) text += "446.2,,,,,,,,FM\n"; // lines 14..29
    const CsvImport read = ImportCsv(text, English(), {0});
    EXPECT_EQ(Report(read.leftOut),
              (std::vector<std::string>{
                  "line 3: Frequency \"abc\" is not a frequency in MHz; left out",
                  "line 4: Duplex \"x\" is none of empty, +, -, split, off; left out",
                  "line 5: Offset \"\" gives no transmit frequency; left out",
                  "line 6: tone mode \"DCS\" is not supported; left out",
                  "line 7: tone mode \"Tone->X\" is not supported; left out",
                  "line 8: tone \"300\" is not from 67.0 to 254.1; left out",
                  "line 9: DCS code \"024\" is not in the radio's list; left out",
                  "line 10: DtcsPolarity \"N\" must be two letters N or R; left out",
                  "line 11: mode \"AM\" is neither FM nor NFM; left out",
                  "line 12: 503.00000 MHz is outside the band 400-500MHz; left out",
                  "line 29: all 16 channels are taken; left out",
              }));
    EXPECT_EQ(Shown(read.state, 1, kColRxFreq), "446.00625");
    EXPECT_EQ(Shown(read.state, 16, kColRxFreq), "446.20000");
    EXPECT_EQ(LeftOutText(read.leftOut[9], kSimplified),
              "第12行：503.00000 MHz超出频段400-500MHz，未导入");
}

struct BandCase {
    const char* name;
    std::vector<const char*> frequencies;
    CsvBand given;
    int band;
    std::vector<int> leftOutLines;
};

class CsvBandChoice : public ::testing::TestWithParam<BandCase> {};

TEST_P(CsvBandChoice, GivenKeptOrChosenFromTheRows) {
    const BandCase& c = GetParam();
    std::string text = "Frequency\n";
    for (const char* f : c.frequencies) text += std::string(f) + "\n";
    const CsvImport read = ImportCsv(text, English(), c.given);
    EXPECT_EQ(read.state.BandIndex, c.band);
    EXPECT_EQ(read.state.BandSelection, c.band);
    std::vector<int> lines;
    for (const CsvLeftOut& l : read.leftOut) lines.push_back(l.line);
    EXPECT_EQ(lines, c.leftOutLines);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, CsvBandChoice,
    ::testing::Values(BandCase{"FirstThatHoldsAll", {"446.00625", "462.5625"}, {}, 0, {}},
                      BandCase{"VhfRows", {"146.52", "162.55"}, {}, 5, {}},
                      BandCase{"MostRows", {"146.52", "446.0", "446.1"}, {}, 0, {2}},
                      BandCase{"TieGoesToTheEarlierBand", {"146.52", "446.0"}, {}, 0, {2}},
                      BandCase{"GivenBandLeavesOut", {"446.0", "146.52"}, {5}, 5, {2}},
                      BandCase{"CurrentBandKeptWhenItHoldsAll", {"462.5625"}, {1, true}, 1, {}},
                      BandCase{"CurrentBandDroppedOtherwise", {"446.0"}, {1, true}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvRows, DistinctLocationsPlaceRowsElseFileOrder) {
    const std::string located = "Location,Frequency\n16,446.1\n3,446.2\n";
    const CsvImport byLocation = ImportCsv(located, English(), {});
    EXPECT_EQ(Shown(byLocation.state, 16, kColRxFreq), "446.10000");
    EXPECT_EQ(Shown(byLocation.state, 3, kColRxFreq), "446.20000");
    EXPECT_TRUE(byLocation.state.ChannelEmpty(1));
    // Numbered from 0, as many files are: filled in file order instead.
    const CsvImport inOrder = ImportCsv("Location,Frequency\n0,446.1\n1,446.2\n", English(), {});
    EXPECT_EQ(Shown(inOrder.state, 1, kColRxFreq), "446.10000");
    EXPECT_EQ(Shown(inOrder.state, 2, kColRxFreq), "446.20000");
}

// An import replaces the table: what a row does not name is a new
// channel's, whatever stood there; a paste over a channel keeps it.
TEST(CsvRows, MissingColumnsComeFromANewChannelOnImportAndTheTargetOnPaste) {
    ProgramState base = English();
    ASSERT_EQ(CommitFrequency(base, 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
    ASSERT_EQ(CommitFrequency(base, 1, kColTxFreq, "441.0"), FrequencyOutcome::Written);
    PickTone(base, 1, kColTxTone, 9);       // 88.5
    PickListItem(base, 1, kColPower, 1);    // high
    PickListItem(base, 1, kColBusyLock, 0); // off: the form has no column for it
    const char* text = "Frequency\n446.1\n446.2\n";
    ProgramState pasted = base;
    ASSERT_EQ(PasteCsv(text, pasted, 1).rowsWritten, 2);
    const ProgramState imported = ImportCsv(text, base, {}).state;
    const struct {
        const ProgramState& s;
        int row;
        std::array<const char*, 5> cells; // tx, tx tone, power, busy lock, scan
    } cases[] = {
        {imported, 1, {"446.10000", "Off", "Low", "Carrow", "Have"}},
        {imported, 2, {"446.20000", "Off", "Low", "Carrow", "Have"}},
        {pasted, 1, {"441.10000", "88.5", "Hight", "Off", "Have"}},
        {pasted, 2, {"446.20000", "Off", "Low", "Carrow", "Have"}},
    };
    for (const auto& c : cases) {
        const int columns[] = {kColTxFreq, kColTxTone, kColPower, kColBusyLock, kColScan};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Shown(c.s, c.row, columns[i], kEnglish), c.cells[i])
                << c.row << " " << columns[i];
    }
}

TEST(CsvRows, PowerSkipAndMode) {
    const std::string text = "Frequency,Power,Skip,Mode\n446.1,1.0W,S,NFM\n446.2,5.0W,P,FM\n"
                             "446.3,low,,FM\n446.4,High,,\n";
    const ProgramState s = ImportCsv(text, English(), {}).state;
    const char* expected[][3] = {{"Low", "No", "Narrow"},
                                 {"Hight", "Have", "Wide"},
                                 {"Low", "Have", "Wide"},
                                 {"Hight", "Have", "Wide"}};
    for (int row = 1; row <= 4; ++row) {
        EXPECT_EQ(Shown(s, row, kColPower, kEnglish), expected[row - 1][0]) << row;
        EXPECT_EQ(Shown(s, row, kColScan, kEnglish), expected[row - 1][1]) << row;
        EXPECT_EQ(Shown(s, row, kColBandwidth, kEnglish), expected[row - 1][2]) << row;
    }
}

TEST(CsvText, SpreadsheetFormsReadAlike) {
    const char* texts[] = {
        "\xEF\xBB\xBF"
        "Location,Frequency,Mode\r\n1,446.00625,NFM\r\n",
        "\"Location\";\"Frequency\";\"Mode\"\r\n\"1\";\"446,00625\";\"NFM\"\r\n",
        "Location;Frequency;Mode\n1;446,00625;NFM", // comma-decimal locale, no last line end
        "Location,Frequency,Mode,Comment\n1,\"446.00625\",NFM,\"say \"\"hi\"\", then\"\n",
    };
    for (const char* text : texts) {
        const CsvImport read = ImportCsv(text, English(), {});
        ASSERT_FALSE(read.refusal) << text;
        EXPECT_EQ(Shown(read.state, 1, kColRxFreq), "446.00625") << text;
        EXPECT_EQ(Shown(read.state, 1, kColBandwidth, kEnglish), "Narrow") << text;
    }
}

TEST(CsvText, BrokenTextOrNoFrequencyColumnIsRefusedWhole) {
    const struct {
        const char* text;
        const char* refusal;
    } cases[] = {
        {"Frequency,Mode\n446.1,FM\n446.2,\"FM\n", "line 3, field 2: not valid CSV"},
        {"Frequency,Mode\n446.1,F\"M\n", "line 2, field 2: not valid CSV"},
        {"Location,Freq\n1,446.1\n",
         "line 1, column Frequency: the header has no Frequency column"},
        {"", "line 1, column Frequency: the header has no Frequency column"},
    };
    for (const auto& c : cases) {
        const CsvImport read = ImportCsv(c.text, English(), {});
        ASSERT_TRUE(read.refusal) << c.text;
        EXPECT_EQ(RefusalText(*read.refusal, kEnglish).rfind(c.refusal, 0), 0u)
            << RefusalText(*read.refusal, kEnglish);
    }
}

TEST(CsvRoundTrip, ExportThenImportOntoTheSameStateGivesTheSameImage) {
    ProgramState s = English();
    s.SelectBandPosition(5);
    s.BandIndex = 5;
    const std::string text =
        std::string(kHeader) +
        Row(1, "146.520000", ",0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone") +
        Row(2, "145.600000", "-,0.600000,Cross,88.5,88.5,023,NR,754,DTCS->DTCS",
            "NFM,5.00,S,High") +
        Row(5, "146.006250", "+,0.600000,," + std::string(kNoTones), "FM,6.25,,Low") +
        Row(16, "173.995000", "off,0.000000,DTCS,88.5,88.5,371,RR,023,Tone->Tone");
    const CsvImport first = ImportCsv(text, s, {5});
    ASSERT_TRUE(first.leftOut.empty()) << Report(first.leftOut).front();
    EXPECT_EQ(ExportCsv(first.state).text, text);
    const CsvImport second = ImportCsv(ExportCsv(first.state).text, first.state, {5});
    EXPECT_EQ(EncodeImage(second.state), EncodeImage(first.state));
}

TEST(CsvPaste, RowsKeepTheirOffsetsFromTheLowestLocation) {
    ProgramState s = English();
    ASSERT_EQ(CommitFrequency(s, 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
    const std::string copied = "1\t\t446.100000\t\t0.000000\tTone\t100.0\n"
                               "2\t\t146.520000\t\t0.000000\t\n"
                               "3\t\t446.200000\t+\t5.000000\t\n";
    const CsvPaste paste = PasteCsv(copied, s, 14);
    EXPECT_EQ(paste.rowsWritten, 2);
    EXPECT_EQ(Report(paste.leftOut),
              (std::vector<std::string>{
                  "line 2: 146.52000 MHz is outside the band 400-500MHz; left out"}));
    EXPECT_EQ(Shown(s, 1, kColRxFreq), "446.00000");
    EXPECT_EQ(Shown(s, 14, kColTxTone), "100.0");
    EXPECT_TRUE(s.ChannelEmpty(15));
    EXPECT_EQ(Shown(s, 16, kColTxFreq), "451.20000");
    // With a header and an empty channel between, past the last channel.
    const CsvPaste more = PasteCsv(ExportCsv(s, {14, 15, 16}, true).text, s, 15);
    EXPECT_EQ(Report(more.leftOut),
              (std::vector<std::string>{"line 4: all 16 channels are taken; left out"}));
    EXPECT_EQ(Shown(s, 15, kColRxFreq), "446.10000");
    EXPECT_TRUE(s.ChannelEmpty(16));
    // Without distinct Locations 1..16, rows fill one after another.
    const CsvPaste inOrder = PasteCsv("Location,Frequency\n0,446.3\n0,446.4\n", s, 1);
    EXPECT_EQ(inOrder.rowsWritten, 2);
    EXPECT_EQ(Shown(s, 2, kColRxFreq), "446.40000");
}

// A value the channel holds in another form is named with its line.
TEST(CsvPaste, RoundedFrequenciesAndTonesAreReported) {
    ProgramState s = English();
    const CsvPaste paste = PasteCsv(
        "Frequency,Duplex,Offset,Tone,rToneFreq\n406.263,+,0.0001,Tone,88.55\n446.1,,,,\n", s, 3);
    // The offset is added to the receive frequency taken.
    std::vector<std::string> lines;
    for (const CsvChanged& c : paste.changed) lines.push_back(ChangedText(c, kEnglish));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "line 2: \"406.263\" was taken as \"406.26250\"",
                         "line 2: \"406.26260\" was taken as \"406.26250\"",
                         "line 2: \"88.55\" was taken as \"88.6\"",
                     }));
    EXPECT_EQ(ChangedText(paste.changed[0], kSimplified), "第2行：“406.263”按“406.26250”读入");
}

} // namespace
} // namespace quelro
