#!/usr/bin/env bash
# A new user's first run: the per-user card is made from the factory image and the dialog shows
# the factory card's selections; Escape leaves, writes nothing and gives the screen back.
source "$(dirname "$0")/lib.sh"

start_vymsetup
wait_for "VYM Card Setup"
wait_for "F1 Help"
[ -f "$CARD" ] || fail "the per-user card was not made"
[ "$(stat -c %s "$CARD")" -eq 2048 ] || fail "the per-user card is not 2048 bytes"
cp "$CARD" "$WORK/before.bin"

for text in "Windows Sound System" "Midi-1 / Synth" "Digital Control" "FM Synth" "SB Pro" \
    "Gameport" "Midi-2" "WSS I/O" "WSS IRQ" "WSS Play DMA" "WSS Record DMA" "Midi-1 I/O" \
    "Midi-1 IRQ" "Dig. Control I/O" "FM I/O" "SB Pro I/O" "Gameport I/O" "Midi-2 I/O" \
    "Midi-2 IRQ" "Cancel"; do
    screen | grep -qF -- "$text" || fail "not shown: $text"
done
# The bottom frame says which file the card is, until the first key.
screen | tail -n 1 | grep -qF "vymcnf/eeprom.bin" || fail "the card's file is not named"

# The default button is marked, and the two hidden buttons are not drawn.
screen | grep -qF "> OK <" || fail "the default button is not marked"
screen | grep -qF "Read Port" && fail "the hidden Read Port button is drawn"
screen | grep -qF "Button1" && fail "the hidden Button1 is drawn"

# The whole dialog within 80 x 24, its caption on the top line.
[ "$(screen | head -n 1 | grep -c "VYM Card Setup")" -eq 1 ] || fail "caption not on the top line"

# Every field shows what the runner reports for the same card.
if [ -n "$RUNNER" ] && [ -x "$RUNNER" ]; then
    cp "$WORK/before.bin" "$WORK/runner.bin"
    runner_on "$WORK/runner.bin" show | grep '"event":"combo"' >"$WORK/combos.jsonl"
    [ "$(wc -l <"$WORK/combos.jsonl")" -eq 12 ] || fail "the runner did not show twelve combo boxes"
    while IFS= read -r event; do
        label=$(printf '%s' "$event" | sed -n 's/.*"label":"\([^"]*\)".*/\1/p')
        text=$(printf '%s' "$event" | sed -n 's/.*"text":"\([^"]*\)".*/\1/p')
        expect_field "$label" "$text"
    done <"$WORK/combos.jsonl"
fi
# The factory card's settings, as the card leaves the factory.
expect_field "WSS I/O" 534
expect_field "WSS IRQ" 5
expect_field "WSS Play DMA" 1
expect_field "WSS Record DMA" 0
expect_field "Midi-1 I/O" 300
expect_field "Midi-1 IRQ" 9
expect_field "Dig. Control I/O" 308
expect_field "FM I/O" 388
expect_field "SB Pro I/O" 220
expect_field "Gameport I/O" 201
expect_field "Midi-2 I/O" 330
expect_field "Midi-2 IRQ" 11

keys Tab BTab
wait_gone "vymcnf/eeprom.bin"
leave_with_escape
echo "PASS (${TEST_NAME})"
