#!/usr/bin/env bash
# A resize redraws at the new size: too small a terminal says so (and what is needed), and
# the dialog comes back when the terminal grows, larger on a larger terminal, with the state it
# had. Escape still leaves while the terminal is too small.
source "$(dirname "$0")/lib.sh"

rows_of_dialog() {
    # From the caption's line to the line of the bottom frame with the help hint.
    local top bottom
    top=$(screen | grep -nF "VYM Card Setup" | head -n 1 | cut -d: -f1)
    bottom=$(screen | grep -nF "F1 Help" | head -n 1 | cut -d: -f1)
    echo $((bottom - top + 1))
}

start_dialog
[ "$(rows_of_dialog)" -eq 24 ] || fail "the dialog does not take the 24 rows"
pick_wss_io_544

tm resize-window -t vym -x 70 -y 20
wait_for "The terminal is too small."
screen | grep -qF "needs 80 x" || fail "the message does not say what is needed"
screen | grep -qF "this one is 70 x 20" || fail "the message does not say the size"

tm resize-window -t vym -x 100 -y 30
wait_for "F1 Help"
wait_gone "too small"
expect_field "WSS I/O" 544
rows=$(rows_of_dialog)
[ "$rows" -gt 24 ] || fail "the dialog did not grow on a larger terminal ($rows rows)"
# Centred: as many columns left of the frame as right of it, give or take one.
left=$(line_of "VYM Card Setup" | awk '{ match($0, /[^ ]/); print RSTART - 1 }')
[ "$left" -ge 9 ] && [ "$left" -le 11 ] || fail "the dialog is not centred ($left columns left)"

# A list opened on the large screen is still usable after shrinking back.
tm resize-window -t vym -x 80 -y 24
settle
wait_for "F1 Help"
[ "$(rows_of_dialog)" -eq 24 ] || fail "the dialog did not shrink back"

tm resize-window -t vym -x 60 -y 15
wait_for "The terminal is too small."
leave_with_escape
echo "PASS (${TEST_NAME})"
