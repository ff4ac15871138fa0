#!/usr/bin/env bash
# Runs libFuzzer targets one after the other, each for a bounded time.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]     (default: every fuzz_* target built)
# Each starts from its seed corpus, fuzz/corpus/TARGET, and keeps what it finds in
# BUILD_DIR/corpus/TARGET; an input that breaks an invariant or trips a sanitizer is written to
# BUILD_DIR/findings/TARGET/ and makes the run fail.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for binary in "$build"/fuzz/fuzz_*; do
        [ -x "$binary" ] && targets+=("${binary##*/fuzz_}")
    done
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz/run.sh: no fuzzers in $build/fuzz" >&2
    exit 1
fi

status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    log=$build/fuzz-$target.log
    mkdir -p "$corpus" "$findings"
    echo "== fuzz_$target for ${seconds}s =="
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$target" \
        >"$log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^Done' "$log" | tail -2
    else
        echo "fuzz_$target found a problem (input in $findings/):"
        tail -n 40 "$log"
        status=1
    fi
done
exit $status
