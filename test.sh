#!/bin/sh
# Installs what is missing, builds and runs every test through ctest: once in
# a plain build, once with AddressSanitizer + UndefinedBehaviorSanitizer, and
# the fuzz target for 60 seconds when clang is present.
set -e
cd "$(dirname "$0")"
# The fuzz target needs clang's libFuzzer runtime when clang is there.
if command -v clang++ >/dev/null 2>&1; then
    QUELRO_EXTRA_PACKAGES="libclang-rt-14-dev"
    export QUELRO_EXTRA_PACKAGES
fi
sh scripts/deps.sh
JOBS=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELRO_SANITIZE=ON
cmake --build build/asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j "$JOBS"

if command -v clang++ >/dev/null 2>&1 && [ -d fuzz ] && [ -f fuzz/CMakeLists.txt ]; then
    cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELRO_FUZZ=ON \
        -DQUELRO_GUI=OFF -DQUELRO_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++
    cmake --build build/fuzz -j "$JOBS" --target fuzz_data_file
    mkdir -p build/fuzz/corpus
    build/fuzz/fuzz/fuzz_data_file -max_total_time=60 -max_len=1024 build/fuzz/corpus fuzz/seeds
fi
echo "All tests passed."
