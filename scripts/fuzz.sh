#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang-14 with the address and undefined-behaviour
# sanitizers) and runs each for a bounded time from the seed corpus in fuzz/corpus.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 60 s, every target)
# Inputs the fuzzer finds go to build/fuzz/corpus/, never into the repository's seeds; a crash,
# a broken invariant or a slow input (over 5 s) stops the script with the input saved under
# build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
declare -A seeds=(
    [IniFileFuzzer]=ini [BatchFileFuzzer]=batch [WildcardFuzzer]=wildcard
    [FilterTextFuzzer]=filter [PathRulesFuzzer]=paths
)
targets=("$@")
((${#targets[@]})) || targets=(IniFileFuzzer BatchFileFuzzer WildcardFuzzer FilterTextFuzzer PathRulesFuzzer)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]}"

mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
    work=build/fuzz/corpus/${seeds[$target]}
    mkdir -p "$work"
    log=build/fuzz/findings/$target.log
    echo "== $target: $seconds s"
    if ! build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
        -artifact_prefix=build/fuzz/findings/"$target"- "$work" fuzz/corpus/"${seeds[$target]}" \
        >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "$target failed; the input is under build/fuzz/findings/" >&2
        exit 1
    fi
    grep -E "^(Done|#[0-9]+ +DONE)" "$log" || tail -n 1 "$log"
done
