// The quelro-cli binary on real files in a temporary folder: exit codes, the
// one stderr line of a refusal, and outputs that are neither created nor
// changed when a command fails.
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "codes/conversions.h"
#include "image/memory_image.h"
#include "support/test_images.h"

namespace {

using namespace quelro::test;

TEST_F(CliTest, NewWritesTheStartUpDataFile) {
    const Result r = Run({"new", "-o", Arg("a.DAT")});
    EXPECT_EQ(r.exit, 0) << r.err;
    const std::string bytes = Read(At("a.DAT"));
    ASSERT_EQ(bytes.size(), 853u);
    EXPECT_EQ(quelro::HexFromBytes(bytes), "524D443437" + quelro::test::FreshImage());
}

TEST_F(CliTest, NewWithBandWritesItsCodeTwice) {
    ASSERT_EQ(Run({"--quiet", "new", "--band", "136-174MHz", "-o", Arg("a.DAT")}).exit, 0);
    const std::string bytes = Read(At("a.DAT"));
    ASSERT_EQ(bytes.size(), 853u);
    EXPECT_EQ(bytes[5 + 0x1AD], '\x01');
    EXPECT_EQ(bytes[5 + 0x33C], '\x01');
}

TEST_F(CliTest, QuietPrintsNothingOnSuccess) {
    EXPECT_FALSE(Run({"new", "-o", Arg("a.DAT")}).out.empty());
    const Result quiet = Run({"new", "-o", Arg("b.DAT"), "--quiet"});
    EXPECT_EQ(quiet.exit, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");
}

TEST_F(CliTest, UsageErrorsExitOneAndWriteNothing) {
    const std::string out = Arg("x.DAT");
    const std::vector<std::vector<std::string>> cases{
        {},
        {"frobnicate"},
        {"new"},
        {"new", "--band", "123-456MHz", "-o", out},
        {"new", "-o", out, "--colour"},
        {"export"},
        {"import", Arg("a.json")},
        {"info", out, "--lang", "fr"},
    };
    for (const auto& args : cases) {
        const Result r = Run(args);
        EXPECT_EQ(r.exit, 1) << testing::PrintToString(args);
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_TRUE(Names().empty());
}

TEST_F(CliTest, HelpAndVersionExitZero) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"new", "--help"},
                                                 {"export", "--help"},
                                                 {"import", "--help"},
                                                 {"info", "--help"}}) {
        const Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << args.front();
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << r.out;
    }
    EXPECT_NE(Run({"new", "--help"}).out.find("--band"), std::string::npos);
    const Result version = Run({"--version"});
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out, "quelro-cli 1.0.0\n");
}

