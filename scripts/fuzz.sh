#!/bin/sh
# Builds the libFuzzer targets (clang) and runs each from its own corpus.
#   scripts/fuzz.sh [SECONDS]     each target for SECONDS (default 60)
# Environment:
#   FUZZ_RUNS=N      stop a target after N executions instead (SECONDS stays a cap)
#   FUZZ_TARGETS=".." the targets to run (default: every fuzz/fuzz_*.cpp)
#   FUZZ_MERGE=1     afterwards, minimise what was found into fuzz/corpus/<target>
#   FUZZ_LOG_DIR=dir where each target's libFuzzer output goes
#                    (default build/fuzz/logs); a summary line is printed
# The committed corpus fuzz/corpus/<target>/ is read; new inputs go to
# build/fuzz/corpus/<target>/, so a run continues where the last one stopped.
# A crash or broken invariant leaves its input in build/fuzz/findings/ and
# ends the script with status 1; once it is mended, the input goes to
# fuzz/regressions/<target>/, which every run executes first.
set -e
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
# Every fuzz/fuzz_*.cpp is a target.
TARGETS=${FUZZ_TARGETS:-$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')}
JOBS=${JOBS:-2}

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELRO_FUZZ=ON \
    -DQUELRO_GUI=OFF -DQUELRO_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$JOBS" --target $TARGETS

# The longest input each target is given. Sixteen channels with a header and
# rows left out fit well inside 1 KB of CSV; longer lists only repeat rows and
# slow the fuzzer down (large files are the tests' business).
max_len() {
    case "$1" in
    fuzz_config) echo 512 ;;
    fuzz_csv_import) echo 1024 ;;
    fuzz_data_file) echo 1024 ;;
    fuzz_radio) echo 4096 ;;
    *) echo 16384 ;;
    esac
}

mkdir -p build/fuzz/findings
status=0
for target in $TARGETS; do
    work=build/fuzz/corpus/$target
    mkdir -p "$work" "fuzz/corpus/$target"
    set -- -max_total_time="$SECONDS_EACH" -max_len="$(max_len "$target")" -print_final_stats=1 \
        -artifact_prefix="build/fuzz/findings/$target-"
    [ -n "$FUZZ_RUNS" ] && set -- "$@" -runs="$FUZZ_RUNS"
    logs=${FUZZ_LOG_DIR:-build/fuzz/logs}
    mkdir -p "$logs"
    log="$logs/$target.log"
    regressions=""
    [ -d "fuzz/regressions/$target" ] && regressions="fuzz/regressions/$target"
    if ! "build/fuzz/fuzz/$target" "$@" "$work" "fuzz/corpus/$target" $regressions >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "$target: a finding, see build/fuzz/findings/ and $log" >&2
        status=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    echo "$target: $runs executions, $speed/s, $cov, no finding"
    if [ "$FUZZ_MERGE" = 1 ]; then
        merged=build/fuzz/merged/$target
        rm -rf "$merged" && mkdir -p "$merged"
        "build/fuzz/fuzz/$target" -merge=1 -max_len="$(max_len "$target")" "$merged" \
            "fuzz/corpus/$target" "$work" >/dev/null 2>&1
        rm -f "fuzz/corpus/$target"/*
        cp "$merged"/* "fuzz/corpus/$target/"
    fi
done
exit $status
