#!/usr/bin/env bash
# Checks the Debian package the way a user meets it: builds the .deb from a build folder, installs
# it with apt into a fresh root of this system's Debian release (apt resolving its dependencies),
# makes icons with the installed `avatello make` and compares them byte for byte with the build's,
# then starts the installed program in a private X server.
#   scripts/check-package.sh [BUILD_DIR]      default build (made by scripts/build.sh)
# Needs root and the Debian archive. The fresh root is a copy of a pristine one kept in a cache
# folder (scripts/debian-root.sh), made with debootstrap the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ "$(id -u)" -ne 0 ]; then
    echo "check-package.sh: needs root, to make and enter a Debian root" >&2
    exit 2
fi
if [ ! -f "$build/CPackConfig.cmake" ] || [ ! -x "$build/src/avatello" ]; then
    echo "check-package.sh: $build is not a built build folder (scripts/build.sh)" >&2
    exit 2
fi
# shellcheck source=SCRIPTDIR/debian-root.sh
source scripts/debian-root.sh
release=$(debian_this_release)
if ! debian_codename "$release" >/dev/null; then
    echo "check-package.sh: Debian $release is not a release this project supports" >&2
    exit 2
fi
debian_lock "$release"

scratch=$(mktemp -d)
root=$debian_cache/debian-$release/package-check
cleanup() {
    debian_unmount "$root"
    debian_remove_root "$root"
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "== The Debian package on Debian $release"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/deb" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack -G DEB failed"
    exit 1
fi
debs=("$scratch"/deb/avatello_*.deb)
echo "PASS: built $(basename "${debs[0]}")"
packaging/sample_icons.sh "$build/src/avatello" "$scratch/expected"

# Whatever an earlier run that was killed left behind.
debian_unmount "$root"
debian_copy_root "$release" "$root"
debian_mount "$root"
check=$root/root/check
mkdir -p "$check"
cp "${debs[0]}" packaging/sample_icons.sh tests/support/window_check.sh tests/support/xserver.py \
    "$check/"

debian_run "$root" apt-get update -qq
if ! debian_run "$root" sh -c 'cd ~/check && apt-get install -y -qq ./avatello_*.deb' \
    >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    echo "FAIL: apt-get install ./$(basename "${debs[0]}") in a fresh Debian $release root"
    exit 1
fi
if [ "$(debian_run "$root" sh -c 'command -v avatello')" != /usr/bin/avatello ]; then
    echo "FAIL: the package installed no /usr/bin/avatello"
    exit 1
fi
echo "PASS: apt installs the package and its dependencies in a fresh Debian $release root"

if ! debian_run "$root" sh -c 'exec ~/check/sample_icons.sh /usr/bin/avatello ~/check/made'; then
    echo "FAIL: the installed avatello make could not make the icons"
    exit 1
fi
for expected in "$scratch"/expected/*.bmp; do
    if ! cmp "$expected" "$check/made/$(basename "$expected")"; then
        echo "FAIL: the installed program's $(basename "$expected") differs from the build's"
        exit 1
    fi
done
echo "PASS: the installed avatello make writes the build's icons, byte for byte"

# The tools the window check uses, after the check of what the package alone brings.
debian_run "$root" apt-get install -y -qq --no-install-recommends xvfb xauth xdotool x11-utils \
    python3 >"$scratch/tools.log" 2>&1 || {
    cat "$scratch/tools.log"
    echo "FAIL: could not install the window check's tools"
    exit 1
}
if ! debian_run "$root" sh -c 'exec ~/check/window_check.sh /usr/bin/avatello'; then
    echo "FAIL: the installed program did not show its window"
    exit 1
fi
echo "PASS: the installed program shows its window"
