#!/usr/bin/env bash
# Losing the terminal is Cancel: a hang-up (SIGHUP) with changes made, and one while the question
# to write is open, end the program with nothing written; a terminating signal does the same.
# A write that has begun is finished first, so that the card never holds half an image, and the
# program then ends with a failure status. The screen is given back each time.
source "$(dirname "$0")/lib.sh"

hang_up_after() {
    local signal=$1
    shift
    start_dialog
    pick_wss_io_544
    "$@"
    kill "-$signal" "$(program_pid)"
    expect_clean_end
    expect_card_unchanged "after SIG$signal"
    tm kill-server
}

nothing_more() { :; }
question_open() {
    keys Enter
    wait_for "Do you want to write new settings to EEPROM ?"
}
list_open() {
    keys Space
    settle
}

hang_up_after HUP nothing_more
hang_up_after HUP question_open
hang_up_after HUP list_open
hang_up_after TERM nothing_more
hang_up_after INT question_open

# During the write: the program ends once the whole image is on the card.
start_dialog
pick_wss_io_544
keys Enter
wait_for "Do you want to write new settings to EEPROM ?"
keys Enter
wait_for "Write EEPROM Data"
sleep 1
kill -HUP "$(program_pid)"
# It ends as asked once the write is over, and says so in its status: 128 and SIGHUP's 1.
status=$(wait_exit 60)
[ "$status" -eq $((128 + 1)) ] || fail "exit status $status after SIGHUP during the write"
expect_screen_restored
if [ -n "$RUNNER" ] && [ -x "$RUNNER" ]; then
    cp "$WORK/before.bin" "$WORK/runner.bin"
    runner_on "$WORK/runner.bin" "pace off" "pick 1003 544" "answer Yes" "click OK" >/dev/null
    cmp "$CARD" "$WORK/runner.bin" || fail "the write was cut short by the hang-up"
else
    cmp -s "$CARD" "$WORK/before.bin" && fail "the write did not happen"
fi

# A crash signal: the screen is put back before the program dies of it.
tm kill-server
start_vymsetup
wait_for "F1 Help"
kill -SEGV "$(program_pid)"
status=$(wait_exit)
[ "$status" -eq $((128 + 11)) ] || fail "exit status $status after SIGSEGV"
expect_screen_restored
echo "PASS (${TEST_NAME})"
