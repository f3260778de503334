#!/bin/sh
# Runs the window program as a screen reader meets it: on a virtual X display,
# with its own D-Bus session and accessibility bus, and drives it through
# AT-SPI with tests/a11y/atspi_check.py.
#   atspi_test.sh QUELRO_BINARY TEST_DATA_FILE_PROGRAM
# Exits 77 (skipped) only when the accessibility bus cannot start or pyatspi is
# missing; everything started here is ended on the way out.
set -u
QUELRO=$1
DATA_FILE_PROGRAM=$2
HERE=$(cd "$(dirname "$0")" && pwd)
PYTHON=/usr/bin/python3
SKIP=77

skip() {
    echo "SKIP: $*"
    exit $SKIP
}

if ! "$PYTHON" -c 'import pyatspi' >/dev/null 2>&1; then
    skip "python3-pyatspi is not installed (sh scripts/deps.sh installs it)"
fi
LAUNCHER=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    if [ -x "$candidate" ]; then LAUNCHER=$candidate; break; fi
done
[ -n "$LAUNCHER" ] || skip "at-spi-bus-launcher (at-spi2-core) is not installed"
command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session (dbus-daemon) is not installed"
command -v Xvfb >/dev/null 2>&1 || { echo "FAIL: Xvfb is not installed"; exit 1; }
[ -x "$QUELRO" ] || { echo "FAIL: no program at $QUELRO"; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quelro-atspi.XXXXXX") || exit 1
chmod 700 "$WORK"
mkdir -p "$WORK/home" "$WORK/config" "$WORK/runtime" "$WORK/files"
chmod 700 "$WORK/runtime"
XVFB_PID=""
cleanup() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
"$DATA_FILE_PROGRAM" "$WORK/files/channels.DAT" || { echo "FAIL: no test file"; exit 1; }

# Xvfb picks a free display itself and names it on the descriptor it is given.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
i=0
while [ ! -s "$WORK/display" ] && [ $i -lt 100 ]; do
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
    i=$((i + 1))
done
if [ ! -s "$WORK/display" ]; then
    echo "FAIL: Xvfb did not start:"
    cat "$WORK/xvfb.log"
    exit 1
fi

# A clean environment: no desktop of the caller's, no settings of the user's.
env -i PATH="$PATH" LANG=C.UTF-8 HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" \
    XDG_RUNTIME_DIR="$WORK/runtime" DISPLAY=":$(cat "$WORK/display")" \
    QUELRO="$QUELRO" LAUNCHER="$LAUNCHER" PYTHON="$PYTHON" HERE="$HERE" WORK="$WORK" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    dbus-run-session -- sh "$HERE/atspi_session.sh"
status=$?
exit $status
