// The main of a program that holds several Qt Test classes: `program NAME
// [Qt Test options]` runs the class registered from NAME.cpp; `program` alone
// runs them all, one after the other, and fails when one fails.
#include "support/qt_test_main.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quelro::test {
namespace {

std::map<std::string, QtTestRunner>& Registry() {
    static std::map<std::string, QtTestRunner> registry;
    return registry;
}

} // namespace

int RegisterQtTest(const char* sourceFile, QtTestRunner runner) {
    Registry().emplace(std::filesystem::path(sourceFile).stem().string(), std::move(runner));
    return 0;
}

} // namespace quelro::test

int main(int argc, char* argv[]) {
    auto& registry = quelro::test::Registry();
    if (argc > 1 && argv[1][0] != '-') {
        const auto found = registry.find(argv[1]);
        if (found == registry.end()) {
            std::fprintf(stderr, "%s: no test named %s; this program holds:\n", argv[0], argv[1]);
            for (const auto& [name, runner] : registry)
                std::fprintf(stderr, "  %s\n", name.c_str());
            return 2;
        }
        // The class's own arguments follow its name; Qt Test sees argv[0] first.
        std::vector<char*> args{argv[0]};
        args.insert(args.end(), argv + 2, argv + argc);
        return found->second(static_cast<int>(args.size()), args.data());
    }
    int failed = 0;
    for (const auto& [name, runner] : registry) {
        if (runner(argc, argv) != 0) {
            std::fprintf(stderr, "%s failed\n", name.c_str());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
