#!/usr/bin/env bash
# Twinfold benchmarks: twinfold-cli against cp and rsync on the shared inputs.
#
#   bench/run.sh [--small] [--runs N] [--work DIR] [--keep-work] [--only SCENARIO...]
#
# Installs rsync if missing, builds twinfold-cli (release preset) and the shared
# floor programs, then hands over to bench/bench.py, which generates the inputs,
# times everything and writes bench/out/results.md.
#
# Environment:
#   BENCH_SCALE=small       same as --small (tiny inputs, checks the harness)
#   BENCH_RUNS=N            timed runs per tool and scenario (default 5)
#   BENCH_WORK=DIR          where inputs and destinations go (default bench/out/work)
#   BENCH_KEEP_WORK=1       keep the generated inputs for the next run
#   BENCH_SETTLE=SECONDS    wait after bulk deletions (default 30, small 1)
#   TWINFOLD_SHARED_BENCH   the shared bench directory (default ../shared/bench beside the repo)
#   TWINFOLD_CLI=PATH       time this binary instead of building build/release/cli/twinfold-cli
#   BENCH_NO_BUILD=1        do not (re)build twinfold-cli; use the binary as it is
#   BENCH_JOBS=N            build parallelism (default 2)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BENCH_SCRIPT=bench.py
# shellcheck source=bench/common.sh
source "$here/common.sh"

[ -f "$shared/gen_tree.py" ] || die "shared bench inputs not found in $shared (set TWINFOLD_SHARED_BENCH)"
command -v python3 >/dev/null || die "python3 is required"

# Peers. hyperfine is not needed: bench.py does its own timing, because most
# scenarios need a set-up step between runs.
if ! command -v rsync >/dev/null; then
    say "installing rsync"
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq rsync >/dev/null
fi

use_release_cli

# Floors, compiled out of the (read-only) shared directory.
mkdir -p "$floor_dir"
for prog in statfloor copyfloor; do
    if [ ! -x "$floor_dir/$prog" ] || [ "$shared/$prog.c" -nt "$floor_dir/$prog" ]; then
        say "compiling $prog"
        gcc -O2 -Wall -o "$floor_dir/$prog" "$shared/$prog.c"
    fi
done

export TWINFOLD_SHARED_BENCH=$shared
exec python3 "$here/bench.py" --floor-dir "$floor_dir" "$@"
