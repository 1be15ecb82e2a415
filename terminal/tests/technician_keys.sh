#!/usr/bin/env bash
# The two hidden buttons are reached by documented keys only: F11 is "Read Port" (the dump to
# c:\tt.bin, that is $VYMCNF_DRIVE_C/tt.bin, and one box a device), F12 is "Button1" (the write
# at once, leaving the dialog open). Tab never reaches them. Also the command line: --help and
# --version print and exit, one card FILE is taken (card_argument.sh), anything else is refused.
source "$(dirname "$0")/lib.sh"

# The command line.
"$VYMSETUP" --help >"$WORK/help.txt" || fail "--help failed"
grep -qF "Usage: vymsetup" "$WORK/help.txt" || fail "--help does not show the usage"
"$VYMSETUP" --version | grep -qE '^vymsetup [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version"
for bad in --bogus -x "one two" "--help extra" --card -c "--card a.bin b.bin"; do
    # shellcheck disable=SC2086
    if "$VYMSETUP" $bad >/dev/null 2>"$WORK/error.txt"; then
        fail "'$bad' was accepted"
    fi
    grep -qF "Try 'vymsetup --help'" "$WORK/error.txt" || fail "'$bad' gives no hint"
done
# Without a terminal: a clear message, no screen set up.
if "$VYMSETUP" </dev/null >"$WORK/out.txt" 2>"$WORK/error.txt"; then
    fail "ran without a terminal"
fi
grep -qF "must be a terminal" "$WORK/error.txt" || fail "no message without a terminal"

mkdir -p "$WORK/drive"
start_dialog "VYMCNF_DRIVE_C=$WORK/drive"

# Tab goes round the visible tab stops only: OK, Cancel, the twelve fields, OK again.
for _ in $(seq 14); do
    keys Tab
done
settle
line_of "> OK <" >/dev/null || fail "Tab did not come round to OK"

# F12 writes at once: no question, the progress dialog, and the setup dialog stays open.
pick_wss_io_544
keys F12
wait_for "Write EEPROM Data"
screen | grep -qF "Do you want to write" && fail "F12 asked before writing"
# Keys pressed while the bytes go out are not acted on, then or afterwards.
sleep 0.5
keys Escape Tab Enter
wait_gone "Write EEPROM Data" 60
settle 1
wait_for "F1 Help"
[ -f "$WORK/exit" ] && fail "the dialog closed after the hidden write"
cp "$WORK/before.bin" "$WORK/runner.bin"
if [ -n "$RUNNER" ] && [ -x "$RUNNER" ]; then
    runner_on "$WORK/runner.bin" "pace off" "pick 1003 544" "click Button1" >/dev/null
    cmp "$CARD" "$WORK/runner.bin" || fail "F12 wrote other bytes than the runner's Button1"
fi
cmp -s "$CARD" "$WORK/before.bin" && fail "F12 wrote nothing"
expect_field "WSS I/O" 544
cp "$CARD" "$WORK/after-write.bin"

# F11 dumps the card's first 500 bytes (as written just now) and shows each device.
keys F11
for device in 1 2 3 4 5 6; do
    wait_for "Device $device"
    if [ "$device" -eq 1 ]; then
        screen | grep -qE "Port 0, Start: [0-9a-f]+, End: [0-9a-f]+" || fail "no port line"
    fi
    keys Enter
    wait_gone "Device $device "
done
[ "$(stat -c %s "$WORK/drive/tt.bin")" -eq 500 ] || fail "the dump is not 500 bytes"
cmp -s -n 500 "$WORK/drive/tt.bin" "$WORK/after-write.bin" || fail "the dump is not the start of the card"
# Where the dump went is noted in the frame.
wait_for "drive/tt.bin "
cmp -s "$CARD" "$WORK/after-write.bin" || fail "the dump changed the card"

keys Escape
expect_clean_end
echo "PASS (${TEST_NAME})"
