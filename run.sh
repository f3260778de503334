#!/bin/sh
# Installs what is missing, builds in Release and starts Quelro Programmer.
#   ./run.sh            start the programmer
#   ./run.sh demo       start it with a simulated radio on COM1
#   ./run.sh cli ARGS   run quelro-cli with ARGS
set -e
cd "$(dirname "$0")"
sh scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELRO_TESTS=OFF >/dev/null
cmake --build build/release
BIN=build/release
case "$1" in
cli)
    shift
    exec "$BIN/quelro-cli" "$@"
    ;;
demo)
    shift
    exec sh scripts/demo.sh "$BIN" "$@"
    ;;
esac
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "No display found: starting under xvfb-run (a virtual screen)."
    exec xvfb-run -a "$BIN/quelro" "$@"
fi
exec "$BIN/quelro" "$@"
