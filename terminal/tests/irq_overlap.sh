#!/usr/bin/env bash
# An IRQ clash: picking Midi-1 IRQ 5 while WSS IRQ is 5 shows the warning box (caption, text,
# warning glyph, OK); the pick stays. OK (Enter on a field) then warns again and the dialog
# stays open; the box closes with Enter or a click on its button. Nothing is written.
source "$(dirname "$0")/lib.sh"

start_dialog
expect_field "WSS IRQ" 5

# OK, Cancel, WSS I/O, WSS IRQ, WSS Play DMA, WSS Record DMA, Midi-1 I/O, Midi-1 IRQ.
keys Tab Tab Tab Tab Tab Tab Tab Space
settle
keys 5 Enter
wait_for "IRQ Overlap on WSS and Midi 1"
box_line=$(line_of "IRQ Overlap on WSS and Midi 1")
printf '%s' "$box_line" | grep -qF '/!\' || fail "the warning has no warning glyph"
screen | grep -qF "[> OK <]" || fail "the warning has no OK button"
# The box's caption is the program's title, on the box's top frame above the text.
[ "$(screen | grep -c "VYM Card Setup")" -ge 2 ] || fail "the box has no caption"
keys Enter
wait_gone "IRQ Overlap"
expect_field "Midi-1 IRQ" 5

# Enter on a field is OK: the check runs again and the dialog stays.
keys Enter
wait_for "IRQ Overlap on WSS and Midi 1"
read -r row col <<<"$(find_cell "[> OK <]")"
click "$row" "$((col + 3))"
wait_gone "IRQ Overlap"
wait_for "F1 Help"
[ -f "$WORK/exit" ] && fail "the dialog closed although the IRQs clash"

# A pick without a clash shows nothing.
keys Space
settle
keys Home Down Down Enter
settle
expect_field "Midi-1 IRQ" 7
screen | grep -qF "IRQ Overlap" && fail "a warning without a clash"

leave_with_escape
echo "PASS (${TEST_NAME})"
