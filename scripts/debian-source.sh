#!/bin/sh
# Downloads Debian's source package PACKAGE (bookworm) into FOLDER, through a
# private apt configuration with the source index: the system's own lists stay
# as they are.
#   sh scripts/debian-source.sh PACKAGE FOLDER
set -e
PACKAGE="$1"
FOLDER="$2"
mkdir -p "$FOLDER/apt/lists/partial"
MIRROR="$(sed -n 's/^URIs: *\(http[^ ]*debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)"
[ -n "$MIRROR" ] || MIRROR="http://deb.debian.org/debian"
echo "deb-src $MIRROR bookworm main" >"$FOLDER/apt/sources.list"
APT="-o Dir::Etc::sourcelist=$FOLDER/apt/sources.list -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$FOLDER/apt/lists"
# shellcheck disable=SC2086
apt-get $APT update -qq >&2
# shellcheck disable=SC2086
(cd "$FOLDER" && apt-get $APT source --download-only "$PACKAGE" >&2)
