#!/bin/sh
# Installs the Debian packages Kestrovane needs to build, run and test.
# Packages already present are left as they are.
set -e
# poppler-utils (pdftotext, pdfinfo, pdftoppm) reads printouts back in the
# printing tests.
# clang and its runtime libraries (libFuzzer, sanitizers) build the fuzz
# targets of tests/fuzz. desktop-file-utils and appstream check the desktop
# entry and the AppStream data; dpkg-dev and file let cpack find the Debian
# packages' dependencies, and lintian checks the packages. libqt6svg6 draws
# the SVG window and tray icon.
# libutf8proc-dev gives the display widths of characters; libblkid-dev reads
# a medium's UUID and label from its super block (e2fsprogs makes the test
# images). clang-format
# checks that the code keeps the repository's formatting.
PACKAGES="cmake make g++ pkg-config qt6-base-dev libsimpleini-dev libutf8proc-dev libblkid-dev e2fsprogs zip unzip python3 poppler-utils clang libclang-rt-dev
    desktop-file-utils appstream dpkg-dev file lintian libqt6svg6 clang-format"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
