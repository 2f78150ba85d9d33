#!/usr/bin/env bash
# Installs what is missing, builds Avatello and runs every test: the suite with g++, the suite
# again under AddressSanitizer and UBSan with clang, and a short run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== Build and test (g++)"
scripts/build.sh
(cd build && ctest --output-on-failure -j2)

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
