#!/usr/bin/env bash
# Makes two icons with `avatello make` into a folder: text in Tahoma on a template, and centred
# initials in Liberation Sans on a plain colour. The package check runs it with the build's
# program and with the installed one, whose icons must be byte for byte the same.
#   sample_icons.sh path/to/avatello FOLDER
set -euo pipefail
program=${1:?usage: sample_icons.sh path/to/avatello FOLDER}
out=${2:?usage: sample_icons.sh path/to/avatello FOLDER}
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
run() {
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache LC_ALL=C.UTF-8 \
        "$program" make "$@"
}
run --template 5 --text 'Hello, 12!' --font Tahoma --size 10 --text-color navy --at 3,30 \
    -o "$out/template-tahoma.bmp"
run --color '#1f6feb' --text AL --font 'Liberation Sans' --size 16 --text-color white \
    --center -o "$out/initials-liberation.bmp"
