#!/usr/bin/env bash
# Prints the runner's benchmark figures (start-up against the bare card reads, the write loop
# against its 20 ms pace). Figures only: a slow machine does not fail the tests, a benchmark
# that cannot run does.
set -euo pipefail
cd "$(dirname "$0")/../.."

bench=${VYM_BENCH:-build/default/bench/vym_bench}
if [ ! -x "$bench" ]; then
    echo "benchmarks: $bench not built (VYM_BUILD_BENCHMARKS off?), skipped"
    exit 0
fi
"$bench" --benchmark_min_time=0.2
