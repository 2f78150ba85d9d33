#!/usr/bin/env bash
# Builds the Debian package from a build folder into a scratch folder, checks its control fields
# and contents, unpacks it (without installing it) and starts the unpacked program in a private
# X server.
#   test_deb.sh <cpack> <build dir> <version> <bindir> <datadir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cpack=${1:?usage: test_deb.sh <cpack> <build dir> <version> <bindir> <datadir>}
build=${2:?build dir}
version=${3:?version}
bindir=usr/${4:-bin}
datadir=usr/${5:-share}
# shellcheck source=SCRIPTDIR/expected_files.sh
source "$here/expected_files.sh"

scratch=$(mktemp -d)
cleanup() {
    restore_manifest
    rm -rf "$scratch"
}
trap cleanup EXIT
save_manifest "$build" "$scratch"

# A packager's strict umask must not reach the installed permissions.
umask 077
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" \
        >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack -G DEB failed"
    exit 1
fi
shopt -s nullglob
debs=("$scratch"/out/avatello_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    cat "$scratch/cpack.log"
    echo "FAIL: expected one avatello_*.deb, found ${#debs[@]}"
    exit 1
fi
deb=${debs[0]}
echo "PASS: cpack -G DEB built $(basename "$deb")"

failed=0
control=$(dpkg-deb -I "$deb" control)
field() { awk -v name="$1:" '$1 == name { sub(/^[^:]*: */, ""); print; exit }' <<<"$control"; }
expect_field() {
    if [ "$(field "$1")" != "$2" ]; then
        echo "FAIL: $1 is '$(field "$1")', expected '$2'"
        failed=1
    fi
}
expect_field Package avatello
expect_field Version "$version"
expect_field Section graphics
expect_field Maintainer "The Avatello developers <hello@avatello.example.org>"
depends=$(field Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n \
               fonts-wine fonts-liberation fonts-noto-color-emoji; do
    if ! tr ',' '\n' <<<"$depends" | grep -Eq "^ *$package( |\$)"; then
        echo "FAIL: Depends lacks $package: $depends"
        failed=1
    fi
done
if ! tr ',' '\n' <<<"$(field Recommends)" | grep -Eq "^ *fonts-noto-cjk( |\$)"; then
    echo "FAIL: Recommends lacks fonts-noto-cjk: $(field Recommends)"
    failed=1
fi
if [ "$failed" -ne 0 ]; then
    echo "$control"
    exit 1
fi
echo "PASS: control fields (Depends: $depends)"

listing=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
while read -r file; do
    if ! grep -qxF "./$file" <<<"$listing"; then
        echo "FAIL: the package lacks /$file"
        failed=1
    fi
done < <(expected_files "$bindir" "$datadir")
if [ "$failed" -ne 0 ]; then
    echo "$listing"
    exit 1
fi
echo "PASS: the package holds every expected file"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
check_tree "$root" "$bindir" "$datadir" || exit 1
echo "PASS: the unpacked files are complete"

if ! "$here/../tests/support/window_check.sh" "$root/$bindir/avatello"; then
    echo "FAIL: the unpacked program did not show its window"
    exit 1
fi
echo "PASS: the unpacked program starts"
