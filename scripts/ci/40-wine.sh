#!/usr/bin/env bash
# The x86-64 Windows build under Wine, in one fresh 64-bit prefix with a private display:
#   - the runner's version, our start-up pieces (the start-up probes), and the test programs as
#     Windows executables;
#   - with no configuration driver, vymsetup.exe shows one information box with the system's
#     text and ends when it is closed; the runner reports the same;
#   - with no driver, on a card file named on the command line: every whole-program case through
#     vymsetup-script.exe --card (script_tests compares); vymsetup.exe FILE with the file in its
#     title bar, its native controls template 102's, a screenshot, and keys at the real controls
#     writing the native runner's bytes; vymcnf.exe --card FILE info, read, write (after a
#     backup, from Intel HEX) and verify;
#   - vymcnf.sys installed, started, exercised, stopped and removed (install.cmd, remove.cmd and
#     the sc steps), and the starts that must fail;
#   - on vymcnf.sys: the device contract cases, every whole-program case through
#     vymsetup-script.exe (script_tests compares), a pick written by vymsetup.exe, and
#     vymcnf.exe read, write (after a backup) and verify.
# Every wait is bounded; no Wine process, display or temporary folder outlives the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
STAGE_NAME=wine
source scripts/ci/lib/wine.sh
source scripts/ci/lib/vymcnf-service.sh
source scripts/ci/wine/programs.sh
source scripts/ci/wine/driver.sh
source scripts/ci/wine/card.sh
source scripts/ci/wine/startup.sh
source scripts/ci/wine/file-card.sh

tree=$root/build/mingw-tests
native=$root/build/default
out=$root/build/wine
# The device contract cases against the driver run once it is installed.
driver_contract_tests=driver/driver_contract_tests.exe
mkdir -p "$out"

started=$(now)
build_native_runners
cmake --preset mingw-tests >/dev/null
cmake --build --preset mingw-tests -j2 --target all vymstartup-probe vymstartup-probe-gui >/dev/null
say "ok - native and cross builds up to date in $(since "$started")s"
# Every other test program the cross tree makes runs as a Windows executable.
mapfile -t unit_tests < <(grep -vxF "$driver_contract_tests" "$tree/test-programs.txt")
[ "${#unit_tests[@]}" -gt 0 ] || fail "no test programs in $tree/test-programs.txt"

timed prefix wine_session win64
timed "runner version" check_runner_version
timed "start-up probes" check_startup_probes 64-bit "$tree"
timed "unit tests" check_unit_tests "${unit_tests[@]}"
timed "no driver" check_no_driver
timed "dialog on a card file" check_dialog_on_card_file "$tree" 64-bit "$out/vymsetup-wine.png"
timed "cases on a card file" check_cases_on_card_file "$tree" 64-bit
timed "vymcnf on a card file" check_vymcnf_on_card_file "$tree" 64-bit
timed "driver service" check_driver_service
timed "card driver" install_card_driver "$tree/$driver_contract_tests"
timed "contract cases" check_contract_cases
timed "whole-program cases" check_script_cases
timed "dialog on the driver" check_dialog_on_driver
timed "vymcnf on the driver" check_vymcnf_on_driver
timings
say "all checks passed"
