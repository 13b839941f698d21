#!/usr/bin/env bash
# Draws each window of the desktop program under a virtual display into PNG files.
# Usage: scripts/screenshots.sh [OUTDIR] (default: build/screenshots); builds the debug preset.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build/debug ] || cmake --preset debug
cmake --build --preset debug --target twinfold -j2
out="${1:-build/screenshots}"
mkdir -p "$out"
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
TWINFOLD_SCREENSHOTS="$(realpath "$out")" xvfb-run -a build/debug/qt/twinfold --config-dir "$config"
ls "$out"
