#!/usr/bin/env bash
# Installs what is missing, builds Avatello and runs every test: the suite with g++, the Debian
# package installed in a fresh root of this release (scripts/check-package.sh), the suite again
# under AddressSanitizer and UBSan with clang, and a short run of each fuzzer.
# AVATELLO_TEST_GXX_ONLY=1 stops after the package check.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== Build and test (g++)"
scripts/build.sh
(cd build && ctest --output-on-failure -j2)

# The package check makes a Debian root, which takes root. Without root or sudo it is left out,
# saying so, except in CI, which must run it.
echo "== The Debian package, installed in a fresh Debian root"
if [ "$(id -u)" -eq 0 ]; then
    scripts/check-package.sh build
elif sudo -n true 2>/dev/null; then
    sudo scripts/check-package.sh build
elif [ "${CI:-}" = true ]; then
    echo "test.sh: the package check needs root or sudo" >&2
    exit 1
else
    echo "SKIPPED: the package check needs root or sudo (sudo scripts/check-package.sh)"
fi

if [ "${AVATELLO_TEST_GXX_ONLY:-}" = 1 ]; then
    echo "== The g++ suite and the package check passed (the sanitizer run and fuzzing left out)"
    exit 0
fi

echo "== Build and test (clang, AddressSanitizer + UBSan)"
scripts/build.sh sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-sanitize && ctest --output-on-failure -j2)

if [ -x scripts/fuzz.sh ]; then
    echo "== Fuzzing"
    scripts/fuzz.sh 20 # each of the three fuzzers: a minute in all
fi
echo "== All tests passed"
