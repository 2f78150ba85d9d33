#!/usr/bin/env bash
# Starts a program in a private X server (Xvfb), waits until a window captioned exactly "Avatello"
# is viewable, checks its client area if a size is given, then ends the program.
#   window_check.sh path/to/avatello [WIDTHxHEIGHT]
set -euo pipefail
program=${1:?usage: window_check.sh path/to/avatello [WIDTHxHEIGHT]}
size=${2:-}

# The X server comes from xserver.py, as for every test that needs one: run again inside it.
if [ -z "${AVATELLO_WINDOW_CHECK_DISPLAY:-}" ]; then
    AVATELLO_WINDOW_CHECK_DISPLAY=1 exec /usr/bin/python3 "$(dirname "$0")/xserver.py" \
        --screen 800x600x24 -- "$0" "$@"
fi

home=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$home"
}
trap cleanup EXIT

if ! xwininfo -root >/dev/null; then
    echo "FAIL: the X server on $DISPLAY does not accept connections"
    exit 1
fi

HOME=$home XDG_RUNTIME_DIR=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$program" &
pid=$!

# The one start-up deadline, set by xserver.py for every test that starts the program.
timeout=${AVATELLO_WINDOW_TIMEOUT:?run through xserver.py, which sets AVATELLO_WINDOW_TIMEOUT}
deadline=$((SECONDS + timeout))
window=""
while :; do
    for candidate in $(xdotool search --name '^Avatello$' 2>/dev/null || true); do
        if [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "Avatello" ] &&
            xwininfo -id "$candidate" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            window=$candidate
            break
        fi
    done
    [ -n "$window" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "FAIL: $program ended before showing its window"
        exit 1
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
        echo "FAIL: no viewable window captioned Avatello within $timeout s"
        exit 1
    fi
    sleep 0.05
done
echo "PASS: $program shows its window 'Avatello' ($window)"
if [ -n "$size" ]; then
    info=$(xwininfo -id "$window")
    shown="$(awk '/^  Width:/ {print $2}' <<<"$info")x$(awk '/^  Height:/ {print $2}' <<<"$info")"
    if [ "$shown" != "$size" ]; then
        echo "FAIL: the client area is $shown, not $size"
        exit 1
    fi
    echo "PASS: the client area is $size"
fi
