// A fuzz target as a plain program: runs every file named, and every file in
// every folder named, through LLVMFuzzerTestOneInput once. The test builds
// replay the committed corpus and the regression inputs this way, so that
// each run checks them under the sanitizers without clang's libFuzzer; an
// input that breaks an invariant aborts, as it does under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The regular files of `argument` (itself when it is one), in name order.
std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& argument) {
    std::vector<std::filesystem::path> inputs;
    std::error_code error;
    if (std::filesystem::is_directory(argument, error)) {
        for (const auto& entry : std::filesystem::directory_iterator(argument, error))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
    } else if (std::filesystem::is_regular_file(argument, error)) {
        inputs.push_back(argument);
    }
    return inputs;
}

} // namespace

int main(int argc, char* argv[]) {
    std::size_t runs = 0;
    for (int i = 1; i < argc; ++i) {
        const auto inputs = InputsOf(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "%s: no input in %s\n", argv[0], argv[i]);
            return 2;
        }
        for (const auto& input : inputs) {
            std::ifstream file(input, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++runs;
        }
    }
    std::printf("%zu inputs, no finding\n", runs);
    return 0;
}
