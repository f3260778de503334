#!/bin/sh
# Fetches libcsv's source from Debian's source package once into the cache
# beside the Windows Qt, and prints the folder holding libcsv.c and csv.h.
# The Windows build compiles that one file (Debian ships libcsv for Linux only).
set -e
CACHE="${QUELRO_CACHE:-$HOME/.cache/quelro}"
DIR="$CACHE/libcsv"
if [ -f "$DIR/libcsv.c" ] && [ -f "$DIR/csv.h" ]; then
    echo "$DIR"
    exit 0
fi
WORK="$CACHE/libcsv-fetch"
rm -rf "$WORK"
mkdir -p "$WORK/apt/lists/partial"
# A private apt configuration with the source index: the system's own lists
# stay as they are.
MIRROR="$(sed -n 's/^URIs: *\(http[^ ]*debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)"
[ -n "$MIRROR" ] || MIRROR="http://deb.debian.org/debian"
echo "deb-src $MIRROR bookworm main" >"$WORK/apt/sources.list"
APT="-o Dir::Etc::sourcelist=$WORK/apt/sources.list -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$WORK/apt/lists"
# shellcheck disable=SC2086
apt-get $APT update -qq >&2
# shellcheck disable=SC2086
(cd "$WORK" && apt-get $APT source --download-only libcsv >&2)
mkdir -p "$WORK/src"
tar -xzf "$WORK"/libcsv_*.orig.tar.gz -C "$WORK/src" --strip-components=1
mkdir -p "$DIR"
cp "$WORK/src/libcsv.c" "$WORK/src/csv.h" "$WORK/src/COPYING" "$DIR/"
rm -rf "$WORK"
echo "$DIR"
