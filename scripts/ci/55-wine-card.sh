#!/usr/bin/env bash
# The whole Windows program under Wine on the emulated card driver, in a fresh prefix:
#   1. vymcnf.sys installed as a kernel service and started;
#   2. the device contract cases, built for Windows, run against it byte for byte;
#   3. vymsetup-script.exe runs every whole-program case of tests/cases with the driver serving a
#      copy of the case's card: the same events and the same final card as the native runner
#      must give (the few cases that cannot hold on Windows are listed with the reason);
#   4. vymsetup.exe under Xvfb shows the card's selections, a pick made at the real controls,
#      OK and Yes write the card, and the card file holds what the native runner writes for the
#      same pick.
# Every wait is bounded; no Wine process and no display outlive the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

say() { echo "wine card: $*"; }
fail() {
    echo "wine card: FAIL - $*" >&2
    exit 1
}
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# Cases that cannot give the native events on Windows, and why.
declare -A windows_only_differs=(
    [startup-missing-card]="without its file the driver does not start, and Wine's system text for the missing device is its own"
    [startup-wrong-size]="the driver refuses a wrong-sized file when it starts, so the open fails as a missing device (2), not as invalid data (13)"
)

say "build"
# The presets' folders, unless a developer points the stage at builds of their own.
native=${VYM_NATIVE_BUILD:-build/default}
cross=${VYM_CROSS_BUILD:-build/mingw-tests}
if [ -z "${VYM_NATIVE_BUILD:-}" ]; then
    cmake --preset default >/dev/null
fi
cmake --build "$native" --target vymsetup-script vym-case-image
if [ -z "${VYM_CROSS_BUILD:-}" ]; then
    cmake --preset mingw-tests >/dev/null
fi
cmake --build "$cross" --target vymcnf driver_contract_tests vymsetup-script vymsetup vymprobe
native=$(cd "$native" && pwd)
cross=$(cd "$cross" && pwd)

work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installers in a test prefix
unset DISPLAY WAYLAND_DISPLAY
messages="$work/wine-messages.log"
xvfb_pid=""
program=""

