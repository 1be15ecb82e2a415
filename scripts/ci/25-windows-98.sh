#!/usr/bin/env bash
# The 32-bit Windows build, for the machines that hold the card (Windows 98 SE, ME, 2000, XP):
# cross-builds vymsetup.exe, vymsetup-script.exe and vymcnf.sys with the mingw-i686 preset and
# checks what those systems and their CPUs can take:
#   - first the checks themselves, on a small program made to fail them;
#   - each program: PE32, OS and subsystem version 4.0, stripped, imports only from the allowed
#     DLLs, each on the reviewed list, none on the denied list, msvcrt's all in the msvcrt of
#     98 SE; the driver: PE32, native, kernel imports that Windows 2000 has;
#   - no instruction that a Pentium MMX or a K6-2 lacks in any of them, counted by disassembly
#     (the functions that hold one are named);
#   - the programs fit on one 1.44 MB floppy;
#   - our start-up and runtime pieces at work: the start-up probes under 64-bit Wine (the same
#     code built for x86-64) and, where 32-bit Wine is installed, the 32-bit probes too, and the
#     32-bit programs without a driver with Wine set to Windows 98 and to XP.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
export VYM_WINAPI_DIR=${VYM_WINAPI_DIR:-$root/../shared/winapi}
checks=scripts/win98
build=build/mingw-i686
out=$root/build/windows-98
mkdir -p "$out"

echo "windows 98: 32-bit cross build"
cmake --preset mingw-i686 >"$out/configure.log" 2>&1 || {
    cat "$out/configure.log"
    exit 1
}
programs=(win32/vymsetup.exe script/vymsetup-script.exe)
cmake --build --preset mingw-i686 --target vymsetup vymsetup-script vymcnf vymstartup-probe \
    vymstartup-probe-gui

echo "windows 98: the checks fail where they must"
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
    echo "windows 98: the image check passed a program it must refuse" >&2
    exit 1
fi
for reason in "MajorSubsystemVersion is 6" "not stripped" "GetTickCount64" "CreateFileW"; do
    grep -q "$reason" "$bad.txt" || {
        echo "windows 98: the image check did not say '$reason':" >&2
        cat "$bad.txt" >&2
        exit 1
    }
done
# The toolchain's own start-up holds CMOV: the count must see it.
if [ "$("$checks/p6-instructions.sh" "$bad.exe")" -eq 0 ]; then
    echo "windows 98: no P6 instruction counted in the toolchain's start-up" >&2
    exit 1
fi

echo "windows 98: imports"
for program in "${programs[@]}"; do
    "$checks/check-image.sh" program "$build/$program"
done
"$checks/check-image.sh" driver "$build/emulator/vymcnf.sys"

echo "windows 98: instructions a Pentium MMX or K6-2 lacks (CMOV, FCMOV, FCOMI, FUCOMI, SSE)"
for image in "${programs[@]}" emulator/vymcnf.sys; do
    count=$("$checks/p6-instructions.sh" "$build/$image")
    if [ "$count" -ne 0 ]; then
        echo "windows 98: $image holds $count of them, in:" >&2
        "$checks/p6-instructions.sh" "$build/$image" "$build/$image.map" >&2
        exit 1
    fi
    echo "  $(basename "$image"): none"
done

echo "windows 98: sizes"
floppy=1457664 # bytes free on a freshly formatted 1.44 MB floppy
total=0
for image in "${programs[@]}" emulator/vymcnf.sys; do
    size=$(wc -c <"$build/$image")
    total=$((total + size))
    echo "  $(basename "$image"): $size bytes"
done
if [ "$total" -gt "$floppy" ]; then
    echo "windows 98: $total bytes do not fit on one floppy ($floppy)" >&2
    exit 1
fi
echo "  together $total of the $floppy bytes of a floppy"

if ! command -v wine >/dev/null 2>&1; then
    echo "windows 98: NOTICE: no wine, the start-up probes did not run"
    exit 0
fi
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target vymstartup-probe vymstartup-probe-gui

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
probe_dir=$(mktemp -d -p "$out")
cleanup() {
    set +e
    timeout 20 wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX" "$probe_dir"
}
trap cleanup EXIT
unset DISPLAY

