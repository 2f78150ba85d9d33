#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) of the current commit in a fresh Debian root, as a new
# user of that release would: the root is made with debootstrap (minbase) from the archive this
# machine's apt sources name, the commit is cloned into it, and scripts/test.sh installs what it
# needs, builds and tests there, the Debian package check included. Then scripts/run.sh, the
# README's other command, must show the program's window in a private X server.
#   scripts/test-on-debian.sh 13             the whole test command on Debian 13
#   scripts/test-on-debian.sh 13 --gxx-only  only the g++ suite and the package check
# Needs root. The roots are kept in a cache folder outside the clone (AVATELLO_DEBIAN_CACHE, by
# default /var/cache/avatello), so a second run skips the bootstrap and rebuilds only what the
# commit changed; everything mounted in a root is unmounted however the run ends.
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: scripts/test-on-debian.sh 12|13 [--gxx-only]"
release=${1:?$usage}
mode=${2:-}
case "$mode" in
'' | --gxx-only) ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac
# shellcheck source=SCRIPTDIR/debian-root.sh
source scripts/debian-root.sh
if ! debian_codename "$release" >/dev/null; then
    echo "$usage" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "test-on-debian.sh: needs root, to make and enter a Debian root" >&2
    exit 2
fi
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "test-on-debian.sh: testing commit $commit; changes not committed are left out" >&2
fi
repository=$(git rev-parse --path-format=absolute --git-common-dir)

debian_lock "$release"
suite=$debian_cache/debian-$release/suite
trap 'debian_unmount "$suite"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# Whatever an earlier run that was killed left mounted.
debian_unmount "$suite"

start=$SECONDS
pristine=$(debian_pristine_root "$release")
if [ ! -d "$suite" ]; then
    debian_copy_root "$release" "$suite"
fi
echo "== Debian $release root ready ($((SECONDS - start)) s)"

debian_mount "$suite"
# The pristine root, read-only, where the package check inside looks for it.
mkdir -p "$suite$pristine"
mount --bind "$pristine" "$suite$pristine"
mount -o remount,bind,ro "$suite$pristine"

# The commit, in a clone that is kept between runs with its build folders.
clone=$suite/root/avatello
if [ ! -d "$clone/.git" ]; then
    rm -rf "$clone"
    git clone --quiet --no-checkout "$repository" "$clone"
fi
git -C "$clone" fetch --quiet "$repository" "$commit"
git -C "$clone" checkout --quiet --force --detach "$commit"
git -C "$clone" clean --quiet -ffd
echo "== Commit $(git -C "$clone" log -1 --format='%h %s')"

start=$SECONDS
status=0
debian_run "$suite" env AVATELLO_TEST_GXX_ONLY="$([ "$mode" = --gxx-only ] && echo 1 || true)" \
    bash -c 'cd ~/avatello && scripts/test.sh' || status=$?
echo "== Debian $release: scripts/test.sh exited $status ($((SECONDS - start)) s)"
[ "$status" -eq 0 ] || exit "$status"

# run.sh ends by starting the program in place of itself, so the window check can start it.
if ! debian_run "$suite" bash -c 'cd ~/avatello && tests/support/window_check.sh scripts/run.sh'
then
    echo "FAIL: scripts/run.sh did not show the program's window on Debian $release"
    exit 1
fi
echo "== Debian $release: scripts/run.sh shows the window"
