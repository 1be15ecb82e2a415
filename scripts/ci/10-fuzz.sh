#!/usr/bin/env bash
# Fuzzes the image reader and writer for a bounded time with the address and undefined
# behaviour sanitizers. Any crash, sanitizer report or broken invariant fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."

FUZZ_SECONDS="${VYM_FUZZ_SECONDS:-60}"
BUILD_DIR="${VYM_FUZZ_BUILD_DIR:-build/fuzz}"

cmake --preset fuzz -B "${BUILD_DIR}"
cmake --build "${BUILD_DIR}" --target pnp_fuzzer -j2

# Work on a copy, so that the seeds in the repository stay as they are.
work="$(mktemp -d)"
trap 'rm -rf "${work}"' EXIT
mkdir -p "${work}/corpus" "${work}/artifacts"
cp fuzz/corpus/* "${work}/corpus/"

status=0
"${BUILD_DIR}/fuzz/pnp_fuzzer" "${work}/corpus" \
    -max_total_time="${FUZZ_SECONDS}" -max_len=2200 -timeout=10 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="${work}/artifacts/" \
    >"${work}/fuzz.log" 2>&1 || status=$?

executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "${work}/fuzz.log" | tail -n 1)"
echo "pnp_fuzzer: ${executions:-0} executions in ${FUZZ_SECONDS} s"

if [ "${status}" -ne 0 ] || ls "${work}/artifacts/"* >/dev/null 2>&1; then
    # The sanitizer's report stands before the statistics; show all of it.
    grep -v '^#[0-9]' "${work}/fuzz.log" | head -n 300 >&2
    echo "pnp_fuzzer found a problem (exit ${status}); reproducer:" >&2
    for artifact in "${work}/artifacts/"*; do
        [ -e "${artifact}" ] || continue
        echo "${artifact}:" >&2
        od -A d -t x1 "${artifact}" | head -n 40 >&2
    done
    exit 1
fi
grep '^stat::' "${work}/fuzz.log"
