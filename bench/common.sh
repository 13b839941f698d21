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
