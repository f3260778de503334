#!/bin/sh
# Builds Qt 6.4.2 (qtbase) for 64-bit Windows once, from Debian's own qt6-base
# source package, into a cache outside the tree. The Linux Qt of the same
# version lends its host tools (moc, rcc, uic). About 3,800 CPU-seconds; the
# build folder is deleted once the prefix is installed.
#   sh scripts/windows-qt.sh        prints the prefix when it is ready
set -e
CACHE="${QUELRO_CACHE:-$HOME/.cache/quelro}"
PREFIX="$CACHE/qt-6.4.2-mingw64"
if [ -f "$PREFIX/.complete" ]; then
    echo "$PREFIX"
    exit 0
fi
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
WORK="$CACHE/qt-build"
mkdir -p "$WORK/src"
if ! ls "$WORK"/src/qt6-base_6.4.2*.dsc >/dev/null 2>&1; then
    sh "$ROOT/scripts/debian-source.sh" qt6-base "$WORK/src"
fi
SRC="$WORK/src/qtbase"
if [ ! -f "$SRC/CMakeLists.txt" ]; then
    rm -rf "$SRC"
    dpkg-source --no-check -x "$WORK"/src/qt6-base_6.4.2*.dsc "$SRC" >/dev/null
fi

# The +dfsg tarball lacks iaccessible2, sqlite and wintab: sql and tablet
# events go. direct2d stays (PrintSupport links against it), OpenGL is turned
# off through its input, not its feature (the platform plugin needs dynamicgl).
cmake -S "$SRC" -B "$WORK/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF \
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_testlib=ON -DINPUT_opengl=no \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DINPUT_freetype=qt \
    -DINPUT_harfbuzz=qt -DINPUT_pcre=qt -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_system_md4c=OFF >"$WORK/configure.log" 2>&1 ||
    { tail -n 40 "$WORK/configure.log"; exit 1; }
nice -n 19 cmake --build "$WORK/build" -j "$(nproc 2>/dev/null || echo 2)"
cmake --install "$WORK/build" >/dev/null
rm -rf "$WORK/build" "$SRC"
touch "$PREFIX/.complete"
echo "$PREFIX"
