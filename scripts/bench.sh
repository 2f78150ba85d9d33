#!/usr/bin/env bash
# Builds the benchmarks in build/ and runs them: the icon commands and the comparison with
# Magick++ (build/bench/bench_commands), then start-up time and peak memory beside a bare Qt
# window (bench/startup.py), and the command-line maker beside convert (bench/cli.py). Takes a
# few minutes once built. docs/benchmarks.md explains the
# output.
#   scripts/bench.sh                 everything
#   scripts/bench.sh --runs 10       fewer launches for the start-up part (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

runs=30
if [ "${1:-}" = "--runs" ] && [ -n "${2:-}" ]; then
    runs=$2
fi

# The default build folder, with the benchmarks switched on.
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
        -DAVATELLO_BENCH=ON >/dev/null
else
    cmake -S . -B build -DAVATELLO_BENCH=ON >/dev/null
fi
cmake --build build --target avatello bench_commands bare_window

echo "== Commands, and the icon job beside Magick++"
# Five short repetitions of each benchmark, shuffled among one another so that a burst of other
# work on the machine spreads over all of them; the medians are shown.
build/bench/bench_commands --benchmark_min_time=0.1 --benchmark_repetitions=5 \
    --benchmark_enable_random_interleaving=true

echo
echo "== Start-up"
/usr/bin/python3 bench/startup.py --app build/src/avatello --bare build/bench/bare_window \
    --runs "$runs"

echo
echo "== The command-line maker beside ImageMagick's convert"
/usr/bin/python3 bench/cli.py --app build/src/avatello --runs 20 --rows 1000
