#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test; then runs them
# all again under the address and undefined-behaviour sanitizers, and gives each fuzzer a short
# smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci --output-on-failure
# Every window drawn under a window manager: the program starts, shows each window and ends.
TWINFOLD_PRESET=ci scripts/screenshots.sh build/screenshots

cmake --preset asan
cmake --build --preset asan
ctest --preset asan --output-on-failure

# A few seconds a fuzzer: enough to catch a parser that breaks on its own seeds.
scripts/fuzz.sh 5
