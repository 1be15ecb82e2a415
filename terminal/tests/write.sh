#!/usr/bin/env bash
# Writing: picks by keyboard and mouse, OK, the question answered Yes, the progress dialog
# redrawn while the bytes go out at the card's pace, and then the card file holds exactly what
# the unattended runner writes for the same picks on a copy of the same card.
source "$(dirname "$0")/lib.sh"
require_runner

start_dialog

# WSS I/O 544 by keyboard.
pick_wss_io_544
# SB Pro I/O 240 by mouse.
read -r row _ <<<"$(find_cell "SB Pro I/O ")"
field_col=$(line_of "SB Pro I/O " | awk '{ print index($0, "SB Pro I/O") + 18 }')
click "$row" "$field_col"
settle
read -r entry_row entry_col <<<"$(find_cell "240")"
click "$entry_row" "$entry_col"
settle
expect_field "SB Pro I/O" 240
# Midi-2 I/O "---" by mouse: MIDI-2 off, its IRQ emptied.
read -r row _ <<<"$(find_cell "Midi-2 I/O ")"
field_col=$(line_of "Midi-2 I/O " | awk '{ print index($0, "Midi-2 I/O") + 18 }')
click "$row" "$field_col"
settle
keys Home Enter
settle
expect_field "Midi-2 I/O" "---"
expect_field "Midi-2 IRQ" ""

# Enter on a field is OK: the question, Yes marked as the default.
keys Enter
wait_for "Settings are changed. Do you want to write new settings to EEPROM ?"
screen | grep -qF "Write EEPROM" || fail "the question has no caption"
line_of "Settings are changed" | grep -qF "(?)" || fail "the question has no question glyph"
line_of "[> Yes <]" | grep -qF "No" || fail "Yes and No are not shown with Yes the default"
keys Enter

# The progress dialog, redrawn as the bytes go out.
wait_for "Write EEPROM Data"
seen=""
deadline=$((SECONDS + 60))
while [ ! -f "$WORK/exit" ] && ((SECONDS < deadline)); do
    percent=$(screen | grep -oE '[0-9]+%' | head -n 1 || true)
    if [ -n "$percent" ] && [[ " $seen " != *" $percent "* ]]; then
        seen="$seen $percent"
    fi
    sleep 0.2
done
expect_clean_end 5
[ "$(wc -w <<<"$seen")" -ge 3 ] || fail "the progress bar was not redrawn while writing (saw:$seen)"

cmp -s "$CARD" "$WORK/before.bin" && fail "nothing was written"
cp "$WORK/before.bin" "$WORK/runner.bin"
runner_on "$WORK/runner.bin" "pace off" "pick 1003 544" "pick 1011 240" "pick 1013 ---" \
    "answer Yes" "click OK" >"$WORK/runner.jsonl"
grep -qF '"event":"progress"' "$WORK/runner.jsonl" || fail "the runner did not write"
cmp "$CARD" "$WORK/runner.bin" || fail "the card differs from what the runner writes"
echo "PASS (${TEST_NAME}): progress seen at$seen"
