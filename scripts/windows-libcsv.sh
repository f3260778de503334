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
sh "$(dirname "$0")/debian-source.sh" libcsv "$WORK"
mkdir -p "$WORK/src"
tar -xzf "$WORK"/libcsv_*.orig.tar.gz -C "$WORK/src" --strip-components=1
mkdir -p "$DIR"
cp "$WORK/src/libcsv.c" "$WORK/src/csv.h" "$WORK/src/COPYING" "$DIR/"
rm -rf "$WORK"
echo "$DIR"
