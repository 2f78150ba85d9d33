#!/usr/bin/env bash
# Starts a program in a private X server (Xvfb), waits until a window captioned exactly "Avatello"
# is viewable, checks its client area if a size is given, then ends the program.
#   window_check.sh path/to/avatello [WIDTHxHEIGHT]
set -euo pipefail
program=${1:?usage: window_check.sh path/to/avatello [WIDTHxHEIGHT]}
size=${2:-}

home=$(mktemp -d)
pid=""
xvfb=""
stop() {
    if [ -n "$1" ]; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
cleanup() {
    stop "$pid"
    stop "$xvfb"
    rm -rf "$home"
}
trap cleanup EXIT

# Xvfb binds a free display itself and reports its number (-displayfd), and no cookie is involved:
# under xvfb-run -a, a CI machine once handed the program a display that refused its connection.
: >"$home/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$home/display" >"$home/xvfb.log" 2>&1 &
xvfb=$!
deadline=$((SECONDS + 20))
until read -r number <"$home/display"; do
    if ! kill -0 "$xvfb" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
        echo "FAIL: Xvfb did not start"
        cat "$home/xvfb.log"
        exit 1
    fi
    sleep 0.05
done
export DISPLAY=":$number"
unset XAUTHORITY
if ! xwininfo -root >/dev/null; then
    echo "FAIL: Xvfb reported display $DISPLAY but does not accept connections"
    cat "$home/xvfb.log"
    exit 1
fi

HOME=$home XDG_RUNTIME_DIR=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$program" &
pid=$!

deadline=$((SECONDS + 20))
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
        echo "FAIL: no viewable window captioned Avatello within 20 s"
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
