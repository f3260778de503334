#!/bin/sh
# Installs the Debian 12 packages the build and the tests need, when missing.
set -e
PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
libopencc-dev libcsv-dev nlohmann-json3-dev libcli11-dev libgtest-dev
xvfb xauth fonts-wqy-microhei locales qt6-translations-l10n"
# The sanitizer build replays the fuzz inputs; the radio's target reads them
# through libFuzzer's FuzzedDataProvider header.
PACKAGES="$PACKAGES libclang-rt-14-dev"
# The channel sheet's tests read its PDF back (pdftotext, pdffonts, pdfinfo)
# and render it (pdftoppm).
PACKAGES="$PACKAGES poppler-utils"
# Packaging: manual pages, the .deb and its checks.
PACKAGES="$PACKAGES help2man dpkg-dev file lintian desktop-file-utils appstream xdotool"
# The screen-reader test: the accessibility bus, a D-Bus session of its own
# and the system Python's AT-SPI client.
PACKAGES="$PACKAGES at-spi2-core dbus-daemon python3-pyatspi"
# The desktop smoke test: a window manager, for Alt+F4 and the close box.
PACKAGES="$PACKAGES openbox"
if [ -n "$QUELRO_EXTRA_PACKAGES" ]; then PACKAGES="$PACKAGES $QUELRO_EXTRA_PACKAGES"; fi
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
