// The fixture of the quelro-cli binary tests: a temporary folder, the binary
// run with arguments (stdout, stderr and exit status caught), and the one
// stderr line a refusal gives.
#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codes/conversions.h"

namespace quelro::test {

namespace fs = std::filesystem;

struct Result {
    int exit = -1;
    std::string out;
    std::string err;
};

inline std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class CliTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quelro-cli-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path At(const std::string& name) const { return dir_ / name; }

    // `shell` runs first in the same shell (to set a limit). The settings of
    // the window program are looked for in config/ here.
    Result Run(const std::vector<std::string>& args, const std::string& shell = {}) const {
        std::string command = shell + "XDG_CONFIG_HOME=" + Quote((dir_ / "config").string()) + " " +
                              Quote(QUELRO_CLI_PATH);
        for (const std::string& arg : args) command += " " + Quote(arg);
        command += " >" + Quote(At("stdout.txt")) + " 2>" + Quote(At("stderr.txt"));
        const int status = std::system(command.c_str());
        Result result;
        result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = Read(At("stdout.txt"));
        result.err = Read(At("stderr.txt"));
        fs::remove(At("stdout.txt"));
        fs::remove(At("stderr.txt"));
        return result;
    }

    // The names in the folder, to show that nothing (no temporary) was left.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A data file holding `imageHex`.
    void WriteDat(const std::string& name, const std::string& imageHex) const {
        Write(At(name), quelro::BytesFromHex("524D443437" + imageHex));
    }

    fs::path dir_;
};

// One line on stderr that names `file` and contains `what`.
inline void ExpectRefusal(const Result& r, const std::string& file, const std::string& what) {
    EXPECT_EQ(r.exit, 2);
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(what), std::string::npos) << r.err;
}

} // namespace quelro::test
