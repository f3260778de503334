#!/bin/sh
# Installs what is missing, builds and runs every test through ctest: once in
# a plain build, once with AddressSanitizer + UndefinedBehaviorSanitizer. The
# sanitizer build also replays every fuzz target's corpus and regression
# inputs; scripts/fuzz.sh runs the long libFuzzer searches with clang.
set -e
cd "$(dirname "$0")"
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
echo "All tests passed."
