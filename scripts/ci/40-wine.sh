#!/usr/bin/env bash
# The Windows build under Wine: cross-builds vymsetup.exe, vymsetup-script.exe and the Windows
# tests with mingw-w64, checks that the programs need nothing but system DLLs, runs the tests as
# Windows executables, and runs the programs headless under Xvfb in a fresh Wine prefix:
#   - with no configuration driver, vymsetup.exe shows exactly one information box with the
#     system's text for the failed open, and ends when the box is closed;
#   - on a card served from an EEPROM image file, the dialog's native controls are exactly those
#     of template 102, a screenshot is taken, and keys typed at the real controls give the same
#     EEPROM bytes as the unattended runner (native build) given the same actions;
#   - vymsetup-script.exe reports the failed open as the runner's events.
# Every wait is bounded; the stage leaves no process behind.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

build=build/mingw-tests
out=$root/build/wine
mkdir -p "$out"

echo "wine stage: cross build"
cmake --preset mingw-tests >"$out/configure.log" 2>&1 || {
    cat "$out/configure.log"
    exit 1
}
# The platform-free unit tests build for Windows and must keep doing so.
required=(vymsetup vymsetup-script vymsetup-filecard vymprobe win32_tests script_runner_tests
    pnp_tests framework_tests ui_tests)
cmake --build --preset mingw-tests --target "${required[@]}"
# Other layers' unit tests run here too where they build for Windows; one that does not build is
# reported, one that builds must pass.
optional=(driver_tests terminal_tests)
unit_tests=(win32/tests/win32_tests.exe script/script_runner_tests.exe pnp/pnp_tests.exe
    framework/framework_tests.exe ui/ui_tests.exe)
available=$(cmake --build --preset mingw-tests --target help)
for target in "${optional[@]}"; do
    grep -q "^${target}:" <<<"$available" || continue
    if cmake --build --preset mingw-tests --target "$target" >"$out/build-$target.log" 2>&1; then
        unit_tests+=("$(cd "$build" && find . -name "$target.exe" | head -n 1)")
    else
        echo "wine stage: NOTICE: $target does not build for Windows (see $out/build-$target.log):"
        grep -m 3 "error" "$out/build-$target.log" || true
    fi
done

echo "wine stage: imports and resources"
objdump=x86_64-w64-mingw32-objdump
windres=x86_64-w64-mingw32-windres
allowed_dlls="^(kernel32|user32|gdi32|comctl32|msvcrt|advapi32)\.dll$"
check_program() {
    local exe=$1 subsystem=$2
    local headers dlls
    headers=$($objdump -p "$exe")
    dlls=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
    while read -r dll; do
        if ! grep -qiE "$allowed_dlls" <<<"$dll"; then
            echo "wine stage: $exe imports $dll, which a bare Windows folder does not have" >&2
            exit 1
        fi
    done <<<"$dlls"
    if ! grep -q "^Subsystem.*($subsystem)" <<<"$headers"; then
        echo "wine stage: $exe is not a $subsystem program" >&2
        exit 1
    fi
    local resources
    resources=$($windres -i "$exe" -O rc)
    if ! grep -q "^128 14 /\* RT_GROUP_ICON \*/" <<<"$resources" ||
        [ "$(grep -c "/\* RT_ICON \*/" <<<"$resources")" -ne 2 ] ||
        ! grep -q "VERSIONINFO" <<<"$resources"; then
        echo "wine stage: $exe lacks icon 128 with two images or its version information" >&2
        exit 1
    fi
    echo "  $(basename "$exe"): $subsystem, imports $(tr '\n' ' ' <<<"$dlls")"
}
check_program "$build/win32/vymsetup.exe" "Windows GUI"
check_program "$build/script/vymsetup-script.exe" "Windows CUI"

