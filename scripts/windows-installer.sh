#!/bin/sh
# Makes the NSIS installer of a staged Windows folder.
#   windows-installer.sh STAGE OUTFILE VERSION [off]
# With "off" the installer is not compressed: quick to make, for the tests.
set -e
here=$(cd "$(dirname "$0")" && pwd)
stage=$(cd "$1" && pwd)
list=$(mktemp)
trap 'rm -f "$list"' EXIT
sh "$here/windows-uninstall-list.sh" "$stage" >"$list"
makensis -V2 -DVERSION="$3" -DSTAGE="$stage" -DOUTFILE="$2" -DUNINSTALL="$list" \
    ${4:+-DCOMPRESSION="$4"} "$here/../packaging/windows/quelro.nsi"
