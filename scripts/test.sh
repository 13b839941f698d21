#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs every
# test, runs clang-tidy over the tree, builds the Debian packages and checks them with lintian,
# builds and runs the tests again with clang, then runs them all again under the address and
# undefined-behaviour sanitizers, and gives each fuzzer a short smoke run. Each step says how long
# it took.
set -euo pipefail
cd "$(dirname "$0")/.."

step()
{
    local name=$1 start=$SECONDS
    shift
    echo "== $name"
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}
build_and_test()
{
    cmake --preset "$1"
    cmake --build --preset "$1"
    ctest --preset "$1" --output-on-failure
}

scripts/install-deps.sh
step format scripts/lint.sh
step gcc build_and_test ci
# Every window drawn under a window manager: the program starts, shows each window and ends.
step screenshots env TWINFOLD_PRESET=ci scripts/screenshots.sh build/screenshots
step tidy scripts/lint.sh build/ci
step packages scripts/package.sh ci
step clang build_and_test clang
step sanitizers build_and_test asan
# A few seconds a fuzzer: enough to catch a parser that breaks on its own seeds.
step fuzz scripts/fuzz.sh 5
