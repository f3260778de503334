#!/bin/sh
# Installs what is missing, builds in Release and starts Quelro Programmer.
#   ./run.sh            start the programmer
#   ./run.sh demo       start it with a simulated radio on COM1
#   ./run.sh cli ARGS   run quelro-cli with ARGS
#   ./run.sh package    build the Debian package build/package/quelro_<version>_<arch>.deb
#   ./run.sh windows    build the Windows installer and zip in build/windows (Qt for
#                       Windows is built once into ~/.cache/quelro: about an hour on two cores)
set -e
cd "$(dirname "$0")"
if [ "$1" = windows ]; then exec sh scripts/windows.sh; fi
sh scripts/deps.sh
if [ "$1" = package ]; then
    # Compiled with Debian's own hardening flags, as the distribution's packages are.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELRO_TESTS=OFF \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
    cmake --build build/package
    (cd build/package && cpack -G DEB)
    echo "Install it with: sudo apt-get install ./build/package/quelro_*.deb"
    exit 0
fi
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