TEST_F(CliTest, ExportImportRoundTripThroughTheBinary) {
    const std::string image =
        quelro::test::Patch(quelro::test::FreshImage(), 0x00, "506225465062254613287503F0F0FCFF");
    WriteDat("in.DAT", image);
    ASSERT_EQ(Run({"export", Arg("in.DAT"), "-o", Arg("in.json")}).exit, 0);
    const Result printed = Run({"export", Arg("in.DAT")});
    EXPECT_EQ(printed.out, Read(At("in.json")));
    EXPECT_NE(printed.out.find("\"rx_tone\": \"D023N\""), std::string::npos);
    const Result r = Run({"import", Arg("in.json"), "-o", Arg("out.DAT")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(quelro::HexFromBytes(Read(At("out.DAT"))), "524D443437" + image);
}

TEST_F(CliTest, ExportWarnsOfEveryByteTheFormDoesNotCarry) {
    std::string image = quelro::test::FreshImage();
    image = quelro::test::Patch(image, 0x00, "5062254650622546FFFFFFFFF4F0FCFF"); // flags F4
    image = quelro::test::Patch(image, 0x108, "00");                              // fill
    image = quelro::test::Patch(image, 0x1AD, "5A");                              // no band
    WriteDat("odd.DAT", image);
    const Result r = Run({"export", Arg("odd.DAT"), "-o", Arg("odd.json")});
    EXPECT_EQ(r.exit, 0);
    const std::string prefix = "quelro-cli: warning: " + Arg("odd.DAT") + ": image offset ";
    EXPECT_EQ(r.err,
              prefix + "0x00C holds F4, a flag byte with odd bits: the form does not carry it\n" +
                  prefix + "0x108 holds 00, an odd fill byte: the form does not carry it\n" +
                  prefix + "0x1AD holds 5A, an unknown band byte: the form does not carry it\n");
}

TEST_F(CliTest, ImportOntoABaseKeepsWhatTheFormLeavesOut) {
    const std::string base = quelro::test::Patch(quelro::test::FreshImage(), 0x173, "40");
    WriteDat("base.DAT", base);
    Write(At("form.json"), R"({"format": "quelro-dat", "version": 1, "settings": {"squelch": 5}})");
    const Result r =
        Run({"import", Arg("form.json"), "--base", Arg("base.DAT"), "-o", Arg("out.DAT")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(quelro::HexFromBytes(Read(At("out.DAT"))),
              "524D443437" + quelro::test::Patch(base, 0x124, "05"));
}

TEST_F(CliTest, BadDataFilesAreRefused) {
    WriteDat("short.DAT", quelro::test::FreshImage().substr(0, 2 * 0x32F)); // one byte short
    Write(At("tagless.DAT"), std::string(853, '\xFF'));
    fs::create_directory(At("folder.DAT"));
    const std::string json = Arg("out.json");
    ExpectRefusal(Run({"export", Arg("missing.DAT"), "-o", json}), "missing.DAT", "cannot open");
    ExpectRefusal(Run({"export", Arg("short.DAT"), "-o", json}), "short.DAT",
                  "not a Quelro data file");
    ExpectRefusal(Run({"info", Arg("tagless.DAT")}), "tagless.DAT", "not a Quelro data file");
    ExpectRefusal(Run({"export", Arg("folder.DAT")}), "folder.DAT", "folder");
    EXPECT_FALSE(fs::exists(At("missing.DAT")));
    EXPECT_FALSE(fs::exists(json));
}

// Every kind of bad file a user can name, given to info and export as a data
// file, to import as its JSON form and as its --base: each command refuses
// it with one line naming the file, or reads it as a data file (852 and 854
// bytes, a 10 MB file after its first 855 bytes, a Chinese name). Nothing in
// the folder is created or changed. A file rewritten while it is read has a
// test of its own below.
TEST_F(CliTest, BadFilesTable) {
    const std::string dat = quelro::BytesFromHex("524D443437" + quelro::test::FreshImage());
    const std::string json = R"({"format": "quelro-dat", "version": 1})";
    struct BadFile {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* asData; // what a refusal says; nullptr: read as a data file
        const char* asJson; // the same for import; nullptr: imported
    };
    const std::vector<BadFile> files{
        {"empty.DAT", [](const fs::path& p) { Write(p, ""); }, "not a Quelro data file",
         "not valid JSON"},
        {"four.DAT", [](const fs::path& p) { Write(p, "RMD4"); }, "not a Quelro data file",
         "not valid JSON"},
        {"tag.DAT", [&](const fs::path& p) { Write(p, "RMD48" + dat.substr(5)); },
         "not a Quelro data file", "not valid JSON"},
        {"820.DAT", [&](const fs::path& p) { Write(p, dat.substr(0, 820)); },
         "not a Quelro data file", "not valid JSON"},
        {"852.DAT", [&](const fs::path& p) { Write(p, dat.substr(0, 852)); }, nullptr,
         "not valid JSON"},
        {"854.DAT", [&](const fs::path& p) { Write(p, dat + '\x01'); }, nullptr, "not valid JSON"},
        {"10MB.DAT", [&](const fs::path& p) { Write(p, dat + std::string(10 << 20, '{')); },
         nullptr, "too large"},
        {"folder.DAT", [](const fs::path& p) { fs::create_directory(p); }, "folder", "folder"},
#ifndef _WIN32 // pipes, symbolic links and modes as Linux has them
        // A pipe is refused, not waited on.
        {"pipe.DAT", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "not a regular file", "not a regular file"},
        {"loop.DAT",
         [](const fs::path& p) {
             fs::create_symlink(p.filename().string() + ".2", p);
             fs::create_symlink(p.filename(), p.string() + ".2");
         },
         "cannot open", "cannot open"},
#endif
        {"频道备份.DAT", [&](const fs::path& p) { Write(p, dat); }, nullptr, "not valid JSON"},
        {"频道.json", [&](const fs::path& p) { Write(p, json); }, "not a Quelro data file",
         nullptr},
#ifndef _WIN32
        {"locked.DAT",
         [&](const fs::path& p) {
             Write(p, dat);
             fs::permissions(p, fs::perms::none);
         },
         "cannot open", "cannot open"},
#endif
    };
    for (const BadFile& f : files) f.make(At(f.name));
    const std::vector<std::string> before = Names();
    const std::string out = Arg("out.DAT");
    // Root reads any file: the unreadable one is readable there.
#ifdef _WIN32
    const bool root = false;
#else
    const bool root = ::geteuid() == 0;
#endif

    for (const BadFile& f : files) {
        SCOPED_TRACE(f.name);
        const std::string path = Arg(f.name);
        const char* asData = root && std::string(f.name) == "locked.DAT" ? nullptr : f.asData;
        const char* asJson =
            root && std::string(f.name) == "locked.DAT" ? "not valid JSON" : f.asJson;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"info", path},
              {"export", path, "-o", Arg("x.json")},
              {"import", Arg("good.json"), "--base", path, "-o", out}}) {
            Write(At("good.json"), json);
            const Result r = Run(args);
            if (asData) {
                ExpectRefusal(r, f.name, asData);
            } else {
                EXPECT_EQ(r.exit, 0) << args.front() << ": " << r.err;
            }
            fs::remove(At("x.json"));
            fs::remove(At("good.json"));
            fs::remove(out);
        }
        const Result r = Run({"import", path, "-o", out});
        if (asJson) {
            ExpectRefusal(r, f.name, asJson);
        } else {
            EXPECT_EQ(r.exit, 0) << r.err;
        }
        fs::remove(out);
    }
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(fs::file_size(At("10MB.DAT")), dat.size() + (10 << 20));
    EXPECT_EQ(Read(At("频道备份.DAT")), dat);
#ifndef _WIN32
    fs::permissions(At("locked.DAT"), fs::perms::owner_all);
#endif
}

// A file rewritten in place while it is read: every read sees either the
// whole file or too little of it, and says which.
TEST_F(CliTest, FileThatChangesWhileReadIsReadWholeOrRefused) {
    const std::string dat = quelro::BytesFromHex("524D443437" + quelro::test::FreshImage());
    Write(At("busy.DAT"), dat);
    const std::string whole = Run({"info", Arg("busy.DAT")}).out;
    ASSERT_FALSE(whole.empty());
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop) {
            std::ofstream file(At("busy.DAT"), std::ios::binary | std::ios::trunc);
            file.write(dat.data(), 400);
            file.flush();
            file.write(dat.data() + 400, static_cast<std::streamsize>(dat.size() - 400));
        }
    });
    int refused = 0;
    for (int i = 0; i < 20; ++i) {
        const Result r = Run({"info", Arg("busy.DAT")});
        if (r.exit == 0) {
            EXPECT_EQ(r.out, whole);
        } else {
            ExpectRefusal(r, "busy.DAT", "not a Quelro data file");
            ++refused;
        }
    }
    stop = true;
    writer.join();
    EXPECT_EQ(Names(), std::vector<std::string>{"busy.DAT"});
    RecordProperty("refused", refused);
}

