#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60) on a scratch copy
# of its seed corpus. Fails on any crash, leak, timeout or broken check; the input
# that did it is kept in build/fuzz/findings. FUZZ_JOBS=N runs N targets at a time
# (default: one per core); FUZZ_TARGETS="a b" builds and runs only those.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
jobs="${FUZZ_JOBS:-$(nproc)}"

scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
build_start=$SECONDS
if [ -n "${FUZZ_TARGETS:-}" ]; then
    cmake --build --preset fuzz -j"$(nproc)" --target write_fuzz_seeds \
        $(printf 'fuzz_%s ' $FUZZ_TARGETS)
else
    cmake --build --preset fuzz -j"$(nproc)"
fi
echo "fuzz build: $((SECONDS - build_start)) s"

bin=build/fuzz/fuzz
findings=build/fuzz/findings
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$bin/write_fuzz_seeds" "$scratch/seeds"
mkdir -p "$findings"

targets=${FUZZ_TARGETS:-$(cd "$bin" && ls fuzz_* | sed 's/^fuzz_//')}

run_target() {
    local name=$1 corpus="$scratch/corpus/$1"
    mkdir -p "$corpus"
    cp -r "$scratch/seeds/$name/." "$corpus/" 2>/dev/null || true
    cp -r "fuzz/corpus/$name/." "$corpus/" 2>/dev/null || true
    if UBSAN_OPTIONS=print_stacktrace=1 "$bin/fuzz_$name" "$corpus" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/$name-" >"$scratch/$name.log" 2>&1; then
        echo ok >"$scratch/$name.result"
    else
        echo failed >"$scratch/$name.result"
    fi
}

running=0
for name in $targets; do
    run_target "$name" &
    running=$((running + 1))
    if ((running >= jobs)); then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

passed=0
failed=0
for name in $targets; do
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log")
    if [ "$(cat "$scratch/$name.result")" = ok ]; then
        printf '%-18s %12s executions in %s s\n' "$name" "${executions:-?}" "$seconds"
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf '%-18s FAILED\n' "$name"
        tail -n 60 "$scratch/$name.log"
    fi
done
echo "fuzz: $passed passed, $failed failed"
if ((failed)); then
    echo "The inputs that failed are in $findings; rerun one with $bin/fuzz_NAME FILE."
    exit 1
fi
