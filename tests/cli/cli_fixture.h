// The fixture of the quelro-cli binary tests: a temporary folder, the binary
// run with arguments (stdout, stderr and exit status caught), and the one
// stderr line a refusal gives.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codes/conversions.h"
#include "i18n/unicode_path.h"

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

#ifdef _WIN32
// An argument as the C runtime of the program started will split it back.
inline std::wstring WindowsQuote(const std::string& arg) {
    const std::wstring wide = PathFromUtf8(arg).wstring();
    std::wstring quoted = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : wide) {
        if (c == L'\\') {
            ++slashes;
        } else {
            // Backslashes are literal unless a quote follows them: then
            // each is doubled and the quote escaped.
            if (c == L'"') quoted.append(slashes + 1, L'\\');
            slashes = 0;
        }
        quoted += c;
    }
    return quoted.append(slashes, L'\\') + L"\"";
}
#endif

class CliTest : public testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        dir_ = fs::temp_directory_path() /
               ("quelro-cli-test-" + std::to_string(std::random_device()() % 100000000));
        ASSERT_TRUE(fs::create_directory(dir_));
#else
        std::string pattern = (fs::temp_directory_path() / "quelro-cli-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
#endif
    }
    void TearDown() override {
        fs::remove_all(dir_);
    }

    fs::path At(const std::string& name) const {
        return dir_ / PathFromUtf8(name);
    }
    // The file `name` of the folder as an argument (UTF-8).
    std::string Arg(const std::string& name) const {
        return Utf8Of(At(name));
    }

    // `shell` runs first in the same shell (to set a limit). The settings of
    // the window program are looked for in config/ here.
#ifdef _WIN32
    // Windows: the program started with its output in files, and the
    // settings of the window program looked for in config\ (%APPDATA%).
    Result Run(const std::vector<std::string>& args) const {
        // The CLI sits one folder above the test program: found from where
        // this program runs, since the build's own path is a Linux one
        // when the tests run under wine.
        std::wstring own(32768, L'\0');
        own.resize(::GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size())));
        const fs::path cli =
            fs::path(own).parent_path().parent_path() / fs::path(QUELRO_CLI_PATH).filename();
        std::wstring command = WindowsQuote(Utf8Of(cli));
        for (const std::string& arg : args) command += L" " + WindowsQuote(arg);
        ::SetEnvironmentVariableW(L"APPDATA", (dir_ / "config").c_str());
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const auto output = [&](const char* name) {
            return ::CreateFileW(At(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output("stdout.txt");
        startup.hStdError = output("stderr.txt");
        PROCESS_INFORMATION process{};
        Result result;
        if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &process)) {
            ::WaitForSingleObject(process.hProcess, INFINITE);
            DWORD code = 0;
            ::GetExitCodeProcess(process.hProcess, &code);
            result.exit = static_cast<int>(code);
            ::CloseHandle(process.hProcess);
            ::CloseHandle(process.hThread);
        }
        ::CloseHandle(startup.hStdOutput);
        ::CloseHandle(startup.hStdError);
        result.out = Read(At("stdout.txt"));
        result.err = Read(At("stderr.txt"));
        fs::remove(At("stdout.txt"));
        fs::remove(At("stderr.txt"));
        return result;
    }
#else
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
#endif

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
