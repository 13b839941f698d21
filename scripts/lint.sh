#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says; given a configured build
# directory, also runs clang-tidy (.clang-tidy) over every source file of the tree that the build
# compiles. Either finding fails the script.
#   scripts/lint.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
echo "clang-format: every file formatted"
[ $# -ge 1 ] || exit 0
# Generated files (moc, resources) live in the build directory and are left out by the pattern.
run-clang-tidy-14 -quiet -j "$(nproc)" -p "$1" "^$PWD/(src|cli|qt|tests|fuzz)/" >"$1/clang-tidy.log" 2>&1 ||
    { grep -E "(warning|error):" "$1/clang-tidy.log" | sort -u; exit 1; }
echo "clang-tidy: no findings"
