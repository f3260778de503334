// Port numbers to devices, the PARMRK stream decoder and the read backups.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "codes/conversions.h"
#include "files/data_file.h"
#include "image/memory_image.h"
#include "link/comm_break_decoder.h"
#include "link/parmrk_decoder.h"
#include "link/port_diagnosis.h"
#include "link/port_map.h"
#include "link/read_backup.h"

namespace quelro {
namespace {

namespace fs = std::filesystem;

class TempFolder {
  public:
    TempFolder() {
        path_ = fs::temp_directory_path() /
                ("quelro-link-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text;
}

TEST(PortMap, DevicesInComOrder) {
    EXPECT_EQ(
        OrderSerialDevices({"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyUSB10",
                            "/dev/ttyUSB2", "/dev/rfcomm0", "/dev/ttyS0"}),
        (std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyS0",
                                  "/dev/ttyS2", "/dev/ttyS10", "/dev/rfcomm0"}));
}

#ifndef _WIN32 // Windows names its ports itself (ComNames)
TEST(PortMap, PortsFileLineFirstThenTheNthDevice) {
    TempFolder config;
    const std::vector<std::string> present{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1"};
    // Without a ports file: the devices present, USB first.
    EXPECT_EQ(DeviceForPort(1, config.path(), present)->path, "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForPort(3, config.path(), present)->path, "/dev/ttyS1");
    EXPECT_FALSE(DeviceForPort(4, config.path(), present).has_value());

    WriteText(config.path() / "ports", "/dev/pts/7\n\n  ttyUSB3 \r\n");
    const auto com1 = DeviceForPort(1, config.path(), present);
    EXPECT_EQ(com1->path, "/dev/pts/7");
    EXPECT_TRUE(com1->fromPortsFile);
    // An empty line leaves the port to the device list.
    EXPECT_EQ(DeviceForPort(2, config.path(), present)->path, "/dev/ttyS0");
    EXPECT_FALSE(DeviceForPort(2, config.path(), present)->fromPortsFile);
    EXPECT_EQ(DeviceForPort(3, config.path(), present)->path, "/dev/ttyUSB3");
    EXPECT_FALSE(DeviceForPort(0, config.path(), present).has_value());
    EXPECT_FALSE(DeviceForPort(9, config.path(), present).has_value());
}
#endif

TEST(PortMap, CommentLinesOfThePortsFileDoNotCount) {
    const std::string text = "# my cables\n/dev/pts/7\n  # the second one is the USB one\n\n"
                             "#/dev/ttyS9\n/dev/ttyUSB3\n";
    EXPECT_EQ(PortsFileDevice(text, 1), "/dev/pts/7");
    EXPECT_FALSE(PortsFileDevice(text, 2).has_value()); // the empty line
    EXPECT_EQ(PortsFileDevice(text, 3), "/dev/ttyUSB3");
    EXPECT_FALSE(PortsFileDevice(text, 4).has_value());
    // The message names the file's own line, comments counted.
    const std::pair<int, int> lines[] = {{1, 2}, {2, 4}, {3, 6}, {4, 7}, {8, 11}};
    for (const auto& [port, line] : lines) EXPECT_EQ(PortsFileLineNumber(text, port), line) << port;
    EXPECT_EQ(PortsFileLineNumber("", 3), 3);
    EXPECT_EQ(PortsFileLineNumber("# only a comment", 1), 2);
}

TEST(PortMap, ComNames) {
    EXPECT_EQ(PortNumberFromName("COM1"), 1);
    EXPECT_EQ(PortNumberFromName("com8"), 8);
    for (const char* name : {"COM0", "COM9", "COM10", "CON1", "/dev/ttyS0", ""})
        EXPECT_FALSE(PortNumberFromName(name).has_value()) << name;
    const std::pair<const char*, const char*> paths[] = {
        {"COM3", "\\\\.\\COM3"}, {"COM12", "\\\\.\\COM12"}, {"\\\\.\\COM7", "\\\\.\\COM7"}};
    for (const auto& [port, path] : paths) EXPECT_EQ(WindowsDevicePath(port), path);
#ifdef _WIN32
    // COMn is the system's own port of that name, whatever is present.
    TempFolder config;
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(DeviceForPort(n, config.path(), {})->path, "COM" + std::to_string(n));
    EXPECT_FALSE(DeviceForPort(9, config.path(), {"COM9"}).has_value());
#endif
}

TEST(PortMap, PermissionLineNamesTheDeviceAndTheGroup) {
    OpenProblem problem;
    problem.kind = OpenProblem::Kind::NotInGroup;
    problem.device = "/dev/ttyUSB0";
    problem.group = "dialout";
    const std::string en = OpenProblemText(problem, 1, kEnglish);
    EXPECT_NE(en.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(en.find("dialout"), std::string::npos);
    const std::string zh = OpenProblemText(problem, 1, kSimplified);
    EXPECT_NE(zh.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(zh.find("dialout"), std::string::npos);
    EXPECT_NE(zh, en);
}

using Events = std::vector<SerialEvent>;
SerialEvent Data(const std::string& hex) {
    return {SerialEvent::Data, BytesFromHex(hex)};
}
const SerialEvent kBreak{SerialEvent::Break, {}};

TEST(Parmrk, MarkersBecomeBreaksAndPlainBytes) {
    struct Case {
        const char* name;
        std::vector<const char*> reads; // hex of each read
        Events events;
    };
    const std::vector<Case> cases{
        {"plain", {"0106"}, {Data("0106")}},
        {"escaped FF", {"01FFFF02"}, {Data("01FF02")}},
        {"break between data", {"06FF000006"}, {Data("06"), kBreak, Data("0006")}},
        {"break alone", {"FF0000"}, {kBreak, Data("00")}},
        {"framing error keeps the byte", {"FF0041"}, {Data("41")}},
        {"split escape", {"01FF", "FF02"}, {Data("01"), Data("FF02")}},
        {"split break", {"FF", "00", "0006"}, {kBreak, Data("0006")}},
    };
    for (const Case& c : cases) {
        ParmrkDecoder decoder;
        Events all;
        for (const char* read : c.reads)
            for (SerialEvent& e : decoder.Feed(BytesFromHex(read))) all.push_back(std::move(e));
        EXPECT_EQ(all, c.events) << c.name;
    }
}

// The Windows port: the same events from what ClearCommError and the read
// report, so that the protocol sees one stream on both systems.
TEST(CommBreak, ReportedBreaksStandWhereTheirNulIs) {
    constexpr unsigned long kFrame = 0x08; // CE_FRAME
    struct Case {
        const char* name;
        std::vector<std::pair<unsigned long, const char*>> reads; // errors, hex
        Events events;
    };
    const std::vector<Case> cases{
        {"plain, FF as it is", {{0, "01FF02"}}, {Data("01FF02")}},
        {"break between data", {{kCommErrorBreak, "060006"}}, {Data("06"), kBreak, Data("0006")}},
        {"break alone", {{kCommErrorBreak, "00"}}, {kBreak, Data("00")}},
        {"break before its NUL arrives",
         {{kCommErrorBreak, ""}, {0, "0006"}},
         {kBreak, Data("0006")}},
        {"break without a NUL", {{kCommErrorBreak, "06"}}, {kBreak, Data("06")}},
        {"framing error keeps the byte", {{kFrame, "41"}}, {Data("41")}},
        {"one break, two reads",
         {{kCommErrorBreak | kFrame, "0006"}, {0, "0006"}},
         {kBreak, Data("0006"), Data("0006")}},
    };
    for (const Case& c : cases) {
        CommBreakDecoder decoder;
        Events all;
        for (const auto& [errors, read] : c.reads)
            for (SerialEvent& e : decoder.Feed(errors, BytesFromHex(read)))
                all.push_back(std::move(e));
        EXPECT_EQ(all, c.events) << c.name;
    }
}

std::string ReadImageHex() {
    std::string hex;
    for (int i = 0; i < 1024; ++i) hex += (i < 848 ? "A5" : "5A");
    return hex;
}

TEST(ReadBackup, KeepsTheImageAsADataFile) {
    TempFolder data;
    const fs::path folder = data.path() / "backups";
    const BackupResult kept = KeepReadBackup(folder, ReadImageHex(), "20240501-093000");
    ASSERT_TRUE(kept.ok) << kept.error;
    EXPECT_EQ(kept.file, folder / "20240501-093000.DAT");
    std::ifstream in(kept.file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 853u);
    EXPECT_EQ(bytes.substr(0, 5), "RMD47");
    EXPECT_EQ(bytes.substr(5), std::string(848, '\xA5'));

    EXPECT_EQ(KeepReadBackup(folder, ReadImageHex(), "20240501-093000").file,
              folder / "20240501-093000-2.DAT");
    EXPECT_EQ(KeepReadBackup(folder, ReadImageHex(), "20240501-093000").file,
              folder / "20240501-093000-3.DAT");
}

TEST(ReadBackup, KeepsOnlyTheNewestAndLeavesOtherFiles) {
    TempFolder data;
    WriteText(data.path() / "notes.txt", "mine");
    WriteText(data.path() / "20200101-000000.txt", "mine too");
    for (const char* stamp : {"20240102-000000", "20240101-000000", "20240103-000000"})
        ASSERT_TRUE(KeepReadBackup(data.path(), ReadImageHex(), stamp, 3).ok);
    ASSERT_TRUE(KeepReadBackup(data.path(), ReadImageHex(), "20240103-000000", 3).ok);
    ASSERT_TRUE(KeepReadBackup(data.path(), ReadImageHex(), "20240103-000000", 3).ok);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(data.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names,
              (std::set<std::string>{"notes.txt", "20200101-000000.txt", "20240103-000000.DAT",
                                     "20240103-000000-2.DAT", "20240103-000000-3.DAT"}));
    // The newest by stamp and number; "-3" sorts after "-2" and the plain name.
    EXPECT_EQ(NewestReadBackup(data.path()), data.path() / "20240103-000000-3.DAT");
    EXPECT_EQ(NewestReadBackup(data.path() / "none"), fs::path());
}

TEST(ReadBackup, FailureIsReportedNotThrown) {
    TempFolder data;
    WriteText(data.path() / "backups", "a file where the folder should be");
    const BackupResult kept =
        KeepReadBackup(data.path() / "backups", ReadImageHex(), "20240501-093000");
    EXPECT_FALSE(kept.ok);
    EXPECT_NE(kept.error.find("backups"), std::string::npos);
}

} // namespace
} // namespace quelro