TEST_F(CliTest, RefusedImportLeavesTheOutputAsItWas) {
    WriteDat("base.DAT", quelro::test::FreshImage());
    Write(At("out.DAT"), "old contents");
    Write(At("bad_value.json"),
          R"({"format": "quelro-dat", "version": 1, "settings": {"squelch": 12}})");
    Write(At("broken.json"), "{\"format\": \"quelro-dat\",\n \"version\": 1,,}");
    Write(At("list.json"), "[1, 2]");
    const std::string out = Arg("out.DAT");
    ExpectRefusal(Run({"import", Arg("bad_value.json"), "-o", out}), "bad_value.json",
                  "settings.squelch");
    ExpectRefusal(Run({"import", Arg("broken.json"), "-o", out}), "broken.json", "not valid JSON");
    ExpectRefusal(Run({"import", Arg("list.json"), "-o", out}), "list.json", "object");
    ExpectRefusal(Run({"import", Arg("nothing.json"), "-o", out}), "nothing.json", "cannot open");
    Write(At("good.json"), R"({"format": "quelro-dat", "version": 1})");
    ExpectRefusal(Run({"import", Arg("good.json"), "-o", out, "--base", Arg("nobase.DAT")}),
                  "nobase.DAT", "cannot open");
    EXPECT_EQ(Read(At("out.DAT")), "old contents");
    // Nothing else was created, no temporary file was left behind.
    EXPECT_EQ(Names(), (std::vector<std::string>{"bad_value.json", "base.DAT", "broken.json",
                                                 "good.json", "list.json", "out.DAT"}));
}

