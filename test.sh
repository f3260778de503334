#!/bin/sh
# Installs what is missing, builds once with AddressSanitizer +
# UndefinedBehaviorSanitizer (optimised, line tables only) and runs every test
# through ctest: the core, CLI and window tests, the end-to-end runs against
# the simulated radio, the screen-reader and packaging checks, and the replay
# of every fuzz target's corpus and regression inputs. Then the Windows stage
# (scripts/test-windows.sh) when Qt for Windows is in ~/.cache/quelro.
# scripts/fuzz.sh runs the long libFuzzer searches with clang.
set -e
cd "$(dirname "$0")"
sh scripts/deps.sh
JOBS=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELRO_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
cmake --build build/test -j "$JOBS"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/test --output-on-failure -j "$JOBS"
ASAN_OPTIONS=detect_leaks=0 sh scripts/test-windows.sh build/test
echo "All tests passed."
