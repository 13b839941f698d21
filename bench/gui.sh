#!/usr/bin/env bash
# The desktop program under Xvfb against twinfold-cli, Sync All over the shared mixed tree.
#
#   bench/gui.sh [--small] [--runs N] [--work DIR] [--keep-work]
#
# Builds twinfold and twinfold-cli (release preset) unless told otherwise, then hands over to
# bench/gui.py, which writes bench/out/gui-results.md.
#
# Environment:
#   TWINFOLD_SHARED_BENCH   the shared bench directory (default ../shared/bench beside the repo)
#   TWINFOLD_CLI=PATH       time this twinfold-cli; TWINFOLD_GUI=PATH this twinfold (no build)
#   BENCH_NO_BUILD=1        do not (re)build; use the release binaries as they are
#   BENCH_JOBS=N            build parallelism (default 2)
#   BENCH_SCALE, BENCH_RUNS, BENCH_WORK, BENCH_KEEP_WORK as for bench/run.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
shared=${TWINFOLD_SHARED_BENCH:-$(dirname "$repo")/shared/bench}

say() { printf 'gui-bench: %s\n' "$*" >&2; }
die() {
    say "$*"
    exit 2
}

[ -f "$shared/gen_tree.py" ] || die "shared bench inputs not found in $shared (set TWINFOLD_SHARED_BENCH)"
command -v python3 >/dev/null || die "python3 is required"
if ! command -v Xvfb >/dev/null; then
    say "installing xvfb"
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq xvfb >/dev/null
fi

if [ -z "${TWINFOLD_CLI:-}${TWINFOLD_GUI:-}" ] && [ "${BENCH_NO_BUILD:-0}" = 0 ]; then
    say "building twinfold and twinfold-cli (release)"
    (
        cd "$repo"
        [ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
        cmake --build --preset release -j "${BENCH_JOBS:-2}" --target twinfold twinfold-cli
    ) >&2 || die "building failed"
fi
export TWINFOLD_CLI=${TWINFOLD_CLI:-$repo/build/release/cli/twinfold-cli}
export TWINFOLD_GUI=${TWINFOLD_GUI:-$repo/build/release/qt/twinfold}
[ -x "$TWINFOLD_CLI" ] || die "twinfold-cli not found: $TWINFOLD_CLI"
[ -x "$TWINFOLD_GUI" ] || die "twinfold not found: $TWINFOLD_GUI"

exec python3 "$here/gui.py" --shared "$shared" "$@"