#ifndef _WIN32 // symbolic links, file modes and size limits as Linux has them
// An export or import whose output is its own input, by the same name, a
// symbolic link or a hard link, is refused with one line and changes nothing.
TEST_F(CliTest, OutputThatIsTheInputIsRefused) {
    WriteDat("radio.DAT", RichImage());
    Write(At("club.csv"), "Location,Frequency\r\n1,446.1\r\n");
    Write(At("form.json"), R"({"format": "quelro-dat", "version": 1})");
    fs::create_symlink("radio.DAT", At("link.DAT"));
    fs::create_hard_link(At("club.csv"), At("hard.csv"));
    const std::string radio = Arg("radio.DAT");
    const std::string club = Arg("club.csv");
    const std::string form = Arg("form.json");
    const struct {
        std::vector<std::string> args;
        const char* output;
        const char* what = "is the input file";
    } cases[] = {
        {{"export", radio, "-o", radio}, "radio.DAT"},
        {{"export", radio, "-o", radio, "--lang", "zh"}, "radio.DAT", "就是输入文件"},
        {{"export", radio, "-o", Arg("link.DAT"), "--format", "json"}, "link.DAT"},
        {{"export", Arg("link.DAT"), "--format", "csv", "-o", radio}, "radio.DAT"},
        {{"import", club, "-o", club}, "club.csv"},
        {{"import", club, "-o", Arg("hard.csv")}, "hard.csv"},
        {{"import", form, "--base", radio, "-o", form}, "form.json"},
    };
    const std::vector<std::string> before = Names();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        ExpectRefusal(Run(c.args), c.output, c.what);
    }
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(quelro::HexFromBytes(Read(At("radio.DAT"))), "524D443437" + RichImage());
    EXPECT_EQ(Read(At("club.csv")), "Location,Frequency\r\n1,446.1\r\n");
    EXPECT_EQ(Read(At("form.json")), R"({"format": "quelro-dat", "version": 1})");
    // Onto its own base, an import is an edit in place.
    EXPECT_EQ(Run({"import", form, "--base", radio, "-o", radio}).exit, 0);
}
#endif

TEST_F(CliTest, CsvExportImportRoundTripOverARichImage) {
    WriteDat("in.DAT", RichImage());
    const Result exported = Run({"export", Arg("in.DAT"), "-o", Arg("list.CSV")});
    EXPECT_EQ(exported.exit, 0) << exported.err;
    EXPECT_EQ(
        Read(At("list.CSV")),
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
        "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
        "RPT2CALL,DVCODE\r\n"
        "1,,462.562500,,0.000000,Cross,88.5,88.5,023,NN,023,Tone->DTCS,FM,6.25,S,High,,,,,\r\n"
        "2,,446.006250,+,5.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,Low,,,,,\r\n"
        "16,,400.000000,off,0.000000,DTCS,88.5,88.5,023,RR,023,Tone->Tone,FM,5.00,S,High,,,,,"
        "\r\n");
    EXPECT_EQ(Run({"export", Arg("in.DAT"), "--format", "csv"}).out, Read(At("list.CSV")));
    const Result imported =
        Run({"import", Arg("list.CSV"), "--base", Arg("in.DAT"), "-o", Arg("out.DAT")});
    EXPECT_EQ(imported.exit, 0) << imported.err;
    EXPECT_EQ(imported.err, "");
    // CSV has no busy lock column: channel 1's "off" (F0 at offset 12) comes
    // from the base's channel, and the round trip gives the same bytes.
    EXPECT_EQ(quelro::HexFromBytes(Read(At("out.DAT"))), "524D443437" + RichImage());
}

// Onto a base, a column the list lacks takes the base channel's value at the
// row's place (channel 1's high power, busy lock off and tones), and a new
// channel's where the base has none (channel 3); channel 16, not listed, is
// gone. Without a base, a new channel's values throughout.
TEST_F(CliTest, CsvImportOntoABaseKeepsWhatTheListHasNoColumnFor) {
    WriteDat("base.DAT", RichImage());
    Write(At("short.csv"), "Location,Frequency\r\n1,462.562500\r\n2,446.006250\r\n3,446.1\r\n");
    // 446.1 MHz both ways, no tones, carrier, low power, wide.
    const std::string channel3 = "0000614400006144FFFFFFFFF8D0FCFF";
    const std::string empty16 = "FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF";
    const struct {
        const char* name;
        bool base;
        std::string image;
    } cases[] = {
        // Channel 1 skips the scan as in the base; 2 and 3 scan (0x0006).
        {"onto the base", true,
         Patch(Patch(Patch(RichImage(), 0x20, channel3), 0xF0, empty16), 0x16E, "0600")},
        {"no base", false,
         Patch(Patch(Patch(Patch(FreshImage(), 0x00, "5062254650622546FFFFFFFFF8D0FCFF"), 0x10,
                           "2506604425066044FFFFFFFFF8D0FCFF"),
                     0x20, channel3),
               0x16E, "0700")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"import", Arg("short.csv"), "-o", Arg("out.DAT")};
        if (c.base) args.insert(args.end(), {"--base", Arg("base.DAT")});
        const Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(quelro::HexFromBytes(Read(At("out.DAT"))), "524D443437" + c.image);
    }
}

