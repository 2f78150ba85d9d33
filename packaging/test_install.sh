#!/usr/bin/env bash
# Installs the project from a build folder into a scratch prefix, checks every file the
# installation must contain and starts the installed program in a private X server.
#   test_install.sh <cmake> <build dir> <bindir> <datadir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmake=${1:?usage: test_install.sh <cmake> <build dir> <bindir> <datadir>}
build=${2:?build dir}
bindir=${3:-bin}
datadir=${4:-share}
# shellcheck source=SCRIPTDIR/expected_files.sh
source "$here/expected_files.sh"

scratch=$(mktemp -d)
cleanup() {
    restore_manifest
    rm -rf "$scratch"
}
trap cleanup EXIT
save_manifest "$build" "$scratch"
prefix=$scratch/prefix

# A packager's strict umask must not reach the installed permissions.
umask 077
if ! "$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi
echo "PASS: cmake --install into a scratch prefix"

if ! check_tree "$prefix" "$bindir" "$datadir"; then
    echo "Installed files:"
    (cd "$prefix" && find . -type f | sort)
    exit 1
fi
echo "PASS: every expected file is installed"

if ! "$here/../tests/support/window_check.sh" "$prefix/$bindir/avatello"; then
    echo "FAIL: the installed program did not show its window"
    exit 1
fi
echo "PASS: the installed program starts"
