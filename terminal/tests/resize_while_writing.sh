#!/usr/bin/env bash
# The write runs inside one timer message and reads no input, yet a resize while the bytes go out
# is drawn then: the dialogs come back centred on the new size before the write ends.
source "$(dirname "$0")/lib.sh"

start_dialog
pick_wss_io_544
keys Enter
wait_for "Settings are changed. Do you want to write new settings to EEPROM ?"
keys Enter
wait_for "Write EEPROM Data"

tm resize-window -t vym -x 120 -y 40
# 248 bytes at 20 ms take five seconds: the new size must show well before they are all sent.
deadline=$((SECONDS + 3))
redrawn=""
while ((SECONDS < deadline)) && [ ! -f "$WORK/exit" ]; do
    if [ "$(screen | wc -l)" -ge 40 ] && line_of "VYM Card Setup" | grep -qE '^ {15,}' &&
        screen | grep -qF "Write EEPROM Data"; then
        redrawn=yes
        break
    fi
    sleep 0.1
done
[ -f "$WORK/exit" ] && fail "the write ended before the resize could be seen"
[ -n "$redrawn" ] || fail "the dialogs were not redrawn at the new size during the write"
screen | grep -qE '[0-9]+%' || fail "the progress bar is gone after the resize"
expect_clean_end 15
echo "PASS (${TEST_NAME})"
