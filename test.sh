#!/bin/sh
# Installs what is missing, builds and runs every test through ctest: once in
# a plain build, once with AddressSanitizer + UndefinedBehaviorSanitizer, and
# every fuzz target for 10 seconds when clang is present.
set -e
cd "$(dirname "$0")"
# The fuzz targets need clang's libFuzzer runtime when clang is there.
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

if command -v clang++ >/dev/null 2>&1 && [ -f scripts/fuzz.sh ]; then
    JOBS="$JOBS" sh scripts/fuzz.sh 10
fi
echo "All tests passed."
