#!/usr/bin/env bash
# Runs the fuzzers for a while each and fails if one finds a crash, a hang, a leak or runs out of
# memory: fuzz_load (the picture decoder), fuzz_table (the batch table reader) and fuzz_options
# (make's command line turned into a recipe).
#   scripts/fuzz.sh [seconds] [fuzzer...]     default 60 seconds, every fuzzer
# Builds nothing: it expects the fuzzer in the sanitizer build (scripts/build.sh sanitize), or in
# the build folder named by AVATELLO_FUZZ_BUILD. The work corpus of each lives in
# <build>/fuzz-corpus/<name>, seeded (fuzz_load from every picture of tests/data/corpus, the others
# from fuzz/seeds/<name>) and kept between runs; whatever a fuzzer finds is written to
# <build>/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
case "$seconds" in
'' | *[!0-9]*)
    echo "usage: scripts/fuzz.sh [seconds]" >&2
    exit 2
    ;;
esac

shift $(($# > 0 ? 1 : 0))
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(fuzz_load fuzz_table fuzz_options)

build="${AVATELLO_FUZZ_BUILD:-build-sanitize}"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen

for name in "${fuzzers[@]}"; do
    fuzzer="$build/fuzz/$name"
    if [ ! -x "$fuzzer" ]; then
        echo "fuzz.sh: $fuzzer is not built (scripts/build.sh sanitize)" >&2
        exit 2
    fi
    corpus="$build/fuzz-corpus/${name#fuzz_}"
    mkdir -p "$corpus"
    if [ "$name" = fuzz_load ]; then
        # Seeds: the corpus's pictures (not its descriptions), named after their paths. Files
        # the fuzzer added on earlier runs stay.
        find tests/data/corpus -type f ! -name 'README*' ! -name 'UPSTREAM-*' \
            ! -name 'EXPECTED.tsv' ! -name 'PILLOW-REFERENCE.*' \
            -print0 | while IFS= read -r -d '' file; do
            seed="$corpus/seed-$(echo "${file#tests/data/corpus/}" | tr '/' '_')"
            [ -e "$seed" ] || cp "$file" "$seed"
        done
    elif [ -d "fuzz/seeds/${name#fuzz_}" ]; then
        cp -n fuzz/seeds/"${name#fuzz_}"/* "$corpus"/
    fi

    echo "== $name for ${seconds}s (corpus $corpus)"
    # -max_len: 64 KiB reaches every header and the first scans of a picture, and two table
    # lines at their bound; longer seeds are cut.
    # -timeout: one input may take seconds under the sanitizers at the decoder's bounds, not 30.
    # -rss_limit_mb: the decoder's bounds keep one picture under a few hundred MB with ASan.
    status=0
    "$fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/$name-" -print_final_stats=1 "$corpus" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "fuzz.sh: $name failed (exit $status); reproduce with: $fuzzer $artifacts/$name-<file>" >&2
        exit "$status"
    fi
    echo "== $name: no crash in ${seconds}s"
done
