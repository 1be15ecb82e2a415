#!/usr/bin/env bash
# Switching the Codec off with "---" in WSS I/O empties and dims its five combo boxes, which then
# cannot be focused; switching it on again with "PnP" fills them with "PnP". Without colours
# (NO_COLOR) the focus is shown in reverse video and disabled fields dim.
source "$(dirname "$0")/lib.sh"

start_dialog NO_COLOR=1

# No colour at all, the focused OK button in reverse video.
if screen_with_attributes | grep -qE $'\e\\[[0-9;]*(3[0-7]|4[0-7]|38;5)[;m]'; then
    fail "colours shown although NO_COLOR is set"
fi
line_of_ok=$(screen_with_attributes | grep -F "> OK <")
printf '%s' "$line_of_ok" | grep -qE $'\e\\[[0-9;]*7[;m][^\e]*> OK <' || fail "the focused OK is not in reverse video"

codec_fields=("WSS IRQ" "WSS Play DMA" "WSS Record DMA" "FM I/O" "SB Pro I/O")

# To WSS I/O, open, Home ("PnP"), Down ("---"), Enter.
keys Tab Tab Space Home Down Enter
settle
expect_field "WSS I/O" "---"
for label in "${codec_fields[@]}"; do
    expect_field "$label" ""
    # No drop-down mark: there is no list to open.
    line_of "$label " | grep -qE "$(printf '%s' "$label" | sed 's/[/.]/\\&/g') +\[ +\]" ||
        fail "$label still shows a drop-down mark"
    screen_with_attributes | grep -F -- "$label" | grep -qE $'\e\\[[0-9;]*2[;m] *\\[ +\\]' ||
        fail "$label is not dim"
done
# Midi-1 I/O is untouched and not dim.
expect_field "Midi-1 I/O" 300

# Tab from WSS I/O passes over the five: the next field is Midi-1 I/O.
keys Tab Space
wait_for "310"
keys Escape
settle
expect_field "Midi-1 I/O" 300

# Back to WSS I/O (Shift-Tab) and "PnP": the five come back, each showing PnP.
keys BTab Space Home Enter
settle
expect_field "WSS I/O" PnP
for label in "${codec_fields[@]}"; do
    expect_field "$label" PnP
done

leave_with_escape
echo "PASS (${TEST_NAME})"
