#!/bin/sh
# The uninstaller's lines for a staged Windows folder: a Delete for each file
# and an RMDir for each folder, deepest first, so that the uninstaller removes
# exactly what was installed and leaves anything else in the folder alone.
#   windows-uninstall-list.sh STAGE > uninstall.nsh
set -e
cd "$1"
find . -type f | sed 's|^\./||' | LC_ALL=C sort | while IFS= read -r f; do
    printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "$f" | tr / '\\')"
done
find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r | while IFS= read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "$d" | tr / '\\')"
done
