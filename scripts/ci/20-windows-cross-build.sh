#!/usr/bin/env bash
# Cross-compiles the platform-free layers and the card channel for Windows with mingw-w64, so
# the Kernel32 side of the device seam always builds, even on machines that never run it.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --preset mingw
wanted=(vym_pnp vym_driver)
targets=()
available=$(cmake --build --preset mingw --target help)
for target in "${wanted[@]}"; do
    if grep -q "^${target}:" <<<"$available"; then
        targets+=("$target")
    fi
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "windows cross build: none of ${wanted[*]} is defined" >&2
    exit 1
fi
cmake --build --preset mingw --target "${targets[@]}"
echo "windows cross build: built ${targets[*]}"
