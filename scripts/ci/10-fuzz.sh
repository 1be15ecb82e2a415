#!/usr/bin/env bash
# Fuzzes the image reader and writer, and the resource data decoder, for a bounded time with the
# address and undefined behaviour sanitizers; the fuzzers share the stage's time. Any crash,
# sanitizer report or broken invariant fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."

FUZZ_SECONDS="${VYM_FUZZ_SECONDS:-60}"
BUILD_DIR="${VYM_FUZZ_BUILD_DIR:-build/fuzz}"
FUZZERS=(pnp_fuzzer resource_decoder_fuzzer)
# The reader and writer have more roads to cover than the decoder: two thirds of the time.
declare -A SHARE=([pnp_fuzzer]=2 [resource_decoder_fuzzer]=1)

cmake --preset fuzz -B "${BUILD_DIR}"
cmake --build "${BUILD_DIR}" --target "${FUZZERS[@]}" -j2

# Work on copies, so that the seeds in the repository stay as they are.
work="$(mktemp -d)"
trap 'rm -rf "${work}"' EXIT

failed=0
for fuzzer in "${FUZZERS[@]}"; do
    seconds=$((FUZZ_SECONDS * SHARE[${fuzzer}] / 3))
    [ "${seconds}" -ge 1 ] || seconds=1
    dir="${work}/${fuzzer}"
    mkdir -p "${dir}/corpus" "${dir}/artifacts"
    cp fuzz/corpus/* "${dir}/corpus/"

    status=0
    "${BUILD_DIR}/fuzz/${fuzzer}" "${dir}/corpus" \
        -max_total_time="${seconds}" -max_len=2200 -timeout=10 -rss_limit_mb=1024 \
        -print_final_stats=1 -artifact_prefix="${dir}/artifacts/" \
        >"${dir}/fuzz.log" 2>&1 || status=$?

    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "${dir}/fuzz.log" | tail -n 1)"
    coverage="$(grep -o 'cov: [0-9]*' "${dir}/fuzz.log" | tail -n 1 | cut -d' ' -f2)"
    echo "${fuzzer}: ${executions:-0} executions in ${seconds} s, coverage ${coverage:-0} edges"

    if [ "${status}" -ne 0 ] || ls "${dir}/artifacts/"* >/dev/null 2>&1; then
        # The sanitizer's report stands before the statistics; show all of it.
        grep -v '^#[0-9]' "${dir}/fuzz.log" | head -n 300 >&2
        echo "${fuzzer} found a problem (exit ${status}); reproducer:" >&2
        for artifact in "${dir}/artifacts/"*; do
            [ -e "${artifact}" ] || continue
            echo "${artifact}:" >&2
            od -A d -t x1 "${artifact}" | head -n 40 >&2
        done
        failed=1
        continue
    fi
    grep '^stat::' "${dir}/fuzz.log"
done
exit "${failed}"
