# What bench/run.sh and bench/slowfs.sh share: where things are, --help, and how they complain.
# Sourced after the caller has set `here` (the bench directory); BENCH_SCRIPT names its Python
# half, whose --help is the caller's.
repo=$(dirname "$here")
shared=${TWINFOLD_SHARED_BENCH:-$(dirname "$repo")/shared/bench}
floor_dir=$here/out/floor

for arg in "$@"; do
    case $arg in
    -h | --help)
        python3 "$here/$BENCH_SCRIPT" --help
        exit 0
        ;;
    esac
done

say() { printf 'bench: %s\n' "$*" >&2; }
die() {
    say "$*"
    exit 2
}

# twinfold-cli as timed: TWINFOLD_CLI, or the release build, (re)built unless BENCH_NO_BUILD=1.
use_release_cli()
{
    if [ -z "${TWINFOLD_CLI:-}" ]; then
        export TWINFOLD_CLI=$repo/build/release/cli/twinfold-cli
        if [ "${BENCH_NO_BUILD:-0}" = 0 ]; then
            say "building twinfold-cli (release)"
            (
                cd "$repo"
                [ -f build/release/CMakeCache.txt ] || cmake --preset release >/dev/null
                cmake --build --preset release -j "${BENCH_JOBS:-2}" --target twinfold-cli
            ) >&2 || die "building twinfold-cli failed"
        fi
    fi
    [ -x "$TWINFOLD_CLI" ] || die "twinfold-cli not found: $TWINFOLD_CLI"
}
