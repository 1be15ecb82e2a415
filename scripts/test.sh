#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and runs every test: the native unit and
# whole-program tests through ctest, then each further stage in scripts/ci/ in name order
# (fuzzing, the Windows cross build, the terminal and Wine tests).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

cmake --preset default
cmake --build --preset default
ctest --preset default

for stage in scripts/ci/*.sh; do
    [ -e "$stage" ] || continue
    echo "=== ${stage}"
    bash "$stage"
done
echo "all tests passed"
