#!/usr/bin/env bash
# Cross-compiles the platform-free layers and the card channel for Windows with mingw-w64, so
# the Kernel32 side of the device seam always builds, even on machines that never run it.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --preset mingw
cmake --build --preset mingw --target vym_pnp vym_driver
echo "windows cross build: built vym_pnp vym_driver"
