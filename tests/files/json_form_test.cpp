// The JSON form: what export writes for hand-written images, that import of
// an export gives the image back byte for byte, and that import refuses every
// value no editor produces, naming the field and changing nothing.
#include "files/json_form.h"

#include <gtest/gtest.h>

#include <random>

#include "codes/conversions.h"
#include "i18n/captions.h"
#include "image/memory_image.h"
#include "support/test_images.h"

namespace quelro::cli {
namespace {

using test::FreshImage;
using test::Patch;

ProgramState Decoded(const std::string& image) {
    ProgramState state = ProgramState::StartUp();
    EXPECT_TRUE(DecodeImage(state, image));
    return state;
}

// export, through JSON text, then import onto the start-up state and encode.
std::string ThroughJson(const std::string& image) {
    const std::string text = ExportJsonForm(Decoded(image)).dump();
    ProgramState state = ProgramState::StartUp();
    const auto error = ImportJsonForm(Json::parse(text), state);
    EXPECT_FALSE(error) << error->field << ": " << error->reason;
    return EncodeImage(state);
}

TEST(JsonFormTest, FreshImageHelperIsTheStartUpEncoding) {
    // Guards the hand-written vector the other tests patch.
    EXPECT_EQ(EncodeImage(ProgramState::StartUp()), FreshImage());
}

TEST(JsonFormTest, ExportOfAChannelRecord) {
    // 462.5625 both ways, no tones, busy inhibit off, power high, wide; scan on.
    const std::string image =
        Patch(Patch(FreshImage(), 0x00, "5062254650622546FFFFFFFFF0F0FCFF"), 0x16E, "01");
    const Json form = ExportJsonForm(Decoded(image));
    EXPECT_EQ(form["channels"][0], Json::parse(R"({"rx": "462.56250", "tx": "462.56250",
        "rx_tone": "off", "tx_tone": "off", "power": "high", "busy_lock": "off",
        "bandwidth": "wide", "scan": true})"));
    EXPECT_TRUE(form["channels"][1].is_null());
    EXPECT_EQ(form["format"], "quelro-dat");
    EXPECT_EQ(form["version"], 1);
    EXPECT_EQ(form["band"], "400-500MHz");
}

TEST(JsonFormTest, ExportOfSettings) {
    std::string image = FreshImage();
    image = Patch(image, 0x102, "19");                               // first digit delay 250
    image = Patch(image, 0x110, "41FF42FFFFFFFFFFFFFF");             // ID code A, FF, B
    image = Patch(image, 0x120, "00");                               // no time-out selected
    image = Patch(image, 0x155, "2C01");                             // scan rx delay 300
    image = Patch(image, 0x1F0, "313A323AFFFFFFFFFFFFFFFFFFFFFFFF"); // auto-dial 1020
    const Json settings = ExportJsonForm(Decoded(image))["settings"];
    EXPECT_EQ(settings["first_digit_delay"], 250);
    EXPECT_EQ(settings["id_code"], "A\u00ffB\u00ff\u00ff\u00ff\u00ff\u00ff\u00ff\u00ff");
    EXPECT_TRUE(settings["tx_timeout"].is_null());
    EXPECT_EQ(settings["scan_rx_resume_delay"], "300");
    EXPECT_EQ(settings["scan_tx_resume_delay"], "0");
    EXPECT_EQ(settings["auto_dial_memories"][0], "1020");
    EXPECT_EQ(settings["side_keys"], Json::parse("[10, 0]"));
    EXPECT_EQ(settings["tx_power_high"], 208);
    // The start-up delays are empty texts.
    EXPECT_EQ(ExportJsonForm(ProgramState::StartUp())["settings"]["scan_rx_resume_delay"], "");
}

using test::RoundTripCase;

class JsonRoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(JsonRoundTripTest, ImportOfExportGivesTheImageBack) {
    const RoundTripCase& c = GetParam();
    std::string image = Patch(FreshImage(), c.offset, c.hex);
    EXPECT_EQ(ThroughJson(image), image);
}

INSTANTIATE_TEST_SUITE_P(Fields, JsonRoundTripTest, testing::ValuesIn(test::kFieldVectors),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonFormTest, RoundTripOfScanBitmaps) {
    // Channels 8 and 9 scanned: bit 7 of 0x16E and bit 0 of 0x16F; channel 10
    // is used but not scanned.
    std::string image = FreshImage();
    for (std::size_t offset : {0x70, 0x80, 0x90})
        image = Patch(image, offset, "0000501400005014FFFFFFFFF8D0FCFF");
    image = Patch(image, 0x16E, "8001");
    EXPECT_EQ(ThroughJson(image), image);
}

TEST(JsonFormTest, RoundTripOfBandKeepsBothBandBytes) {
    // The band code stands at 0x1AD and again in the tail at 0x33C.
    const std::string image = Patch(Patch(FreshImage(), 0x1AD, "01"), 0x33C, "01");
    EXPECT_EQ(ThroughJson(image), image);
}

// Any file with the tag, random bytes after it included: export then import
// gives what the program's open then save gives.
TEST(JsonFormTest, CarriesWhatOpenAndSaveCarryForRandomImages) {
    std::mt19937 random(10);
    for (int round = 0; round < 400; ++round) {
        std::string bytes(kImageBytes, '\0');
        for (char& b : bytes) b = static_cast<char>(random() % (round % 2 == 0 ? 256 : 4));
        for (int k = 0; k < kChannels; ++k)
            if (random() % 3 == 0)
                bytes.replace(static_cast<std::size_t>(k) * 16, 4, "\xFF\xFF\xFF\xFF");
        if (random() % 2 == 0) bytes[0x1AD] = "\x33\x21\x43\x63\x53\x01\x73"[random() % 7];
        const std::string image = HexFromBytes(bytes);
        EXPECT_EQ(ThroughJson(image), EncodeImage(Decoded(image))) << image;
    }
}

TEST(JsonFormTest, EmptyRetraceTimeComesBack) {
    // FF ("Empty") reads back as Empty and is written as FF again.
    const std::string image = Patch(FreshImage(), 0x152, "FF");
    EXPECT_EQ(ThroughJson(image), image);
}

TEST(JsonFormTest, ImportOfAMinimalFormIsTheStartUpImage) {
    ProgramState state = ProgramState::StartUp();
    ASSERT_FALSE(ImportJsonForm(Json::parse(R"({"format": "quelro-dat", "version": 1})"), state));
    EXPECT_EQ(EncodeImage(state), FreshImage());
}

TEST(JsonFormTest, NewChannelGetsTheEditorDefaults) {
    ProgramState state = ProgramState::StartUp();
    const Json form = Json::parse(R"({"format": "quelro-dat", "version": 1,
        "channels": [{"rx": "145.00000"}, null, null, null, null, null, null, null,
                     null, null, null, null, null, null, null, null]})");
    ASSERT_FALSE(ImportJsonForm(form, state));
    // tx = rx, tones off, power low, busy inhibit "carrier", wide; scan on.
    EXPECT_EQ(EncodeImage(state),
              Patch(Patch(FreshImage(), 0x00, "0000501400005014FFFFFFFFF8D0FCFF"), 0x16E, "01"));
}

TEST(JsonFormTest, FieldsOfAnExistingChannelAreKept) {
    ProgramState state = Decoded(Patch(FreshImage(), 0x00, "0000501400005014ECA9E803F0E0FCFF"));
    Json channels = Json::array();
    channels.push_back({{"tx", ""}, {"scan", true}});
    for (int i = 1; i < 16; ++i) channels.push_back(nullptr);
    ASSERT_FALSE(
        ImportJsonForm({{"format", "quelro-dat"}, {"version", 1}, {"channels", channels}}, state));
    EXPECT_EQ(EncodeImage(state),
              Patch(Patch(FreshImage(), 0x00, "00005014FFFFFFFFECA9E803F0E0FCFF"), 0x16E, "01"));
}

struct RefusalCase {
    const char* name;
    const char* json; // merged into {"format", "version"}
    const char* field;
};

class JsonRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(JsonRefusalTest, RefusesNamingTheFieldAndChangesNothing) {
    const RefusalCase& c = GetParam();
    Json form = Json::parse(R"({"format": "quelro-dat", "version": 1})");
    form.update(Json::parse(c.json));
    ProgramState state = ProgramState::StartUp();
    const auto error = ImportJsonForm(form, state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, c.field) << error->reason;
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(EncodeImage(state), FreshImage());
}

// A channels array whose first entry is `entry`.
#define CH0(entry)                                                                                 \
    "{\"channels\": [" entry ",null,null,null,null,null,null,null,null,null,null,"                 \
    "null,null,null,null,null]}"
#define CH0_RX(more) CH0("{\"rx\": \"462.56250\"" more "}")

INSTANTIATE_TEST_SUITE_P(
    Values, JsonRefusalTest,
    testing::Values(
        RefusalCase{"squelch_high", R"({"settings": {"squelch": 10}})", "settings.squelch"},
        RefusalCase{"squelch_negative", R"({"settings": {"squelch": -1}})", "settings.squelch"},
        RefusalCase{"squelch_fraction", R"({"settings": {"squelch": 1.5}})", "settings.squelch"},
        RefusalCase{"squelch_text", R"({"settings": {"squelch": "1"}})", "settings.squelch"},
        RefusalCase{"beep_bool", R"({"settings": {"beep": true}})", "settings.beep"},
        RefusalCase{"timeout_40", R"({"settings": {"tx_timeout": 40}})", "settings.tx_timeout"},
        RefusalCase{"huge_unsigned", R"({"settings": {"vox_gain": 18446744073709551615}})",
                    "settings.vox_gain"},
        RefusalCase{"priority_channel", R"({"settings": {"priority_channel": 16}})",
                    "settings.priority_channel"},
        RefusalCase{"retrace", R"({"settings": {"retrace_time_b": 92}})",
                    "settings.retrace_time_b"},
        RefusalCase{"delay_255", R"({"settings": {"first_digit_delay": 255}})",
                    "settings.first_digit_delay"},
        RefusalCase{"delay_50", R"({"settings": {"first_digit_delay": 50}})",
                    "settings.first_digit_delay"},
        RefusalCase{"delay_2550", R"({"settings": {"first_digit_delay": 2550}})",
                    "settings.first_digit_delay"},
        RefusalCase{"group_call", R"({"settings": {"group_call_code": 10}})",
                    "settings.group_call_code"},
        RefusalCase{"power", R"({"settings": {"tx_power_low": 256}})", "settings.tx_power_low"},
        RefusalCase{"scan_delay_301", R"({"settings": {"scan_rx_resume_delay": "301"}})",
                    "settings.scan_rx_resume_delay"},
        RefusalCase{"scan_delay_number", R"({"settings": {"scan_tx_resume_delay": 5}})",
                    "settings.scan_tx_resume_delay"},
        RefusalCase{"id_code_long", R"({"settings": {"id_code": "12345678901"}})",
                    "settings.id_code"},
        RefusalCase{"id_code_wide", R"({"settings": {"id_code": "中"}})", "settings.id_code"},
        RefusalCase{"ptt_code_ff", R"({"settings": {"ptt_end_code": "1\u00ff"}})",
                    "settings.ptt_end_code"},
        RefusalCase{"embedded_long",
                    R"({"settings": {"embedded_info": ["", "123456789012345678901234567890123"]}})",
                    "settings.embedded_info[1]"},
        RefusalCase{"embedded_count", R"({"settings": {"embedded_info": [""]}})",
                    "settings.embedded_info"},
        RefusalCase{"auto_dial_colon",
                    R"({"settings": {"auto_dial_memories": ["1","2",":","4","5","6","7","8"]}})",
                    "settings.auto_dial_memories[2]"},
        RefusalCase{"side_key", R"({"settings": {"side_keys": [0, 12]}})", "settings.side_keys[1]"},
        RefusalCase{"test_frequency",
                    R"({"settings": {"test_frequencies": [{}, {}, {}, {"rx": "1.5"},
                    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}]}})",
                    "settings.test_frequencies[3].rx"},
        RefusalCase{"test_frequency_key", R"({"settings": {"test_frequencies": [{"rx": "", "x": ""},
                    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}]}})",
                    "settings.test_frequencies[0].x"},
        RefusalCase{"unknown_setting", R"({"settings": {"volume": 3}})", "settings.volume"},
        RefusalCase{"unknown_top", R"({"comment": "x"})", "comment"},
        RefusalCase{"format", R"({"format": "other"})", "format"},
        RefusalCase{"version", R"({"version": 2})", "version"},
        RefusalCase{"band", R"({"band": "400-480MHz"})", "band"},
        RefusalCase{"channels_count", R"({"channels": [null]})", "channels"},
        RefusalCase{"channel_kind", CH0("5"), "channels[0]"},
        RefusalCase{"rx_missing", CH0(R"({"tx": "462.56250"})"), "channels[0].rx"},
        RefusalCase{"rx_short", CH0(R"({"rx": "462.5625"})"), "channels[0].rx"},
        RefusalCase{"rx_lower_hex", CH0(R"({"rx": "46a.56250"})"), "channels[0].rx"},
        RefusalCase{"rx_empty_mark", CH0(R"({"rx": "FFF.FFFFF"})"), "channels[0].rx"},
        RefusalCase{"tone_above_word", CH0_RX(R"(, "rx_tone": "6553.6")"), "channels[0].rx_tone"},
        RefusalCase{"tone_long_dcs", CH0_RX(R"(, "tx_tone": "D0234N")"), "channels[0].tx_tone"},
        RefusalCase{"rx_empty", CH0(R"({"rx": ""})"), "channels[0].rx"},
        RefusalCase{"tx_bad", CH0_RX(R"(, "tx": "abc")"), "channels[0].tx"},
        RefusalCase{"tone_not_octal", CH0_RX(R"(, "tx_tone": "D028N")"), "channels[0].tx_tone"},
        RefusalCase{"tone_leading_zero", CH0_RX(R"(, "rx_tone": "067.0")"), "channels[0].rx_tone"},
        RefusalCase{"tone_two_decimals", CH0_RX(R"(, "rx_tone": "88.50")"), "channels[0].rx_tone"},
        RefusalCase{"tone_Off", CH0_RX(R"(, "rx_tone": "Off")"), "channels[0].rx_tone"},
        RefusalCase{"channel_power", CH0_RX(R"(, "power": "medium")"), "channels[0].power"},
        RefusalCase{"channel_scan", CH0_RX(R"(, "scan": 1)"), "channels[0].scan"},
        RefusalCase{"channel_key", CH0_RX(R"(, "name": "x")"), "channels[0].name"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonFormTest, AcceptsTheEdgesOfEveryRange) {
    ProgramState state = ProgramState::StartUp();
    const Json form = Json::parse(R"({"format": "quelro-dat", "version": 1,
        "channels": [{"rx": "000.00000", "tx": "999.99999", "rx_tone": "67.0",
                      "tx_tone": "D777I"}, null, null, null, null, null, null, null,
                     null, null, null, null, null, null, null, {"rx": "462.56250",
                      "rx_tone": "254.1", "tx_tone": "D000N"}],
        "settings": {"tx_timeout": null, "first_digit_delay": 1000, "scan_rx_resume_delay": "abc",
                     "id_code": "\u0000\u00ff", "embedded_info": ["12345678901234567890123456789012", ""],
                     "tx_power_high": 255, "group_call_code": 9}})");
    const auto error = ImportJsonForm(form, state);
    EXPECT_FALSE(error) << error->field << ": " << error->reason;
}

} // namespace
} // namespace quelro::cli
