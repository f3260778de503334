// quelro-cli diff on real files: the exit status of diff(1) over same,
// different and bad inputs in each form, the lines in each language, and the
// JSON Patch with the bytes it cannot carry.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "files/json_form.h"
#include "support/test_images.h"

namespace {

using namespace quelro::test;
using quelro::cli::Json;

class DiffTest : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteDat("fresh.DAT", FreshImage());
        WriteDat("rich.DAT", RichImage());
        // Channel 2 without its transmit frequency, channel 16 emptied, squelch 5.
        WriteDat("edited.DAT", Patch(Patch(Patch(RichImage(), 0x14, "FFFFFFFF"), 0xF0,
                                           "FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF"),
                                     0x124, "05"));
        // Bytes no form carries: odd channel flags and fill.
        WriteDat("odd.DAT", Patch(Patch(RichImage(), 0x0C, "F4"), 0x108, "00"));
        ASSERT_EQ(Run({"export", Path("rich.DAT"), "-o", Path("rich.json")}).exit, 0);
        ASSERT_EQ(Run({"export", Path("rich.DAT"), "-o", Path("rich.csv")}).exit, 0);
    }
    std::string Path(const std::string& name) const { return Arg(name); }
};

TEST_F(DiffTest, ExitStatusAsDiff) {
    Write(At("bad.json"), R"({"format": "quelro-dat", "version": 1, "band": "1-2MHz"})");
    Write(At("list.csv"), "Name\nx\n");
    // A form that names nothing is the start-up state once imported.
    Write(At("empty.json"), R"({"format": "quelro-dat", "version": 1})");
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* stderrHolds; // "" for nothing on stderr
    };
    const std::vector<Case> cases{
        {{"rich.DAT", "rich.DAT"}, 0, ""},
        {{"rich.DAT", "rich.json"}, 0, ""},
        {{"fresh.DAT", "empty.json"}, 0, ""},
        {{"rich.json", "rich.DAT", "--json"}, 0, ""},
        // The CSV carries the channels but not their busy lock: taken onto the
        // base, a channel keeps the base's lock, and the two are the same.
        {{"rich.csv", "rich.DAT", "--base", "rich.DAT"}, 0, ""},
        {{"rich.DAT", "edited.DAT"}, 1, ""},
        {{"fresh.DAT", "rich.csv"}, 1, ""},
        {{"rich.DAT", "odd.DAT"}, 1, ""},
        {{"rich.DAT", "odd.DAT", "--json"}, 1, "does not carry"},
        {{"rich.DAT", "missing.DAT"}, 2, "cannot open"},
        {{"rich.json", "rich.DAT", "--format", "dat"}, 2, "not a Quelro data file"},
        {{"bad.json", "rich.DAT"}, 2, "band: must be one of"},
        {{"list.csv", "rich.DAT"}, 2, "Frequency"},
        {{"rich.csv", "rich.DAT", "--base", "missing.DAT"}, 2, "missing.DAT"},
        // Usage errors are trouble too: 1 would say "different".
        {{"rich.DAT"}, 2, "required"},
        {{"rich.DAT", "rich.DAT", "--lang", "fr"}, 2, "--lang"},
        {{"rich.DAT", "rich.DAT", "--colour"}, 2, "--colour"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"diff"};
        for (const std::string& arg : c.args)
            args.push_back(arg.find('.') != std::string::npos ? Path(arg) : arg);
        SCOPED_TRACE(testing::PrintToString(args));
        const Result r = Run(args);
        EXPECT_EQ(r.exit, c.exit) << r.err;
        if (*c.stderrHolds == '\0') {
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_NE(r.err.find(c.stderrHolds), std::string::npos) << r.err;
        }
        const bool json = std::find(c.args.begin(), c.args.end(), "--json") != c.args.end();
        if (c.exit == 0) {
            EXPECT_EQ(r.out, json ? "[]\n" : "");
        }
    }
}

TEST_F(DiffTest, LinesInEachLanguage) {
    const Result en = Run({"diff", Path("rich.DAT"), Path("edited.DAT")});
    EXPECT_EQ(en.exit, 1);
    EXPECT_EQ(en.out, "CH02  TX frequency  451.00625 -> (empty)\n"
                      "CH16  vanishes  400.00000  D023I  (empty)  D023I  Hight  Carrow  Wide  No\n"
                      "Function Set / Squelch Grade  1 Group -> 5 Group\n");
    const Result zh = Run({"diff", Path("rich.DAT"), Path("edited.DAT"), "--lang", "zh"});
    EXPECT_EQ(zh.out, "信道02  发射频率  451.00625 -> (空)\n"
                      "信道16  消失  400.00000  D023I  (空)  D023I  高  载波  宽带  无\n"
                      "功能设置 / 静噪等级  1 级 -> 5 级\n");
    const Result bytes = Run({"diff", Path("rich.DAT"), Path("odd.DAT")});
    EXPECT_EQ(bytes.out, "Image offset 0x00C  F0 -> F4\nImage offset 0x108  FF -> 00\n");
}

TEST_F(DiffTest, JsonPatchTestsBeforeItReplaces) {
    const Result r = Run({"diff", Path("rich.DAT"), Path("edited.DAT"), "--json"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(Json::parse(r.out), Json::parse(R"([
        {"op": "test", "path": "/channels/1/tx", "value": "451.00625"},
        {"op": "replace", "path": "/channels/1/tx", "value": ""},
        {"op": "test", "path": "/channels/15", "value": {"rx": "400.00000", "tx": "",
            "rx_tone": "D023I", "tx_tone": "D023I", "power": "high", "busy_lock": "carrier",
            "bandwidth": "wide", "scan": false}},
        {"op": "replace", "path": "/channels/15", "value": null},
        {"op": "test", "path": "/settings/squelch", "value": 1},
        {"op": "replace", "path": "/settings/squelch", "value": 5}
    ])"));
    const Result bytesOnly = Run({"diff", Path("rich.DAT"), Path("odd.DAT"), "--json"});
    EXPECT_EQ(bytesOnly.out, "[]\n");
    EXPECT_EQ(bytesOnly.err, "quelro-cli: warning: Image offset 0x00C  F0 -> F4: the JSON form "
                             "does not carry this byte\n"
                             "quelro-cli: warning: Image offset 0x108  FF -> 00: the JSON form "
                             "does not carry this byte\n");
}

} // namespace
