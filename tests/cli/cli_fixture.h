// The fixture of the quelro-cli binary tests: a temporary folder, the binary
// run with arguments (stdout, stderr and exit status caught), and the one
// stderr line a refusal gives.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "codes/conversions.h"
#include "i18n/unicode_path.h"
#include "support/process_run.h"

namespace quelro::test {

namespace fs = std::filesystem;

using Result = ProcessRun;

inline std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class CliTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::make_unique<QTemporaryDir>(
            QString::fromStdString(Utf8Of(fs::temp_directory_path() / "quelro-cli-test-XXXXXX")));
        ASSERT_TRUE(folder_->isValid());
        dir_ = PathFromUtf8(folder_->path().toStdString());
    }

    fs::path At(const std::string& name) const { return dir_ / PathFromUtf8(name); }
    // The file `name` of the folder as an argument (UTF-8).
    std::string Arg(const std::string& name) const { return Utf8Of(At(name)); }

    // quelro-cli with `args`; the settings of the window program are looked
    // for in config/ here (XDG_CONFIG_HOME on Linux, %APPDATA% on Windows).
    Result Run(const std::vector<std::string>& args, ProcessOptions options = {}) const {
        const std::string config = Utf8Of(dir_ / "config");
        options.environment.push_back({"XDG_CONFIG_HOME", config});
        options.environment.push_back({"APPDATA", config});
        return RunProcess(CliPath(), args, options);
    }

    // The CLI of this build. The Windows tests run under wine, where the
    // build's own (Linux) path means nothing: the CLI sits one folder above
    // the test program.
    static fs::path CliPath() {
#ifdef _WIN32
        return OwnFolder().parent_path() / fs::path(QUELRO_CLI_PATH).filename();
#else
        return QUELRO_CLI_PATH;
#endif
    }

    // The names in the folder, to show that nothing (no temporary) was left.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(Utf8Of(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    // A data file holding `imageHex`.
    void WriteDat(const std::string& name, const std::string& imageHex) const {
        Write(At(name), quelro::BytesFromHex("524D443437" + imageHex));
    }

    std::unique_ptr<QTemporaryDir> folder_;
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
