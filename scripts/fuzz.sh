#!/usr/bin/env bash
# Builds the package fuzz target (clang, libFuzzer, ASan, UBSan) and runs it.
# First it proves the target can find a fault: a build with a planted overflow (a short
# string decoded without its length check) must crash within PROOF_SECONDS. Only then
# does the clean target run for FUZZ_SECONDS; any crash fails the script.
# Figures go to stdout; logs and crash inputs stay in build/fuzz*/.
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${PICTORALIA_FUZZ_SECONDS:-60}
proof_seconds=${PICTORALIA_FUZZ_PROOF_SECONDS:-300}
jobs=$(nproc)
# Each run stays within a few MiB: a larger allocation is a finding, as is a slow run.
limits=(-malloc_limit_mb=64 -rss_limit_mb=1024 -timeout=10 -print_final_stats=1)

build() { # preset
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs" --target fuzz_package fuzz_package_seeds >/dev/null
}

build fuzz
build fuzz-planted

seeds=build/fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
build/fuzz/bin/fuzz_package_seeds "$seeds"

executions() { # log: executions of the run, from libFuzzer's final statistics
    sed -n 's/^stat::number_of_executed_units: *//p' "$1" | tail -1
}

# The proof: the planted variant must report the overflow.
proof=build/fuzz-planted/proof
rm -rf "$proof" && mkdir -p "$proof/corpus"
start=$(date +%s%N)
set +e
build/fuzz-planted/bin/fuzz_package "${limits[@]}" -seed=1 -max_total_time="$proof_seconds" \
    -artifact_prefix="$proof/" "$proof/corpus" "$seeds" >"$proof/log" 2>&1
status=$?
set -e
took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
if [ "$status" -eq 0 ] || ! grep -q 'AddressSanitizer: heap-buffer-overflow' "$proof/log"; then
    echo "fuzz: the planted overflow was not found in ${proof_seconds} s; the target proves nothing" >&2
    tail -20 "$proof/log" >&2
    exit 1
fi
printf 'fuzz: planted overflow found after %d.%03d s and %s executions\n' $((took_ms / 1000)) $((took_ms % 1000)) "$(executions "$proof/log")"

# The clean target.
run=build/fuzz/run
rm -rf "$run" && mkdir -p "$run/corpus"
if ! build/fuzz/bin/fuzz_package "${limits[@]}" -max_total_time="$fuzz_seconds" \
    -artifact_prefix="$run/" "$run/corpus" "$seeds" >"$run/log" 2>&1; then
    echo "fuzz: the package reader or extractor failed; input and log in $run/" >&2
    tail -40 "$run/log" >&2
    exit 1
fi
echo "fuzz: clean run of ${fuzz_seconds} s, $(executions "$run/log") executions, no finding"
