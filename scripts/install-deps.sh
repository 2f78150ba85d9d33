#!/usr/bin/env bash
# Installs the Debian packages Avatello needs to build, run and test, skipping those already there.
# Works on Debian 12 and 13: every name is one both releases have, version-free where Debian
# offers such a name (libclang-rt-dev is the runtime of the release's default clang).
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang libclang-rt-dev qt6-base-dev qt6-base-dev-tools libjpeg-dev
    # translations: lupdate and lrelease, and CMake's qt_add_translations (Qt6LinguistTools)
    qt6-l10n-tools qt6-tools-dev
    # run: Qt's platform plugins, Qt's own translations, the default face "Tahoma" and
    # metric-compatible core fonts
    qt6-qpa-plugins qt6-translations-l10n fonts-wine fonts-liberation
    # run: emoji in colour, and Han characters, kana and hangul in each language's forms
    fonts-noto-color-emoji fonts-noto-cjk
    # test: a private X server and tools to drive it, Pillow and ImageMagick to read pictures,
    # the accessibility bus and its Python client to look at what a screen reader is shown
    xvfb xauth xdotool x11-utils openbox python3-pil imagemagick at-spi2-core python3-pyatspi
    # test: a real screen reader on a private session bus, its speech written to a file by
    # speech-dispatcher (tests/e2e/run_orca.py)
    orca speech-dispatcher dbus-daemon procps
    # test: a desktop theme (the maker must not follow it)
    qt6ct
    # benchmarks, packaging checks
    libbenchmark-dev libmagick++-dev desktop-file-utils appstream dpkg-dev help2man
    # the package installed in a fresh Debian root (scripts/check-package.sh)
    debootstrap
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
