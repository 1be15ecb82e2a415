#!/usr/bin/env bash
# The card named on the command line: FILE alone (as a file manager passes a dropped file) and
# -c FILE both win over VYMCNF_EEPROM, the start names the file, and a write changes that file
# exactly as the runner does; the per-user card is never made. An Intel HEX file is refused
# with the command that converts it, and nothing is created.
source "$(dirname "$0")/lib.sh"
require_runner

factory_card_copy "$WORK/dump.bin"
cp "$WORK/dump.bin" "$WORK/dump-before.bin"

VYMSETUP_ARGS="$WORK/dump.bin" start_vymsetup "VYMCNF_EEPROM=$WORK/no-such-card.bin"
wait_for "F1 Help"
screen | grep -qF "Card: $(basename "$WORK")/dump.bin" ||
    screen | grep -qF "Card: $WORK/dump.bin" || fail "the start does not name the card file"
pick_wss_io_544
keys Enter
wait_for "Settings are changed"
keys Enter
expect_clean_end 60
cp "$WORK/dump-before.bin" "$WORK/runner.bin"
runner_on "$WORK/runner.bin" "pace off" "pick 1003 544" "answer Yes" "click OK" >"$WORK/runner.jsonl"
cmp "$WORK/dump.bin" "$WORK/runner.bin" || fail "the file differs from what the runner writes"
[ -e "$CARD" ] && fail "the per-user card was made although a file was named"
[ -e "$WORK/no-such-card.bin" ] && fail "VYMCNF_EEPROM's file was made"

# -c FILE: the same card; Escape leaves it as it was.
tm kill-server
cp "$WORK/dump.bin" "$WORK/dump-before.bin"
VYMSETUP_ARGS="-c $WORK/dump.bin" start_vymsetup
wait_for "F1 Help"
expect_field "WSS I/O" 544
keys Escape
expect_clean_end
cmp -s "$WORK/dump.bin" "$WORK/dump-before.bin" || fail "Escape changed the card file"

# Intel HEX is no card.
if "$VYMSETUP" "$WORK/dump.hex" >/dev/null 2>"$WORK/error.txt"; then
    fail "an Intel HEX card file was accepted"
fi
grep -qF "vymcnf convert $WORK/dump.hex $WORK/dump.bin" "$WORK/error.txt" ||
    fail "the refusal does not give the command that converts: $(cat "$WORK/error.txt")"
[ -e "$CARD" ] && fail "the per-user card was made"
echo "PASS (${TEST_NAME})"
