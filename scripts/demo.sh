#!/bin/sh
# ./run.sh demo: Quelro Programmer with a simulated radio on COM1.
#
# The simulator (quelro-radio-sim, paced at 9600 baud) serves a
# pseudo-terminal preloaded with a sample programming; a temporary
# configuration maps COM1 to it and opens it at start-up, so Read works at
# once. Nothing of the user's own configuration or data is touched.
#   sh scripts/demo.sh BIN_DIR [arguments for quelro]
set -e
BIN="$1"
shift
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quelro-demo.XXXXXX")
SIM_PID=""
cleanup() {
    if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The sample is written by our own encoder from its JSON form.
"$BIN/quelro-cli" --quiet import "$HERE/demo-sample.json" -o "$WORK/sample.DAT"

"$BIN/quelro-radio-sim" --pace --load "$WORK/sample.DAT" --save "$WORK/radio.DAT" \
    >"$WORK/sim.out" &
SIM_PID=$!
tries=0
while [ ! -s "$WORK/sim.out" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ] || ! kill -0 "$SIM_PID" 2>/dev/null; then
        echo "The radio simulator did not start." >&2
        exit 1
    fi
    sleep 0.1
done
PTY=$(head -n 1 "$WORK/sim.out")

export XDG_CONFIG_HOME="$WORK/config"
export XDG_DATA_HOME="$WORK/data"
mkdir -p "$XDG_CONFIG_HOME/quelro"
printf '%s\n' "$PTY" >"$XDG_CONFIG_HOME/quelro/ports"
# parameter: not locked, SavedPort 1, English.
printf '\000\001\001' >"$XDG_CONFIG_HOME/quelro/parameter"

echo "Simulated radio on $PTY as COM1. Press Read frequency (or the toolbar's read button)."
echo "What you write to it is saved in $WORK/radio.DAT while the demo runs."
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "No display found: starting under xvfb-run (a virtual screen)."
    xvfb-run -a "$BIN/quelro" "$@"
else
    "$BIN/quelro" "$@"
fi
