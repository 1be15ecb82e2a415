#!/usr/bin/env bash
# Prints the benchmark figures: in one process, start-up against the bare card reads and the
# write loop against its 20 ms pace (smallest gap between two byte writes included); as whole
# processes, vymsetup-script to a filled dialog and Cancel on the factory card against a bare
# program that opens the card and makes the 2048 one-byte reads. Figures only: a slow machine
# does not fail the tests, a benchmark that cannot run does.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VYM_BENCH_BUILD:-build/default}
bench=$build/bench/vym_bench
if [ ! -x "$bench" ]; then
    echo "benchmarks: $bench not built (VYM_BUILD_BENCHMARKS off?), skipped"
    exit 0
fi
"$bench" --benchmark_min_time=0.2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo factory >"$work/factory.description"
"$build/tests/vym-case-image" "$work/factory.description" "$work/card.bin"
: >"$work/empty.script"
export VYMCNF_EEPROM="$work/card.bin" VYMCNF_DRIVE_C="$work" HOME="$work" XDG_DATA_HOME="$work"

# Whole processes, many in a row and taken in turns, so that the machine's drift hits both.
runs=${VYM_BENCH_PROCESS_RUNS:-200}
seconds() {
    local start end
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do "$@" >/dev/null; done
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
runner_us=0
bare_us=0
for _ in 1 2 3; do
    runner_us=$((runner_us + $(seconds "$build/script/vymsetup-script" "$work/empty.script")))
    bare_us=$((bare_us + $(seconds "$build/bench/vym-bare-card-reads")))
done
awk -v r="$runner_us" -v b="$bare_us" -v n=$((3 * runs)) 'BEGIN {
    printf "process start-up to a filled dialog: %.3f ms a run, bare 2048 reads %.3f ms, ratio %.2f\n",
        r / n / 1000, b / n / 1000, r / b
}'