# Runs the console and GUI probes of one build in the current prefix and compares what they saw.
run_probes() {
    local bits=$1 folder=$2 status=0
    (cd "$probe_dir" && timeout 120 wine "$root/$folder/win32/vymstartup-probe.exe" a "b c" \
        >"$out/probe-$bits.txt") || status=$?
    tr -d '\r' <"$out/probe-$bits.txt" >"$out/probe-$bits.seen"
    printf 'constructed 1\nargument 1 [a]\nargument 2 [b c]\nnew 7\nsnprintf [trunc] -1\natexit ran\n' \
        >"$out/probe.expected"
    if [ "$status" -ne 3 ] || ! cmp -s "$out/probe.expected" "$out/probe-$bits.seen"; then
        echo "windows 98: the $bits-bit console start-up (status $status, 3 expected) saw:" >&2
        diff "$out/probe.expected" "$out/probe-$bits.seen" >&2 || true
        exit 1
    fi
    status=0
    rm -f "$probe_dir/startup-probe.txt"
    (cd "$probe_dir" && timeout 120 wine "$root/$folder/win32/vymstartup-probe-gui.exe" x "y z") ||
        status=$?
    tr -d '\r' <"$probe_dir/startup-probe.txt" >"$out/probe-gui-$bits.seen" 2>/dev/null || true
    if [ "$status" -ne 4 ] || ! grep -qx 'command line \[x "y z"\]' "$out/probe-gui-$bits.seen" ||
        ! grep -qx 'constructed 1' "$out/probe-gui-$bits.seen" ||
        ! grep -qx 'instance 1' "$out/probe-gui-$bits.seen"; then
        echo "windows 98: the $bits-bit GUI start-up (status $status, 4 expected) saw:" >&2
        cat "$out/probe-gui-$bits.seen" >&2
        exit 1
    fi
    echo "  $bits-bit: arguments, constructors, new, snprintf, exit status and atexit as expected"
}

# The 32-bit programs without the card's driver, with Wine telling them they run on Windows 98
# and again on XP: the runner reports the failed open and ends, and vymsetup.exe shows one box
# with the system's text and ends when it is closed.
no_driver_32() {
    local folder=$1 version events program status box display="" xvfb
    for number in $(seq 141 190); do
        if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
            display=$number
            break
        fi
    done
    [ -n "$display" ] || {
        echo "windows 98: no free X display" >&2
        exit 1
    }
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$display" ] && break
        sleep 0.1
    done
    # Wine keeps the display its server started with: a new server, on this display.
    timeout 20 wineserver -k 2>/dev/null || true
    timeout 20 wineserver -w 2>/dev/null || true
    export DISPLAY=":$display"
    for version in win98 winxp; do
        timeout 60 winecfg -v "$version" >/dev/null 2>&1
        events=$(printf 'show\n' | timeout 120 wine "$root/$folder/script/vymsetup-script.exe" | tr -d '\r')
        if ! grep -q '"event":"messagebox".*"type":64' <<<"$events" ||
            [ "$(tail -n 1 <<<"$events")" != '{"event":"end","result":"quit"}' ]; then
            echo "windows 98: the 32-bit runner as $version without a driver said:" >&2
            printf '%s\n' "$events" >&2
            kill "$xvfb"
            exit 1
        fi
        timeout 120 wine "$root/$folder/win32/vymsetup.exe" &
        program=$!
        box=""
        for _ in $(seq 1 300); do
            box=$(xdotool search --onlyvisible --name '^VYM Card Setup$' 2>/dev/null |
                head -n 1 || true)
            [ -n "$box" ] && break
            sleep 0.1
        done
        if [ -z "$box" ]; then
            echo "windows 98: the 32-bit vymsetup.exe as $version showed no box" >&2
            kill "$program" "$xvfb" 2>/dev/null
            exit 1
        fi
        xdotool windowfocus --sync "$box" key Return
        status=0
        wait "$program" || status=$?
        if [ "$status" -ne 0 ]; then
            echo "windows 98: the 32-bit vymsetup.exe as $version ended with $status" >&2
            kill "$xvfb"
            exit 1
        fi
        echo "  32-bit as $version: the runner's events and vymsetup.exe's one box without a driver"
    done
    timeout 20 wineserver -k 2>/dev/null || true
    unset DISPLAY
    kill "$xvfb"
}

echo "windows 98: start-up probes"
timeout 180 wineboot -i >/dev/null 2>&1
run_probes 64 build/mingw
if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q "install ok installed"; then
    timeout 20 wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    WINEPREFIX=$(mktemp -d)
    WINEARCH=win32 timeout 180 wineboot -i >/dev/null 2>&1
    run_probes 32 "$build"
    no_driver_32 "$build"
else
    echo "windows 98: NOTICE: no wine32, the 32-bit probes did not run"
fi
echo "windows 98: passed"
