#!/usr/bin/env bash
# The 32-bit Windows build, for the machines that hold the card (Windows 98 SE, ME, 2000, XP):
# cross-builds vymsetup.exe, vymsetup-script.exe, vymcnf.exe and vymcnf.sys with the mingw-i686
# preset and checks what those systems and their CPUs can take:
#   - first the checks themselves, on a small program made to fail them;
#   - each program: PE32, OS and subsystem version 4.0, stripped, imports only from the allowed
#     DLLs, each on the reviewed list, none on the denied list, msvcrt's all in the msvcrt of
#     98 SE; the driver: PE32, native, kernel imports that Windows 2000 has;
#   - no instruction that a Pentium MMX or a K6-2 lacks in any of them, counted by disassembly
#     (the functions that hold one are named);
#   - the programs fit on one 1.44 MB floppy;
#   - the 32-bit programs at work, where 32-bit Wine is installed, in one 32-bit prefix: the
#     start-up probes (the 64-bit ones run in 40-wine.sh); without a driver, with Wine set to
#     Windows 98 and to XP, the runner's events, vymcnf.exe's failure and vymsetup.exe's one
#     box; as Windows 98 on a card file (no driver): every whole-program case through the
#     32-bit vymsetup-script.exe --card, vymsetup.exe FILE (title, a pick, OK and Yes) and
#     vymcnf.exe --card FILE; then, set to XP, the 32-bit vymcnf.sys installed by install.cmd, every whole-program
#     case through the 32-bit vymsetup-script.exe (script_tests compares events and card
#     bytes with the native runner's), a pick, OK and Yes in the 32-bit vymsetup.exe with the
#     card compared and a screenshot, and vymcnf.exe reading, writing back and verifying.
# Set to 98, Wine takes every \\.\NAME for a VxD of its own, as Windows 98 does for its
# drivers: an NT driver such as vymcnf.sys cannot be reached there, so the card's parts run
# under the XP setting only.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
STAGE_NAME="windows 98"
source scripts/ci/lib/stage.sh
export VYM_WINAPI_DIR=${VYM_WINAPI_DIR:-$root/../shared/winapi}
checks=scripts/win98
build=build/mingw-i686
out=$root/build/windows-98
mkdir -p "$out"

say "32-bit cross build"
cmake --preset mingw-i686 >"$out/configure.log" 2>&1 || {
    cat "$out/configure.log"
    fail "cmake --preset mingw-i686"
}
programs=(win32/vymsetup.exe script/vymsetup-script.exe cli/vymcnf.exe)
cmake --build --preset mingw-i686 -j2 --target vymsetup vymsetup-script vymcnf-cli vymcnf \
    vymstartup-probe vymstartup-probe-gui vymprobe

say "the checks fail where they must"
bad=$out/bad-program
cat >"$bad.c" <<'PROGRAM'
#define _WIN32_WINNT 0x0600
#include <windows.h>
int main(void) {
    HANDLE file = CreateFileW(L"x", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    return (int)GetTickCount64() + (file != INVALID_HANDLE_VALUE);
}
PROGRAM
i686-w64-mingw32-gcc-win32 -O2 "$bad.c" -o "$bad.exe" -Wl,--major-subsystem-version,6
if "$checks/check-image.sh" program "$bad.exe" >"$bad.txt" 2>&1; then
    fail "the image check passed a program it must refuse"
fi
for reason in "MajorSubsystemVersion is 6" "not stripped" "GetTickCount64" "CreateFileW"; do
    grep -q "$reason" "$bad.txt" || {
        cat "$bad.txt" >&2
        fail "the image check did not say '$reason' (above)"
    }
done
# The toolchain's own start-up holds CMOV: the count must see it.
if [ "$("$checks/p6-instructions.sh" "$bad.exe")" -eq 0 ]; then
    fail "no P6 instruction counted in the toolchain's start-up"
fi

say "imports"
for program in "${programs[@]}"; do
    "$checks/check-image.sh" program "$build/$program"
done
"$checks/check-image.sh" driver "$build/emulator/vymcnf.sys"

say "instructions a Pentium MMX or K6-2 lacks (CMOV, FCMOV, FCOMI, FUCOMI, SSE)"
for image in "${programs[@]}" emulator/vymcnf.sys; do
    count=$("$checks/p6-instructions.sh" "$build/$image")
    if [ "$count" -ne 0 ]; then
        "$checks/p6-instructions.sh" "$build/$image" "$build/$image.map" >&2
        fail "$image holds $count of them, in the functions above"
    fi
    echo "  $(basename "$image"): none"
done

say "sizes"
floppy=1457664 # bytes free on a freshly formatted 1.44 MB floppy
total=0
for image in "${programs[@]}" emulator/vymcnf.sys; do
    size=$(wc -c <"$build/$image")
    total=$((total + size))
    echo "  $(basename "$image"): $size bytes"
done
[ "$total" -le "$floppy" ] || fail "$total bytes do not fit on one floppy ($floppy)"
echo "  together $total of the $floppy bytes of a floppy"

source scripts/ci/lib/wine.sh
source scripts/ci/lib/vymcnf-service.sh
source scripts/ci/wine/programs.sh
source scripts/ci/wine/card.sh
source scripts/ci/wine/startup.sh
source scripts/ci/wine/file-card.sh
if ! wine_loader win32 >/dev/null; then
    say "NOTICE: the 32-bit programs did not run: $(wine_loader_missing win32)"
    exit 0
fi
tree=$root/$build
native=$root/build/default
build_native_runners

timed prefix wine_session win32
timed "start-up probes" check_startup_probes 32-bit "$tree"
timed "no driver, 98" check_no_driver_on win98 "$tree"
timed "dialog on a card file, 98" check_dialog_on_card_file "$tree" 32-bit
timed "vymcnf on a card file, 98" check_vymcnf_on_card_file "$tree" 32-bit
timed "cases on a card file, 98" check_cases_on_card_file "$tree" 32-bit
timed "no driver, XP" check_no_driver_on winxp "$tree"
wine_run 60 winecfg -v winxp >/dev/null || fail "winecfg -v winxp"
timed "card driver, XP" install_card_driver
timed "whole-program cases, XP" check_script_cases
timed "dialog on the driver, XP" check_dialog_on_driver "$out/vymsetup-win32.png"
timed "vymcnf on the driver, XP" check_vymcnf_on_driver
timings
say "passed"
