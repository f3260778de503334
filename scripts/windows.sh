#!/bin/sh
# Builds Quelro Programmer for 64-bit Windows on Debian: Qt for Windows once
# into ~/.cache/quelro (scripts/windows-qt.sh), then quelro.exe and
# quelro-cli.exe, a folder with everything they need beside them, the portable
# zip and the NSIS installer:
#   build/windows/quelro-<version>-windows.zip
#   build/windows/quelro-setup-<version>.exe
# With "tests" the core and CLI test programs are built as well.
set -e
cd "$(dirname "$0")/.."
QUELRO_EXTRA_PACKAGES="g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis dpkg-dev" \
    sh scripts/deps.sh
QT="$(sh scripts/windows-qt.sh | tail -n 1)"
OUT=build/windows
TESTS=OFF
if [ "$1" = tests ]; then TESTS=ON; fi
cmake -S . -B "$OUT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DQUELRO_WINDOWS_QT="$QT" \
    -DQUELRO_TESTS="$TESTS" >/dev/null
cmake --build "$OUT/build" -j "$(nproc 2>/dev/null || echo 2)"
VERSION="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$OUT/build/CMakeCache.txt")"

STAGE="$OUT/Quelro Programmer"
rm -rf "$STAGE"
cmake --install "$OUT/build" --prefix "$STAGE" --strip >/dev/null
sh scripts/windows-deploy.sh "$STAGE" "$QT"

ZIP="quelro-$VERSION-windows.zip"
rm -f "$OUT/$ZIP"
(cd "$OUT" && cmake -E tar cf "$ZIP" --format=zip "Quelro Programmer")
sh scripts/windows-installer.sh "$STAGE" "$PWD/$OUT/quelro-setup-$VERSION.exe" "$VERSION"
echo "$OUT/quelro-setup-$VERSION.exe"
echo "$OUT/$ZIP"
