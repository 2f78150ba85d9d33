#!/usr/bin/env bash
# Starts the built program in a private X server and checks that its main window appears with
# the caption "Avatello" and a 161 x 122 client area.
set -euo pipefail
program=${1:?usage: smoke_xvfb.sh path/to/avatello}

if [ -z "${AVATELLO_IN_XVFB:-}" ]; then
    export AVATELLO_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
HOME=$home XDG_RUNTIME_DIR=$home LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$program" &
pid=$!

window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --name '^Avatello$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable' && break
    kill -0 "$pid" 2>/dev/null || { echo "FAIL: the program ended before showing its window"; exit 1; }
    sleep 0.05
done
[ -n "$window" ] || { echo "FAIL: no window captioned Avatello appeared"; exit 1; }

info=$(xwininfo -id "$window")
width=$(awk '/^  Width:/ {print $2}' <<<"$info")
height=$(awk '/^  Height:/ {print $2}' <<<"$info")
name=$(xdotool getwindowname "$window")
echo "window $window: '$name' ${width}x${height}"
[ "$name" = "Avatello" ] || { echo "FAIL: caption is '$name'"; exit 1; }
[ "$width" = 161 ] && [ "$height" = 122 ] || { echo "FAIL: client area ${width}x${height}"; exit 1; }
echo "PASS: main window shown"