finish() {
    local status=$?
    set +e
    [ -n "$program" ] && kill "$program" 2>/dev/null
    timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    if [ "$status" -ne 0 ] && [ -f "$messages" ]; then
        echo "--- last Wine messages"
        tail -n 20 "$messages"
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT

# Every Wine command is bounded and reads no standard input.
w() { timeout 120 wine "$@" </dev/null 2>>"$messages"; }

started=$(now)
timeout 300 wine wineboot -i </dev/null >>"$messages" 2>&1 || fail "wineboot -i did not set up the prefix"
# Wine draws the window frames itself, so the dialogs have their captions without a manager.
w reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
timeout 120 wineserver -w || fail "the prefix's setup did not finish"
# One server for the whole stage: the service manager and the driver outlive each command.
timeout 30 wineserver -p
prefix_seconds=$(since "$started")
say "ok - fresh prefix in ${prefix_seconds}s"

drive_c="$WINEPREFIX/drive_c"
bin="$drive_c/vymcard"
mkdir -p "$bin" "$drive_c/cases"
cp "$cross/emulator/vymcnf.sys" "$cross/driver/driver_contract_tests.exe" \
    "$cross/script/vymsetup-script.exe" "$cross/win32/vymsetup.exe" \
    "$cross/win32/tests/vymprobe.exe" "$bin/"
cp tests/cases/*.script "$drive_c/cases/"
card="$bin/card.bin"
windows_card='C:\vymcard\card.bin'
parameters='HKLM\SYSTEM\CurrentControlSet\Services\vymcnf\Parameters'

# --- the service ------------------------------------------------------------------------------

service_state() {
    w sc query vymcnf | tr -d '\r' | awk '/STATE/ { print $4; exit }'
}

wait_for_state() {
    local state=$1 tries=0
    until [ "$(service_state)" = "$state" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 50 ] || fail "the driver does not reach $state (it is $(service_state))"
        sleep 0.2
    done
}

# A stop asked for while the last program's handle is still being let go may be lost; it is
# asked for again until the driver is down.
stop_driver() {
    local tries=0 state
    while state=$(service_state) && [ "$state" != STOPPED ]; do
        if [ $((tries % 5)) -eq 0 ]; then
            w sc stop vymcnf >>"$work/stops.log" 2>&1 || true
        fi
        tries=$((tries + 1))
        if [ "$tries" -ge 100 ]; then
            tail -n 5 "$work/stops.log"
            fail "the driver does not stop (it is $state)"
        fi
        sleep 0.2
    done
}

# Starts the driver; start_error holds the error of a refused start. A service manager still
# busy with the last stop refuses for now (1053, 1055, 1061, 1072): that is retried.
start_error=""
start_driver() {
    local tries=0 before
    while true; do
        before=$(wc -l <"$messages")
        start_error=""
        if WINEDEBUG=-all,err+sc timeout 120 wine sc start vymcnf </dev/null >/dev/null \
            2>>"$messages"; then
            wait_for_state RUNNING
            return 0
        fi
        start_error=$(tail -n +"$((before + 1))" "$messages" |
            grep -ao 'failed to start service [0-9]*' | awk '{ print $5 }' | tail -n 1)
        start_error=${start_error:-unknown}
        case "$start_error" in
            1053 | 1055 | 1061 | 1072) ;;
            *) return 1 ;;
        esac
        tries=$((tries + 1))
        [ "$tries" -lt 20 ] || fail "the service manager stayed busy ($start_error)"
        sleep 0.5
    done
}

# The driver serves this file (or its absence) from now on.
serve_card() {
    stop_driver
    rm -f "$card"
    [ -n "$1" ] && cp "$1" "$card"
    start_driver || return 1
}

say "install the driver"
started=$(now)
w sc create vymcnf type= kernel start= demand binPath= 'C:\vymcard\vymcnf.sys' >/dev/null ||
    fail "sc create"
w reg add "$parameters" /v EepromFile /t REG_SZ /d "$windows_card" /f >/dev/null ||
    fail "reg add EepromFile"
echo factory >"$work/factory.description"
"$native/tests/vym-case-image" "$work/factory.description" "$work/factory.bin" ||
    fail "no factory card"
serve_card "$work/factory.bin" || fail "the driver did not start on the factory card ($start_error)"
say "ok - vymcnf.sys installed and started on the factory card in $(since "$started")s"

# --- the device contract ------------------------------------------------------------------------

say "device contract cases against the driver"
# They point the service at a card file of their own and stop it when they are done.
stop_driver
if ! w 'C:\vymcard\driver_contract_tests.exe' >"$work/contract.log"; then
    cat "$work/contract.log"
    fail "the device contract cases failed against vymcnf.sys"
fi
tr -d '\r' <"$work/contract.log" | grep -E '^\[  PASSED  \]|^\[==========\] [0-9]+ tests'
stop_driver
w reg add "$parameters" /v EepromFile /t REG_SZ /d "$windows_card" /f >/dev/null ||
    fail "reg add EepromFile"

# --- the whole-program cases --------------------------------------------------------------------

# The first 500 bytes of a file, as hex, for the dump's check.
head500() { head -c 500 "$1" | od -An -tx1 -v; }

say "whole-program cases through vymsetup-script.exe"
passed=0
skipped=0
failed=0
cases_started=$(now)
for script in tests/cases/*.script; do
    name=$(basename "$script" .script)
    if [ -n "${windows_only_differs[$name]:-}" ]; then
        say "  skip $name: ${windows_only_differs[$name]}"
        skipped=$((skipped + 1))
        continue
    fi
    expected_events=$(sed 's|\${DRIVE_C}/tt\.bin|c:\\\\tt.bin|g' "tests/cases/$name.expected.jsonl")
    if grep -qF '${DRIVE_C}' <<<"$expected_events"; then
        fail "$name names a file under \${DRIVE_C} other than the dump; say how it maps to Windows"
    fi
    description="tests/cases/$name.image"
    [ -f "$description" ] || description="$work/factory.description"
    rm -f "$work/initial.bin" "$work/expected.bin" "$drive_c/tt.bin"
    "$native/tests/vym-case-image" "$description" "$work/initial.bin" ||
        fail "$name: no initial card"
    if [ -f "tests/cases/$name.eeprom" ]; then
        "$native/tests/vym-case-image" "tests/cases/$name.eeprom" "$work/expected.bin" \
            "$work/initial.bin" || fail "$name: no expected card"
    else
        cp "$work/initial.bin" "$work/expected.bin"
    fi
    [ -f "$work/initial.bin" ] || fail "$name: its card is missing; list the case with the reason"
    serve_card "$work/initial.bin" || fail "$name: the driver did not start ($start_error)"

    status=0
    timeout 120 wine 'C:\vymcard\vymsetup-script.exe' "C:\\cases\\$name.script" </dev/null \
        >"$work/raw-events.txt" 2>>"$messages" || status=$?
    tr -d '\r' <"$work/raw-events.txt" | { grep -v '^$' || true; } >"$work/events.jsonl"
    expected_status=0
    [ -f "tests/cases/$name.exit" ] && expected_status=$(tr -d ' \n' <"tests/cases/$name.exit")
    problems=""
    [ "$status" = "$expected_status" ] ||
        problems+=" exit status $status, expected $expected_status;"
    if ! diff <(grep -v '^$' <<<"$expected_events") "$work/events.jsonl" >"$work/events.diff"; then
        problems+=" other events:"$'\n'"$(head -n 20 "$work/events.diff")"$'\n'
    fi
    cmp -s "$card" "$work/expected.bin" || problems+=" the card is not the expected one;"
    # The dump holds the card as it was when the dump ran: the initial one when nothing was
    # written before it, the final one when nothing was written after it.
    dump_at=$(grep -n '"event":"file"' "$work/events.jsonl" | head -n 1 | cut -d: -f1 || true)
    if [ -n "$dump_at" ]; then
        writes_before=$(head -n "$dump_at" "$work/events.jsonl" | grep -c '"event":"progress"' || true)
        writes_after=$(tail -n +"$dump_at" "$work/events.jsonl" | grep -c '"event":"progress"' || true)
        if [ "$writes_before" -eq 0 ] || [ "$writes_after" -eq 0 ]; then
            reference="$card"
            [ "$writes_before" -eq 0 ] && reference="$work/initial.bin"
            if [ ! -f "$drive_c/tt.bin" ] || [ "$(stat -c %s "$drive_c/tt.bin")" -ne 500 ] ||
                [ "$(head500 "$drive_c/tt.bin")" != "$(head500 "$reference")" ]; then
                problems+=" c:\\tt.bin does not hold the first 500 bytes of the card;"
            fi
        fi
    fi
    if [ -n "$problems" ]; then
        echo "wine card: case $name:$problems" >&2
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
cases_seconds=$(since "$cases_started")
say "cases: $passed passed, $failed failed, $skipped skipped (native only) in ${cases_seconds}s"
[ "$failed" -eq 0 ] || fail "$failed cases give other events or another card under Wine"

# --- the dialog ----------------------------------------------------------------------------------

display=""
for number in $(seq 141 190); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
        display=$number
        break
    fi
done
[ -n "$display" ] || fail "no free X display"
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb did not come up"
export DISPLAY=":$display"

window_named() {
    local window=""
    for _ in $(seq 1 150); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    echo "$window"
}

# Waits for a background program: its exit status, or 124 when it did not end in time.
wait_for_exit() {
    local pid=$1 tenths=$(($2 * 10))
    for _ in $(seq 1 "$tenths"); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            return $?
        fi
        sleep 0.1
    done
    return 124
}

say "vymsetup.exe on the driver"
serve_card "$work/factory.bin" || fail "the driver did not start ($start_error)"
started=$(now)
timeout 300 wine 'C:\vymcard\vymsetup.exe' </dev/null 2>>"$messages" &
program=$!
w 'C:\vymcard\vymprobe.exe' check-dialog 60000 | tr -d '\r' >"$work/dialog.txt" ||
    { cat "$work/dialog.txt"; fail "the setup dialog is not template 102's"; }
dialog=$(window_named "VYM Card Setup")
[ -n "$dialog" ] || fail "the dialog's window is not found"
startup_seconds=$(since "$started")
say "ok - the dialog is up ${startup_seconds}s after the start (the card read through the driver)"

# The selections shown are the card's: those the native runner shows for the same card.
cp "$work/factory.bin" "$work/native.bin"
printf 'show\n' | VYMCNF_EEPROM="$work/native.bin" timeout 60 "$native/script/vymsetup-script" |
    grep '"event":"combo"' | sed -E 's/.*"id":([0-9]+).*"selection":(-?[0-9]+),"text":"([^"]*)".*/\1 \2 \3/' \
    >"$work/native-selections.txt"
sed -nE 's/^combo ([0-9]+) enabled=[01] selection=(-?[0-9]+) text="([^"]*)".*/\1 \2 \3/p' \
    "$work/dialog.txt" | sort -n >"$work/shown-selections.txt"
[ "$(wc -l <"$work/native-selections.txt")" -eq 12 ] || fail "the native runner showed no twelve lists"
diff "$work/native-selections.txt" "$work/shown-selections.txt" ||
    fail "the dialog does not show the card's selections"
say "ok - the twelve lists show the card's selections ($(tr '\n' ',' <"$work/shown-selections.txt" | cut -c1-60)...)"

# WSS I/O from 534 to 544 at the real controls: Tab past OK and Cancel to the list, open it,
# one entry down, Enter takes it; Enter again is OK, and Enter answers Yes to the question.
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool key Tab Tab alt+Down
sleep 0.5
xdotool key Down Return
sleep 0.5
xdotool key Return
question=$(window_named "Write EEPROM")
[ -n "$question" ] || fail "no question before writing"
xdotool windowfocus --sync "$question"
written_from=$(now)
xdotool key Return
status=0
wait_for_exit "$program" 120 || status=$?
program=""
write_seconds=$(since "$written_from")
[ "$status" -eq 0 ] || fail "vymsetup.exe did not end after writing (status $status)"
stop_driver

cp "$work/factory.bin" "$work/native.bin"
printf 'pace off\npick 1003 544\nanswer Yes\nclick OK\n' |
    VYMCNF_EEPROM="$work/native.bin" timeout 60 "$native/script/vymsetup-script" >"$work/native-write.jsonl"
written=$(sed -nE 's/.*"event":"progress".*"written":([0-9]+).*/\1/p' "$work/native-write.jsonl")
[ -n "$written" ] || fail "the native runner wrote nothing for the same pick"
cmp -s "$work/native.bin" "$work/factory.bin" && fail "the pick changes nothing on the card"
cmp "$card" "$work/native.bin" || fail "the card holds other bytes than the native runner writes"
say "ok - the card holds the pick, byte for byte as the native runner writes it"
say "timings: prefix ${prefix_seconds}s; dialog up ${startup_seconds}s; a full write of $written" \
    "bytes at 20 ms each ${write_seconds}s (question answered to program end)"
say "all checks passed"
