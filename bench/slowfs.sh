#!/usr/bin/env bash
# Twinfold on a slow share: twinfold-cli against cp, rsync and the parallel floor with the
# destination on the shared slowfs (a FUSE pass-through with a round trip per metadata call).
#
#   bench/slowfs.sh [--small] [--runs N] [--only initial|noop ...] [--meta-us N] [--data-mbps R]
#
# Installs what only this benchmark needs (fuse3, libfuse3-dev, rsync) if missing, builds
# twinfold-cli (release preset) and, out of the shared bench directory, slowfs, parfloor and
# the other floors, then hands over to bench/slowfs.py, which mounts the share, times and
# writes bench/out/slowfs-results.md. Needs root (or a user allowed to mount FUSE).
#
# Environment:
#   TWINFOLD_SHARED_BENCH   the shared bench directory (default ../shared/bench beside the repo)
#   TWINFOLD_CLI=PATH       time this binary instead of building build/release/cli/twinfold-cli
#   BENCH_NO_BUILD=1        do not (re)build twinfold-cli; use the binary as it is
#   BENCH_JOBS=N            build parallelism (default 2)
#   BENCH_RUNS=N            rounds (default 3)
#   BENCH_WORK=DIR          source, share and mount point (default bench/out/slowfs-work)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BENCH_SCRIPT=slowfs.py
# shellcheck source=bench/common.sh
source "$here/common.sh"

[ -f "$shared/slowfs.c" ] || die "shared bench directory not found: $shared (set TWINFOLD_SHARED_BENCH)"
[ -e /dev/fuse ] || die "/dev/fuse is missing: this machine cannot mount FUSE file systems"

# What only the benchmarks need; CI does not run them, so scripts/install-deps.sh leaves it out.
missing=()
for package in fuse3 libfuse3-dev pkg-config rsync; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    say "installing ${missing[*]}"
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

use_release_cli

# The share and the floors, built with the shared Makefile into bench/out/floor/.
mkdir -p "$floor_dir"
for prog in slowfs parfloor statfloor copyfloor; do
    if [ ! -x "$floor_dir/$prog" ] || [ "$shared/$prog.c" -nt "$floor_dir/$prog" ]; then
        say "compiling $prog"
        # -B: a binary left in the shared directory would otherwise count as made.
        make -s -B -C "$floor_dir" -f "$shared/Makefile" VPATH="$shared" "$prog" >&2 ||
            die "compiling $prog failed"
    fi
done

export TWINFOLD_SHARED_BENCH=$shared
exec python3 "$here/slowfs.py" --floor-dir "$floor_dir" "$@"
