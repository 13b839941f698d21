#!/usr/bin/env bash
# Draws each window of the desktop program into PNG files, on a virtual display under a window
# manager (openbox), so that the pictures show the frames, captions and stacking a desktop gives.
# Usage: scripts/screenshots.sh [OUTDIR] (default: build/screenshots); builds the screenshot
# tool, which comes with the tests, in the preset named by TWINFOLD_PRESET (default: debug).
# NO_WM=1 draws them on the bare display instead.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${TWINFOLD_PRESET:-debug}"
[ -d "build/$preset" ] || cmake --preset "$preset"
cmake --build --preset "$preset" --target twinfold_screenshots -j2
out="$(realpath -m "${1:-build/screenshots}")"
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# The session's own window places and settings stay out of the pictures.
export XDG_STATE_HOME="$scratch/state" XDG_CONFIG_HOME="$scratch/config"
program="build/$preset/qt/twinfold_screenshots"
if [ "${NO_WM:-}" = 1 ] || ! command -v openbox >/dev/null; then
    [ "${NO_WM:-}" = 1 ] || echo "openbox is not installed (scripts/install-deps.sh): no frames" >&2
    xvfb-run -a -s "-screen 0 1280x900x24" "$program" "$out" "$scratch/config"
else
    xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
        openbox --sm-disable & manager=$!
        sleep 1
        "$0" "$1" "$2"; status=$?
        kill $manager
        exit $status' "$program" "$out" "$scratch/config"
fi
ls "$out"
