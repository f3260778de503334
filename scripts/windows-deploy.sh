#!/bin/sh
# Puts beside the Windows programs in FOLDER every DLL they load from Qt and
# the mingw runtime (found by walking their imports), the Qt plugins loaded at
# run time and a qt.conf naming the plugin folder. What is found in neither
# place is a Windows system DLL.
#   sh scripts/windows-deploy.sh FOLDER QT_PREFIX
set -e
FOLDER="$1"
QT="$2"
GCC_RUNTIME="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
SEARCH="$QT/bin $GCC_RUNTIME /usr/x86_64-w64-mingw32/lib"

mkdir -p "$FOLDER/plugins/platforms" "$FOLDER/plugins/styles" "$FOLDER/plugins/imageformats"
cp "$QT/plugins/platforms/qwindows.dll" "$QT/plugins/platforms/qoffscreen.dll" \
    "$FOLDER/plugins/platforms/"
cp "$QT/plugins/styles/qwindowsvistastyle.dll" "$FOLDER/plugins/styles/"
cp "$QT"/plugins/imageformats/*.dll "$FOLDER/plugins/imageformats/"
printf '[Paths]\nPlugins = plugins\n' >"$FOLDER/qt.conf"

# Each round copies what the binaries so far import; a DLL brings its own
# imports into the next round. The chain is short: ten rounds are plenty.
round=0
while [ "$round" -lt 10 ]; do
    round=$((round + 1))
    added=0
    for dll in $(find "$FOLDER" -iname '*.exe' -o -iname '*.dll' | while read -r f; do
        x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p'
    done | sort -u); do
        [ -e "$FOLDER/$dll" ] && continue
        for dir in $SEARCH; do
            if [ -e "$dir/$dll" ]; then
                cp "$dir/$dll" "$FOLDER/"
                added=1
                break
            fi
        done
    done
    [ "$added" = 0 ] && break
done
find "$FOLDER" -maxdepth 1 -iname '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