TEST_F(CliTest, CsvRowsLeftOutAreReportedAndStrictRefusesThem) {
    Write(At("list.csv"), "Frequency\n446.1\n146.52\n");
    const Result r = Run({"import", Arg("list.csv"), "-o", Arg("out.DAT")});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.err, "quelro-cli: " + Arg("list.csv") +
                         ": line 3: 146.52000 MHz is outside the band 400-500MHz; left out\n");
    EXPECT_TRUE(fs::exists(At("out.DAT")));
    ExpectRefusal(Run({"import", Arg("list.csv"), "--strict", "-o", Arg("strict.DAT")}), "list.csv",
                  "line 3");
    // The band given holds the other row.
    const Result vhf =
        Run({"import", Arg("list.csv"), "--band", "136-174MHz", "-o", Arg("vhf.DAT")});
    EXPECT_NE(vhf.err.find("line 2: 446.10000 MHz is outside the band 136-174MHz"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(At("strict.DAT")));

    // A header alone: nothing imported is an error with --strict, a warning
    // without.
    Write(At("header.csv"), "Location,Frequency\r\n");
    ExpectRefusal(Run({"import", Arg("header.csv"), "--strict", "-o", Arg("strict.DAT")}),
                  "header.csv", "no channel in the list");
    EXPECT_FALSE(fs::exists(At("strict.DAT")));
    const Result empty = Run({"import", Arg("header.csv"), "-o", Arg("none.DAT")});
    EXPECT_EQ(empty.exit, 0);
    EXPECT_EQ(empty.err, "quelro-cli: warning: " + Arg("header.csv") +
                             ": no channel in the list; the data file has none\n");
    const Result zh = Run({"import", Arg("header.csv"), "-o", Arg("none.DAT"), "--lang", "zh"});
    EXPECT_EQ(zh.exit, 0);
    EXPECT_EQ(zh.err, "quelro-cli: 警告：" + Arg("header.csv") +
                          ": 列表中没有信道；数据文件中也将没有信道\n");
}

TEST_F(CliTest, CsvRefusalsNameTheLineAndColumnAndWriteNothing) {
    Write(At("quote.csv"), "Frequency,Mode\n446.1,FM\n446.2,F\"M\n");
    Write(At("header.csv"), "Location,Name\n1,x\n");
    Write(At("huge.csv"), "Frequency\n" + std::string(1 << 20, '\n'));
    fs::create_directory(At("folder.csv"));
    const std::string out = Arg("out.DAT");
    ExpectRefusal(Run({"import", Arg("quote.csv"), "-o", out}), "quote.csv",
                  "line 3, field 2: not valid CSV");
    ExpectRefusal(Run({"import", Arg("header.csv"), "-o", out}), "header.csv",
                  "line 1, column Frequency");
    ExpectRefusal(Run({"import", Arg("huge.csv"), "-o", out}), "huge.csv", "too large");
    ExpectRefusal(Run({"import", Arg("folder.csv"), "-o", out}), "folder.csv", "folder");
    ExpectRefusal(Run({"import", Arg("none.csv"), "-o", out}), "none.csv", "cannot open");
    // --format json reads a .csv name as JSON.
    ExpectRefusal(Run({"import", Arg("header.csv"), "--format", "json", "-o", out}), "header.csv",
                  "not valid JSON");
    EXPECT_FALSE(fs::exists(At("out.DAT")));
}

