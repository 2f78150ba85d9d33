#!/usr/bin/env bash
# Every text the windows show has a finished translation in each translations/*.ts: lupdate, run
# on a copy with the build's options, finds no text that is new or unfinished there.
#   translations_complete.sh <lupdate> <source root>
set -euo pipefail
lupdate=${1:?usage: translations_complete.sh <lupdate> <source root>}
root=${2:?source root}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=0
for ts in "$root"/translations/avatello_*.ts; do
    copy=$scratch/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent -no-obsolete -locations none -I "$root/src" "$root/src/ui" \
        "$root/src/model/helptopics.cpp" -ts "$copy"
    if grep -q 'type="unfinished"' "$copy"; then
        echo "FAIL: $(basename "$ts") has no finished translation of:"
        grep -B3 'type="unfinished"' "$copy" | grep '<source>'
        failed=1
    else
        echo "PASS: $(basename "$ts") is complete"
    fi
done
exit "$failed"
