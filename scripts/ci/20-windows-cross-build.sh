#!/usr/bin/env bash
# The Windows build: the one x86-64 cross tree (build/mingw-tests) with everything in it, the
# programs, the emulated card driver, the start-up probes and the tests that run under Wine
# later; then what can be checked of the images without Windows.
set -euo pipefail
cd "$(dirname "$0")/../.."
STAGE_NAME="windows cross build"
source scripts/ci/lib/stage.sh
source scripts/ci/lib/windows-image.sh

tree=build/mingw-tests
tools=x86_64-w64-mingw32
started=$(now)
cmake --preset mingw-tests >/dev/null
# The start-up probes are built on request only.
cmake --build --preset mingw-tests -j2 --target all vymstartup-probe vymstartup-probe-gui
say "ok - $tree built in $(since "$started")s"

check_program "$tools" "$tree/win32/vymsetup.exe" "Windows GUI"
check_program "$tools" "$tree/script/vymsetup-script.exe" "Windows CUI"
check_program "$tools" "$tree/cli/vymcnf.exe" "Windows CUI"
check_driver_image "$tools" "$tree/emulator/vymcnf.sys"
