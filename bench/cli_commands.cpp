// bench/cli_commands: quelro-cli's diff and print as whole processes, the way
// a script runs them, beside quelro-cli info in the same run. Each command
// runs a few times to warm the caches, then `runs` times; the figures are the
// median, the 90th percentile and the fastest of the wall-clock times from
// spawning the process to its exit, and the median processor time (user and
// system), which a busy machine inflates less. The claims: diff of two .DAT files under
// 20 ms, the PDF of the channel sheet under 300 ms.
//
//   bench_cli_commands [runs]      (default 40)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the program once with stdout and stderr to /dev/null; returns the
// wall-clock time in milliseconds, the exit status and the processor time
// (user and system) the process took.
double RunOnce(const std::vector<std::string>& args, int& status, double* cpu = nullptr) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        status = -1;
        return 0;
    }
    int wait = 0;
    rusage usage{};
    wait4(pid, &wait, 0, &usage);
    if (cpu != nullptr)
        *cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

struct Figures {
    double median, p90, fastest, cpu; // cpu: the median processor time
};

Figures Measure(const std::vector<std::string>& args, int runs, int expectedExit) {
    int status = 0;
    for (int i = 0; i < 3; ++i) RunOnce(args, status);
    std::vector<double> times;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        double cpu = 0;
        times.push_back(RunOnce(args, status, &cpu));
        cpus.push_back(cpu);
        if (status != expectedExit) {
            std::fprintf(stderr, "%s exited %d, not %d\n", args[1].c_str(), status, expectedExit);
            std::exit(1);
        }
    }
    std::sort(times.begin(), times.end());
    std::sort(cpus.begin(), cpus.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10], times.front(),
            cpus[cpus.size() / 2]};
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 40;
    const std::string cli = QUELRO_CLI_PATH;
    const fs::path dir =
        fs::temp_directory_path() / ("quelro-bench-cli-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string a = (dir / "a.DAT").string();
    const std::string b = (dir / "b.DAT").string();
    int status = 0;
    RunOnce({cli, "-q", "import", QUELRO_DEMO_JSON, "-o", a}, status);
    if (status != 0) {
        std::fprintf(stderr, "cannot make the data file from %s\n", QUELRO_DEMO_JSON);
        return 1;
    }
    // B: channel 1's receive frequency, a tone, the squelch and a fill byte changed.
    std::string bytes = Read(a);
    for (auto [offset, value] : {std::pair{5 + 0x01, 0x13}, std::pair{5 + 0x0A, 0x75},
                                 std::pair{5 + 0x124, 0x05}, std::pair{5 + 0x108, 0x00}})
        bytes[static_cast<std::size_t>(offset)] = static_cast<char>(value);
    std::ofstream(b, std::ios::binary) << bytes;

    struct Case {
        const char* what;
        std::vector<std::string> args;
        int exit;
        double limit; // ms, 0: none
    };
    const std::string pdf = (dir / "sheet.pdf").string();
    const std::vector<Case> cases{
        {"info A.DAT", {cli, "info", a}, 0, 0},
        {"diff A.DAT B.DAT", {cli, "diff", a, b}, 1, 20},
        {"diff A.DAT B.DAT --lang zh", {cli, "diff", a, b, "--lang", "zh"}, 1, 20},
        {"diff A.DAT B.DAT --json", {cli, "diff", a, b, "--json"}, 1, 20},
        {"print A.DAT -o sheet.pdf", {cli, "-q", "print", a, "-o", pdf}, 0, 300},
        {"print A.DAT -o sheet.pdf --lang zh",
         {cli, "-q", "print", a, "-o", pdf, "--lang", "zh"},
         0,
         300},
        {"print A.DAT -o sheet.html",
         {cli, "-q", "print", a, "-o", (dir / "s.html").string()},
         0,
         0},
    };
    std::printf("quelro-cli as a whole process, %d runs each (ms)\n", runs);
    std::printf("%-38s %8s %8s %8s %8s  %s\n", "command", "median", "p90", "fastest", "cpu",
                "limit (median)");
    bool met = true;
    for (const Case& c : cases) {
        const Figures f = Measure(c.args, runs, c.exit);
        const bool ok = c.limit == 0 || f.median < c.limit;
        met = met && ok;
        char limit[32] = "";
        if (c.limit > 0)
            std::snprintf(limit, sizeof limit, "%.0f %s", c.limit, ok ? "met" : "MISSED");
        std::printf("%-38s %8.1f %8.1f %8.1f %8.1f  %s\n", c.what, f.median, f.p90, f.fastest,
                    f.cpu, limit);
    }
    fs::remove_all(dir);
    return met ? 0 : 2;
}
