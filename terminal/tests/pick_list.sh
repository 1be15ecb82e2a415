#!/usr/bin/env bash
# Picks through the drop-down list, by keyboard and by mouse: the list opens on the selected
# entry, moves, jumps to a typed character, picks with Enter or a click, and closes without a
# pick on Escape or a click beside it. Leaving with Escape writes nothing.
source "$(dirname "$0")/lib.sh"

start_dialog

# The focus starts on OK; Tab goes to Cancel, skips the hidden Read Port, reaches WSS I/O.
keys Tab Tab Space
wait_for "574"
screen | grep -qF "5A4" && fail "the WSS I/O list is taller than its template allows"
keys Down Down Enter
settle
expect_field "WSS I/O" 554
wait_gone "574"

# F4 opens it again; typing 5 jumps to the next entry starting with 5; Escape picks nothing.
keys F4
wait_for "574"
keys 5 Escape
settle
expect_field "WSS I/O" 554
keys F4 5 Enter
settle
expect_field "WSS I/O" 564

# Alt-Down opens it too; End and Home move to the ends of the list.
keys M-Down
wait_for "574"
keys End Enter
settle
expect_field "WSS I/O" 604
keys Space Home Enter
settle
expect_field "WSS I/O" PnP

# Arrows move the focus outside an open list: Down to WSS IRQ, open, pick 7.
keys Down Space
wait_for "12"
keys Down Down Enter
settle
expect_field "WSS IRQ" 7

# The mouse: a click on the Midi-1 I/O field opens its list, a click on an entry picks it.
read -r row col <<<"$(find_cell "Midi-1 I/O ")"
field_col=$(line_of "Midi-1 I/O " | awk '{ print index($0, "[") - 1 }')
click "$row" "$((field_col + 2))"
wait_for "320"
read -r entry_row entry_col <<<"$(find_cell "310")"
click "$entry_row" "$entry_col"
settle
expect_field "Midi-1 I/O" 310
# A click beside an open list closes it without a pick.
click "$row" "$((field_col + 2))"
wait_for "320"
click 1 70
settle
wait_gone "320"
expect_field "Midi-1 I/O" 310

# The wheel moves in an open list: three turns down and one up from 310, then Enter.
click "$row" "$((field_col + 2))"
wait_for "320"
wheel down "$row" "$((field_col + 2))"
wheel down "$row" "$((field_col + 2))"
wheel up "$row" "$((field_col + 2))"
wheel down "$row" "$((field_col + 2))"
keys Enter
expect_field "Midi-1 I/O" 330

leave_with_escape
echo "PASS (${TEST_NAME})"
