#!/usr/bin/env bash
# Draws each window of the desktop program, framed by a window manager (openbox) on a virtual
# display, into PNG files.
# Usage: scripts/screenshots.sh [OUTDIR] (default: build/screenshots); builds the preset named
# by TWINFOLD_PRESET (default: debug).
set -euo pipefail
cd "$(dirname "$0")/.."
export preset="${TWINFOLD_PRESET:-debug}"
[ -d "build/$preset" ] || cmake --preset "$preset"
cmake --build --preset "$preset" --target twinfold -j2
out="${1:-build/screenshots}"
mkdir -p "$out"
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
export TWINFOLD_SCREENSHOTS="$(realpath "$out")" config
xvfb-run -a -s "-screen 0 1280x900x24" sh -c \
    'openbox & sleep 1; "build/$preset/qt/twinfold" --config-dir "$config"; status=$?; kill $!; exit $status'
ls "$out"