# A fresh Wine prefix and a display of our own; both go when the stage ends, however it ends.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="  # no runtime installers asking questions
xvfb_pid=""
background=()
cleanup() {
    set +e
    for pid in "${background[@]}"; do
        kill "$pid" 2>/dev/null
    done
    timeout 20 wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

echo "wine stage: prefix"
unset DISPLAY
timeout 180 wineboot -i >/dev/null 2>&1
# Wine draws the window frames itself, so a screenshot without a window manager has a caption.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
timeout 60 wineserver -w

display=""
for number in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
        display=$number
        break
    fi
done
[ -n "$display" ] || {
    echo "wine stage: no free X display" >&2
    exit 1
}
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
export DISPLAY=":$display"
wineserver -p  # one server for the whole stage: each program starts faster

echo "wine stage: unit tests as Windows executables"
for test in "${unit_tests[@]}"; do
    echo "  $test"
    if ! (cd "$build" && timeout 900 wine "$test" --gtest_brief=1 >"$out/$(basename "$test").log" 2>&1); then
        cat "$out/$(basename "$test").log"
        echo "wine stage: $test failed under Wine" >&2
        exit 1
    fi
    tail -n 1 "$out/$(basename "$test").log"
done

# The probe's report, with the Windows line ends of its console output made Unix ones.
probe() {
    local status=0
    timeout 60 wine "$build/win32/tests/vymprobe.exe" "$@" >"$out/probe.txt" || status=$?
    tr -d '\r' <"$out/probe.txt"
    return $status
}

# Waits for a background program to end: its exit status, or 124 when it did not end in time.
wait_for_exit() {
    local pid=$1 seconds=$2
    for _ in $(seq 1 $((seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            return $?
        fi
        sleep 0.1
    done
    return 124
}

window_named() {
    local name=$1 window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    echo "$window"
}

echo "wine stage: no driver: one information box, then the program ends"
timeout 120 wine "$build/win32/vymsetup.exe" &
program=$!
background+=("$program")
probe open-failure-box 30000 | tee "$out/open-failure.txt"
caption=$(sed -n 's/^caption=//p' "$out/open-failure.txt")
box=$(window_named "$caption")
[ -n "$box" ] || {
    echo "wine stage: the box's window is not found" >&2
    exit 1
}
xdotool windowfocus --sync "$box"
xdotool key Return
status=0
wait_for_exit "$program" 30 || status=$?
if [ "$status" -ne 0 ]; then
    echo "wine stage: vymsetup.exe did not end after the box was closed (status $status)" >&2
    exit 1
fi
if [ "$(probe count-boxes)" != "0" ]; then
    echo "wine stage: a window is still open after the program ended" >&2
    exit 1
fi

echo "wine stage: the unattended runner without a driver"
printf 'show\n' | timeout 120 wine "$build/script/vymsetup-script.exe" >"$out/script-no-driver.jsonl"
grep -q '"event":"messagebox".*"type":64' "$out/script-no-driver.jsonl"
grep -q '"event":"end","result":"quit"' "$out/script-no-driver.jsonl"
grep -F -q "$(sed -n 's/.*expected="\([^"]*\)".*/\1/p' "$out/open-failure.txt")" \
    "$out/script-no-driver.jsonl"

echo "wine stage: a card on an EEPROM image file: the dialog against template 102"
card_dir=$(mktemp -d -p "$out")
probe write-factory-image "Z:${card_dir//\//\\}\\card.bin"
cp "$card_dir/card.bin" "$card_dir/factory.bin"
VYMCNF_EEPROM="Z:${card_dir//\//\\}\\card.bin" timeout 180 wine "$build/win32/tests/vymsetup-filecard.exe" &
program=$!
background+=("$program")
probe check-dialog 30000 | tee "$out/dialog-check.txt"
dialog=$(window_named "VYM Card Setup")
[ -n "$dialog" ] || {
    echo "wine stage: the dialog's window is not found" >&2
    exit 1
}
xdotool windowfocus --sync "$dialog"
sleep 0.5
geometry=$(xdotool getwindowgeometry --shell "$dialog")
width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
left=$(sed -n 's/^X=//p' <<<"$geometry")
top=$(sed -n 's/^Y=//p' <<<"$geometry")
xwd -root -silent -display "$DISPLAY" | convert xwd:- -crop "${width}x${height}+${left}+${top}" +repage \
    "$out/vymsetup-wine.png"
echo "  screenshot: $out/vymsetup-wine.png"

# The user switches the Codec off at the real controls: Tab past OK and Cancel to WSS I/O,
# Up from 534 to ---, Enter for OK, Enter for Yes to the question; the progress dialog writes.
xdotool key Tab Tab Up
sleep 0.5
xdotool key Return
question=$(window_named "Write EEPROM")
[ -n "$question" ] || {
    echo "wine stage: no question before writing" >&2
    exit 1
}
xdotool windowfocus --sync "$question"
xdotool key Return
status=0
wait_for_exit "$program" 120 || status=$?
if [ "$status" -ne 0 ]; then
    echo "wine stage: the program did not end after writing (status $status)" >&2
    exit 1
fi

# The same actions through the framework's unattended runner on the native build.
native_runner=${VYM_NATIVE_RUNNER:-build/default/script/vymsetup-script}
if [ -x "$native_runner" ]; then
    cp "$card_dir/factory.bin" "$card_dir/expected.bin"
    printf 'pace off\npick 1003 ---\nanswer Yes\nclick OK\n' |
        VYMCNF_EEPROM="$card_dir/expected.bin" timeout 120 "$native_runner" >"$out/expected-write.jsonl"
    if ! cmp "$card_dir/card.bin" "$card_dir/expected.bin"; then
        echo "wine stage: the Windows program wrote other bytes than the runner for the same actions" >&2
        exit 1
    fi
    if cmp -s "$card_dir/card.bin" "$card_dir/factory.bin"; then
        echo "wine stage: nothing was written" >&2
        exit 1
    fi
    echo "  the written EEPROM matches the runner's, byte for byte"
else
    echo "wine stage: NOTICE: no native runner at $native_runner to compare the written EEPROM with"
fi
echo "wine stage: passed"
