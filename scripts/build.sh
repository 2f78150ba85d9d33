#!/usr/bin/env bash
# Configures and builds one build folder.
#   scripts/build.sh            the program and tests with g++ in build/
#   scripts/build.sh sanitize   the same with clang, AddressSanitizer, UBSan and the fuzzers in
#                               build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-default}" in
default)
    dir=build
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++)
    ;;
sanitize)
    dir=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DAVATELLO_SANITIZE=ON
             -DAVATELLO_FUZZ=ON -DAVATELLO_BENCH=OFF)
    ;;
*)
    echo "usage: scripts/build.sh [default|sanitize]" >&2
    exit 2
    ;;
esac

if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
fi
cmake --build "$dir"