TEST_F(CliTest, UnwritableOutputIsReported) {
    Write(At("good.json"), R"({"format": "quelro-dat", "version": 1})");
    const std::string out = quelro::Utf8Of(At("no-such-folder") / "out.DAT");
    ExpectRefusal(Run({"import", Arg("good.json"), "-o", out}), "out.DAT", "cannot write");
    ExpectRefusal(Run({"new", "-o", out}), "out.DAT", "cannot write");

#ifndef _WIN32
    // Standard output on a full disk: every command that prints fails.
    WriteDat("in.DAT", FreshImage());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", Arg("in.DAT")},
                                                 {"export", Arg("in.DAT")},
                                                 {"new", "-o", Arg("new.DAT")}}) {
        SCOPED_TRACE(args.front());
        ProcessOptions full;
        full.stdoutFile = "/dev/full";
        const Result r = Run(args, full);
        EXPECT_EQ(r.exit, 2);
        EXPECT_EQ(r.err, "quelro-cli: (stdout): cannot write\n");
    }
#endif
}

#ifndef _WIN32 // symbolic links, file modes and size limits as Linux has them
// Outputs are replaced through symbolic links, keep their permissions, and
// stay as they were when the file size limit refuses the write.
TEST_F(CliTest, OutputsFollowLinksAndSurviveTheSizeLimit) {
    Write(At("real.DAT"), "old contents");
    fs::permissions(At("real.DAT"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.DAT", At("link.DAT"));
    const Result limited = RunProcess("/bin/sh", {"-c", "ulimit -f 1; exec \"$0\" \"$@\"",
                                                  CliPath(), "new", "-o", Arg("link.DAT")});
    ExpectRefusal(limited, "link.DAT", "file size limit");
    EXPECT_EQ(Read(At("real.DAT")), "old contents");
    ASSERT_EQ(Run({"new", "-o", Arg("link.DAT")}).exit, 0);
    EXPECT_TRUE(fs::is_symlink(At("link.DAT")));
    EXPECT_EQ(Read(At("real.DAT")).size(), 853u);
    EXPECT_EQ(fs::status(At("real.DAT")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.DAT", "real.DAT"}));
}
#endif

// Without --lang, the language last chosen in the window program: its
// settings file's third byte (0 Simplified, 1 English, 2 Traditional).
TEST_F(CliTest, LanguageIsTheStoredOneUnlessGiven) {
    WriteDat("in.DAT", FreshImage());
    Write(At("bad.csv"), "Name\n");
    const struct {
        const char* stored; // nullptr: no settings file
        std::vector<std::string> lang;
        const char* info; // in the channel table's header
        const char* refusal;
    } cases[] = {
        {nullptr, {}, "RX frequency", "line 1, column Frequency"},
        {"\x00\x00\x00", {}, "接收频率", "第1行，Frequency列"},
        {"\x00\x00\x02", {}, "接收頻率", "第1行，Frequency列"},
        {"\x00\x00\x00", {"--lang", "en"}, "RX frequency", "line 1, column Frequency"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.info);
        fs::remove_all(At("config"));
        if (c.stored) {
            fs::create_directories(At("config") / "quelro");
            Write(At("config") / "quelro" / "parameter", std::string(c.stored, 3));
        }
        std::vector<std::string> info{"info", Arg("in.DAT")};
        info.insert(info.end(), c.lang.begin(), c.lang.end());
        const Result shown = Run(info);
        EXPECT_EQ(shown.exit, 0) << shown.err;
        EXPECT_NE(shown.out.find(c.info), std::string::npos) << shown.out;
        std::vector<std::string> import{"import", Arg("bad.csv"), "-o", Arg("out.DAT")};
        import.insert(import.end(), c.lang.begin(), c.lang.end());
        ExpectRefusal(Run(import), "bad.csv", c.refusal);
    }
    fs::remove_all(At("config"));
}

TEST_F(CliTest, InfoShowsTheChannelTable) {
    WriteDat("in.DAT", quelro::test::Patch(quelro::test::FreshImage(), 0x10,
                                           "506225465062254613287503F0F0FCFF"));
    const Result en = Run({"info", Arg("in.DAT")});
    EXPECT_EQ(en.exit, 0) << en.err;
    EXPECT_NE(en.out.find("RX frequency"), std::string::npos);
    const std::size_t row = en.out.find("\n  02 ");
    ASSERT_NE(row, std::string::npos) << en.out;
    const std::string line = en.out.substr(row + 1, en.out.find('\n', row + 1) - row - 1);
    EXPECT_NE(line.find("462.56250"), std::string::npos) << line;
    EXPECT_NE(line.find("D023N"), std::string::npos) << line;
    const Result zh = Run({"info", Arg("in.DAT"), "--lang", "zh"});
    EXPECT_EQ(zh.exit, 0);
    EXPECT_NE(zh.out.find("接收频率"), std::string::npos);
}

} // namespace
