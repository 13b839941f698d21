#!/usr/bin/env bash
# The cost of durable copies and of a small incremental run, beside bench/run.sh.
#
#   bench/copy-scenarios.sh [--small] [--runs N]
#
# Scenarios, each timed N times (default 5) with a fresh destination where it says so, and
# reported as the median in seconds:
#   initial            initial mirror of the mixed tree (fresh destination every run)
#   initial-fsync      the same with --fsync: every file and its directory synced
#   incremental-5pct   a mirrored tree whose source has 5% of its files rewritten and dated
#                      later, then synchronised (a fresh mirror before every run)
#
# Environment: TWINFOLD_CLI (binary; default build/release/cli/twinfold-cli, built if missing),
# TWINFOLD_SHARED_BENCH (the shared inputs' generator), BENCH_WORK (default bench/out/copy-work).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
shared=${TWINFOLD_SHARED_BENCH:-$(dirname "$repo")/shared/bench}
work=${BENCH_WORK:-$here/out/copy-work}
runs=5
dirs=400 depth=4 files=50 large=4
while [ $# -gt 0 ]; do
    case $1 in
    --small) dirs=20 depth=3 files=10 large=1 ;;
    --runs) runs=$2 && shift ;;
    *) echo "usage: $0 [--small] [--runs N]" >&2 && exit 2 ;;
    esac
    shift
done

cli=${TWINFOLD_CLI:-$repo/build/release/cli/twinfold-cli}
if [ ! -x "$cli" ]; then
    (cd "$repo" && cmake --preset release >/dev/null && cmake --build --preset release -j2 --target twinfold-cli)
fi

rm -rf "$work" && mkdir -p "$work"
src=$work/src
python3 "$shared/gen_tree.py" mixed "$src" --dirs "$dirs" --depth "$depth" --files-per-dir "$files" \
    --large "$large" --seed 1 >/dev/null

now() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
sync_tree() { "$cli" sync "$src" "$1" --all --quiet "${@:2}" >/dev/null 2>&1; }

# One timed run of `sync_tree DEST EXTRA...` after `prepare DEST`; prints seconds.
timed() {
    local prepare=$1 dest=$work/dst && shift
    rm -rf "$dest" && mkdir -p "$dest"
    $prepare "$dest"
    sync
    local started && started=$(now)
    sync_tree "$dest" "$@"
    awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.3f\n", b - a }'
}

nothing() { :; }
# A mirror whose source then has every twentieth file rewritten and dated an hour later.
stale_mirror() {
    sync_tree "$1"
    find "$src" -type f | sort | awk 'NR % 20 == 0' | while read -r f; do
        printf 'changed\n' >>"$f"
        touch -d "@$(($(stat -c %Y "$f") + 3600))" "$f"
    done
}

report() {
    local name=$1 && shift
    local times=() && for _ in $(seq "$runs"); do times+=("$("$@")"); done
    printf '%-18s median %ss  (runs: %s)\n' "$name" "$(printf '%s\n' "${times[@]}" | median)" "${times[*]}"
}

report initial timed nothing
report initial-fsync timed nothing --fsync
report incremental-5pct timed stale_mirror
