#!/bin/sh
# Builds the two Debian packages as a maintainer would (a Release build in
# build-package, with a test maintainer address and home page) and checks
# them: lintian must report no error and no warning, kestrovane-cli must not
# need Qt Widgets, and kestrovane must need kestrovane-cli of its own version.
#   tools/check-packages.sh [MAIL_ADDRESS]
set -e
cd "$(dirname "$0")/.."
address=${1:-ci@example.org}
dir=build-package

# Only the programs and their files: the packages hold no test.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DKESTROVANE_WERROR=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DKESTROVANE_CONTACT_EMAIL="$address" -DKESTROVANE_HOMEPAGE_URL=https://example.org/kestrovane
cmake --build "$dir" -j"$(nproc)" --target kestrovane kestrovane-cli kestrovane-packaging-files
rm -f "$dir"/*.deb
(cd "$dir" && cpack -G DEB)

cli=$(ls "$dir"/kestrovane-cli_*.deb)
app=$(ls "$dir"/kestrovane_*.deb)
lintian --fail-on error,warning "$cli" "$app"

fail() {
    echo "check-packages: $*" >&2
    exit 1
}
cli_depends=$(dpkg-deb --field "$cli" Depends)
app_depends=$(dpkg-deb --field "$app" Depends)
version=$(dpkg-deb --field "$cli" Version)
case "$cli_depends" in
*libqt6widgets*) fail "kestrovane-cli depends on Qt Widgets: $cli_depends" ;;
esac
case "$app_depends" in
*"kestrovane-cli (= $version)"*) ;;
*) fail "kestrovane does not depend on kestrovane-cli (= $version): $app_depends" ;;
esac
echo "check-packages: $(basename "$cli") and $(basename "$app") pass lintian"
