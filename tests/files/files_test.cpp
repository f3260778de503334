// The .DAT data file and the parameter file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "codes/conversions.h"
#include "files/data_file.h"
#include "files/parameter_file.h"
#include "i18n/platform.h"
#include "i18n/unicode_path.h"
#include "image/memory_image.h"

#include "support/channel_texts.h"

namespace quelro {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("quelro-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Spit(const fs::path& p, std::string_view bytes) {
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    fs::path dir_;
};

TEST_F(FilesTest, SaveWritesTagAndImageAndReplacesLongerFiles) {
    const fs::path file = dir_ / "ch1.DAT";
    Spit(file, std::string(2000, 'x'));
    ASSERT_TRUE(WriteDataFile(file, EncodeImage(ProgramState::StartUp())).ok);
    const std::string bytes = Slurp(file);
    ASSERT_EQ(bytes.size(), 853u);
    EXPECT_EQ(HexFromBytes(bytes.substr(0, 21)), "524D443437FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF");
    EXPECT_EQ(fs::directory_iterator(dir_)->path(), file); // no temporary left behind
}

// Names outside every 8-bit code page reach the system whole from the UTF-8
// text a command line or a settings file gives them in, and come back as
// they were.
TEST_F(FilesTest, UnicodeNamesRoundTrip) {
    const struct {
        const char* folder;
        const char* name;
        std::u16string systemName;
    } cases[] = {{"王", "收音机.DAT", u"\u6536\u97F3\u673A.DAT"},
                 {"Ünï cöde", "Kanal ÄÖ.DAT", u"Kanal \u00C4\u00D6.DAT"},
                 {"plain", "ch1.DAT", u"ch1.DAT"}};
    const std::string image = EncodeImage(ProgramState::StartUp());
    for (const auto& c : cases) {
        const fs::path folder = dir_ / PathFromUtf8(c.folder);
        fs::create_directories(folder);
        ASSERT_TRUE(WriteDataFile(folder / PathFromUtf8(c.name), image).ok) << c.name;
        const fs::path listed = fs::directory_iterator(folder)->path();
        EXPECT_EQ(listed.filename().u16string(), c.systemName);
        EXPECT_EQ(Utf8Of(listed.filename()), c.name);
        EXPECT_EQ(Utf8Of(listed.parent_path().filename()), c.folder);
        const DataFileRead read = ReadDataFile(PathFromUtf8(Utf8Of(listed)));
        ASSERT_EQ(read.status, DataFileRead::Ok) << c.name;
        EXPECT_EQ(read.imageHex, image);
    }
}

TEST_F(FilesTest, OpenRoundTripsAndRefusesForeignOrShortFiles) {
    const fs::path file = dir_ / "a.DAT";
    ProgramState s = ProgramState::StartUp();
    s.Channel(1) = test::ChannelAt("462.56250");
    ASSERT_TRUE(WriteDataFile(file, EncodeImage(s)).ok);
    const DataFileRead read = ReadDataFile(file);
    ASSERT_EQ(read.status, DataFileRead::Ok);
    EXPECT_EQ(read.imageHex, EncodeImage(s));

    const std::string good = Slurp(file);
    const struct {
        const char* name;
        std::string bytes;
        DataFileRead::Status status;
    } cases[] = {
        {"wrong tag", "RMD48" + good.substr(5), DataFileRead::WrongType},
        {"empty", "", DataFileRead::WrongType},
        {"tag only", "RMD47", DataFileRead::WrongType},
        {"820 bytes", good.substr(0, 820), DataFileRead::WrongType},
        {"821 bytes", good.substr(0, 821), DataFileRead::Ok},
        {"longer", good + std::string(100, '\0'), DataFileRead::Ok},
    };
    for (const auto& c : cases) {
        Spit(file, c.bytes);
        const DataFileRead r = ReadDataFile(file);
        EXPECT_EQ(r.status, c.status) << c.name;
        if (r.status == DataFileRead::Ok) {
            ProgramState t = ProgramState::StartUp();
            EXPECT_TRUE(DecodeImage(t, r.imageHex)) << c.name;
        }
    }
}

TEST_F(FilesTest, OpeningAMissingNameCreatesNothing) {
    const fs::path file = dir_ / "missing.DAT";
    EXPECT_EQ(ReadDataFile(file).status, DataFileRead::CannotOpen);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(FilesTest, FailedSaveLeavesTheOldFile) {
    const fs::path file = dir_ / "keep.DAT";
    Spit(file, "old contents");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = FolderWritableCode(dir_) == 0; // root ignores the mode
    const DataFileWrite result = WriteDataFile(file, EncodeImage(ProgramState::StartUp()));
    fs::permissions(dir_, fs::perms::owner_all);
    if (!writable) {
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(Slurp(file), "old contents");
    }
    EXPECT_FALSE(
        WriteDataFile(dir_ / "no-such-folder" / "x.DAT", EncodeImage(ProgramState::StartUp())).ok);
    EXPECT_FALSE(WriteDataFile(file, "FFFF").ok);
}

// A save never turns a folder, a pipe or a read-only file into a data file,
// and gives up on a loop of links.
TEST_F(FilesTest, SaveRefusesWhatItMustNotReplace) {
    const std::string image = EncodeImage(ProgramState::StartUp());
    fs::create_directory(dir_ / "folder.DAT");
    Spit(dir_ / "readonly.DAT", "old");
    // Windows marks the file read-only.
    fs::permissions(dir_ / "readonly.DAT", fs::perms::owner_read);
#ifdef _WIN32
    const bool root = false;
#else
    ASSERT_EQ(::mkfifo((dir_ / "pipe.DAT").c_str(), 0600), 0);
    fs::create_symlink("loop2.DAT", dir_ / "loop1.DAT");
    fs::create_symlink("loop1.DAT", dir_ / "loop2.DAT");
    const bool root = EffectiveUserId() == 0; // root may write any file
#endif
    struct Case {
        const char* name;
        int code;
    };
    std::vector<Case> cases{{"folder.DAT", EISDIR}, {"readonly.DAT", root ? 0 : EACCES}};
#ifndef _WIN32
    cases.insert(cases.end(), {{"pipe.DAT", kNotRegularFile}, {"loop1.DAT", ELOOP}});
#endif
    for (const auto& c : cases) {
        const DataFileWrite written = WriteDataFile(dir_ / c.name, image);
        EXPECT_EQ(written.ok, c.code == 0) << c.name;
        EXPECT_EQ(written.code, c.code) << c.name;
    }
#ifndef _WIN32
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe.DAT"));
#endif
    if (!root) {
        EXPECT_EQ(Slurp(dir_ / "readonly.DAT"), "old");
    }
    fs::permissions(dir_ / "readonly.DAT", fs::perms::owner_all);
}

TEST_F(FilesTest, ParameterFile) {
    const fs::path file = dir_ / "cfg" / "parameter";
    Parameters p = ReadParameterFile(file);
    EXPECT_FALSE(p.locked);
    EXPECT_EQ(p.savedPort, 0);
    EXPECT_EQ(p.languageMode, 0);
    ASSERT_TRUE(WriteParameterFile(file, {true, 3, 2}));
    EXPECT_EQ(Slurp(file), std::string("\x01\x03\x02", 3));
    p = ReadParameterFile(file);
    EXPECT_TRUE(p.locked);
    EXPECT_EQ(p.savedPort, 3);
    EXPECT_EQ(p.languageMode, 2);

    const struct {
        std::string bytes;
        bool locked;
        int port;
        int language;
    } cases[] = {{std::string("\x01", 1), true, 0, 0},
                 {std::string("\x00\x09\x07", 3), false, 9, 0},
                 {std::string("\x02\x01\x01", 3), false, 1, 1}};
    for (const auto& c : cases) {
        Spit(file, c.bytes);
        p = ReadParameterFile(file);
        EXPECT_EQ(p.locked, c.locked);
        EXPECT_EQ(p.savedPort, c.port);
        EXPECT_EQ(p.languageMode, c.language);
    }
}

} // namespace
} // namespace quelro
