#!/bin/bash
# Validates the desktop entry and the AppStream metainfo as distributions do,
# and checks that the metainfo carries release notes for this version.
#   metadata_test.sh SOURCE_DIR VERSION
set -u
packaging=$1/packaging version=$2
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is not installed (scripts/deps.sh installs it)"; exit 1; }
done
desktop-file-validate "$packaging/quelro.desktop" || fail "desktop-file-validate"
metainfo=$packaging/io.github.quelro.Programmer.metainfo.xml
appstreamcli validate --no-net --strict --explain "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -A3 "<release version=\"$version\"" "$metainfo" | grep -q '<description>' ||
    fail "release $version has no notes"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metainfo has no default screenshot"
exit $((failures > 0))
