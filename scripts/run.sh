#!/usr/bin/env bash
# Installs what is missing, builds Avatello and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Avatello is a desktop program and needs a graphical display, but neither DISPLAY nor" >&2
    echo "WAYLAND_DISPLAY is set. Start it from a desktop session, or in a virtual X server:" >&2
    echo "    xvfb-run scripts/run.sh" >&2
    exit 1
fi
exec build/src/avatello
