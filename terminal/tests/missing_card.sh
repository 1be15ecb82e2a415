#!/usr/bin/env bash
# No card: the EEPROM file VYMCNF_EEPROM names does not exist. The system's text comes in an
# information box, and after OK the program quits with the screen restored, status 1 (the card
# was not opened), and creates nothing.
source "$(dirname "$0")/lib.sh"

start_vymsetup "VYMCNF_EEPROM=$WORK/no-such-card.bin"
wait_for "The system cannot find the file specified."
line_of "The system cannot find the file specified." | grep -qF "(i)" ||
    fail "the box has no information glyph"
screen | grep -qF "[> OK <]" || fail "the box has no OK button"
# Only the box: the dialog is not shown before the card is read.
screen | grep -qF "WSS I/O" && fail "the dialog is shown although there is no card"
keys Enter
expect_end_with 1
[ -e "$WORK/no-such-card.bin" ] && fail "a card file was created"
[ -e "$CARD" ] && fail "the per-user card was created although another was named"

# The same when the box is closed with the mouse.
tm kill-server
start_vymsetup "VYMCNF_EEPROM=$WORK/no-such-card.bin"
wait_for "The system cannot find the file specified."
read -r row col <<<"$(find_cell "[> OK <]")"
click "$row" "$((col + 2))"
expect_end_with 1
echo "PASS (${TEST_NAME})"
