#!/bin/sh
# Plants known faults into a source tree one at a time and runs its test
# suite after each, to show that the suite finds every one of them:
#   sh scripts/fault-check.sh SOURCE BUILD [CTEST_ARGS...]
# BUILD is a configured build folder of SOURCE (for example the one ./test.sh
# makes). Each fault is a file and a sed expression; the tree is restored
# after each. A fault whose line is not found is reported as such: the code
# moved and the table needs the new line. Prints one line per fault and ends
# with status 1 if any planted fault went unnoticed (2 if the suite fails
# before any is planted).
set -u
src=$(cd "$1" && pwd) build=$(cd "$2" && pwd)
shift 2
# name | file | sed expression. An expression may carry a second form of
# the line, for the same fault in an older tree (\x27 is a quote).
faults='flipped power bit in the encoder|src/image/memory_image.cpp|s/c.power == Power::kHigh ? 0x20 : 0/c.power == Power::kLow ? 0x20 : 0/;s/(c.power == 0 ? .0. : .1.)/(c.power == 0 ? \x271\x27 : \x270\x27)/
write block address one too high|src/link/protocol_engine.cpp|s/BlockHeader(.W., blockAddress_, kWriteBlockBytes)/BlockHeader(\x27W\x27, blockAddress_ + 1, kWriteBlockBytes)/
no End after a watchdog failure|src/link/transfer_control.cpp|/Over before the message/,/view_.ShowFailure(failure)/s/engine_.SendEnd();//
paste one row low|src/app/channel_commands.cpp|s/selected.empty() ? 1 : selected.front()/selected.empty() ? 2 : selected.front() + 1/
FF retrace time read as 0.50 S (the fuzz regression)|src/image/memory_image.cpp|s/v = b == 0xFF ? 0 : b;/v = b == 0xFF ? 1 : b;/;s/in.Byte(offset) == 0xFF ? 0 : in.Byte(offset)/in.Byte(offset) == 0xFF ? 1 : in.Byte(offset)/'
log=$(mktemp -d)
planted=""
# An interrupted run leaves no fault behind.
trap '[ -n "$planted" ] && cp "$log/original" "$planted"; rm -rf "$log"' EXIT
trap 'exit 1' INT TERM
n=0 missed=""
# The suite must pass as it stands, or a failure would prove nothing.
cmake --build "$build" >"$log/build" 2>&1 || { echo "the tree does not build"; exit 2; }
if ! ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$build" "$@" >"$log/ctest" 2>&1; then
    echo "the suite fails without a planted fault:"
    sed -n 's/^[[:space:]]*[0-9]* - //p' "$log/ctest"
    exit 2
fi
while IFS='|' read -r name file expr; do
    n=$((n + 1))
    cp "$src/$file" "$log/original"
    planted="$src/$file"
    sed -i "$expr" "$src/$file"
    if cmp -s "$src/$file" "$log/original"; then
        echo "fault $n ($name): line not found in $file"
        planted=""
        continue
    fi
    start=$(date +%s)
    if ! cmake --build "$build" >"$log/build" 2>&1; then
        echo "fault $n ($name): caught by the build"
    elif ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
        ctest --test-dir "$build" "$@" >"$log/ctest" 2>&1; then
        echo "fault $n ($name): NOT CAUGHT"
        missed=yes
    else
        sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$log/ctest" >"$log/failed"
        echo "fault $n ($name): caught by $(wc -l <"$log/failed") tests in" \
            "$(($(date +%s) - start)) s, among them $(head -n 3 "$log/failed" | tr '\n' ' ')"
    fi
    cp "$log/original" "$src/$file"
    planted=""
done <<FAULTS
$faults
FAULTS
cmake --build "$build" >/dev/null 2>&1
[ -z "$missed" ]
