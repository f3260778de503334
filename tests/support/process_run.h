// The one way a test runs a program to its end (quelro-cli above all) and
// catches its exit status and output: on Linux, and under wine where the
// Windows build of the tests runs.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace quelro::test {

struct ProcessRun {
    int exit = -1; // -1: it crashed, did not start or outlived the time given
    std::string out;
    std::string err;
};

struct ProcessOptions {
    // Set on top of this process's environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // Where standard output goes instead of `out` (for example /dev/full).
    std::filesystem::path stdoutFile;
    int timeoutMs = 60000;
};

// The folder of this test program.
std::filesystem::path OwnFolder();

ProcessRun RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const ProcessOptions& options = {});

} // namespace quelro::test
