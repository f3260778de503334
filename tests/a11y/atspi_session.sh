#!/bin/sh
# The part of the AT-SPI test that runs inside its D-Bus session (started by
# atspi_test.sh): starts the accessibility bus and the program, runs the
# checks, and ends both again.
set -u
SKIP=77
LAUNCHER_PID=""
PROGRAM_PID=""
stop() {
    for pid in $PROGRAM_PID $LAUNCHER_PID; do
        kill "$pid" 2>/dev/null
    done
    # Give each a moment, then make sure.
    for pid in $PROGRAM_PID $LAUNCHER_PID; do
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 30 ]; do
            sleep 0.1
            i=$((i + 1))
        done
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
}
trap stop EXIT
trap 'exit 1' INT TERM HUP

"$LAUNCHER" --launch-immediately >"$WORK/launcher.log" 2>&1 &
LAUNCHER_PID=$!
# Asking the bus for its address would start a second launcher through D-Bus
# activation; wait until the one started here owns its name.
address=""
i=0
while [ -z "$address" ] && [ $i -lt 50 ]; do
    if dbus-send --session --print-reply=literal --reply-timeout=1000 --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null |
        grep -q true; then
        address=$(dbus-send --session --print-reply=literal --reply-timeout=2000 \
            --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
    fi
    [ -n "$address" ] || sleep 0.1
    i=$((i + 1))
done
if [ -z "$address" ]; then
    echo "SKIP: the AT-SPI bus did not start within 5 s ($LAUNCHER)"
    sed 's/^/  /' "$WORK/launcher.log"
    exit $SKIP
fi

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
"$QUELRO" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!

timeout -k 5 100 "$PYTHON" -B "$HERE/atspi_check.py" --pid "$PROGRAM_PID" --work "$WORK"
status=$?
[ $status -eq 124 ] && echo "FAIL: the checks did not end within 100 s"
if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
    echo "FAIL: the program ended during the checks:"
    sed 's/^/  /' "$WORK/program.log"
    [ $status -eq 0 ] && status=1
elif [ -s "$WORK/program.log" ]; then
    echo "Program output:"
    sed 's/^/  /' "$WORK/program.log"
    # Qt's accessibility reports a tree it cannot walk as a warning.
    if grep -qiE 'accessib|fix my children|indexOfChild' "$WORK/program.log"; then
        echo "FAIL: the program warned about its accessibility tree (above)"
        [ $status -eq 0 ] && status=1
    fi
fi
exit $status
