#!/usr/bin/env bash
# What the program says when its screen is gone: after a write, the bytes, the card's file and
# the backup with the command that puts it back (which, run as printed, restores the card);
# after a card that cannot be opened, the file and the reason in plain words, with status 1;
# after Cancel, nothing.
source "$(dirname "$0")/lib.sh"

VYMCNF="$(dirname "$VYMSETUP")/../cli/vymcnf"
if [ ! -x "$VYMCNF" ]; then
    echo "SKIP (${TEST_NAME}): vymcnf is not built" >&2
    exit "$SKIP"
fi
mkdir -p "$WORK/bin"
ln -s "$(realpath "$VYMCNF")" "$WORK/bin/vymcnf"

# The lines after the program, wrapped lines joined, without the pane's own last line.
last_words() { tm capture-pane -p -J -t vym | grep -v '^\[vymsetup ended\]' | sed '/^$/d'; }

# A write through OK and Yes.
start_dialog
pick_wss_io_544
keys Enter
wait_for "Settings are changed. Do you want to write new settings to EEPROM ?"
keys Enter
status=$(wait_exit 60)
[ "$status" -eq 0 ] || fail "exit status $status after a write"
expect_screen_restored
words=$(last_words)
bytes=$(printf '%s\n' "$words" | sed -n 's/^vymsetup: wrote \([0-9]*\) bytes to the card \(.*\) and read them back\.$/\1 \2/p')
[ -n "$bytes" ] || fail "no line telling the write: $words"
[ "${bytes#* }" = "$CARD" ] || fail "the line names '${bytes#* }', not the card $CARD"
[ "${bytes%% *}" -gt 0 ] || fail "no bytes counted"
backup=$(printf '%s\n' "$words" | sed -n 's/^The card as it was before is saved in \(.*\)$/\1/p')
[ -f "$backup" ] || fail "the backup named is no file: '$backup'"
case "$backup" in /*) ;; *) fail "the backup's path is not full: $backup" ;; esac
cmp -s "$backup" "$WORK/before.bin" || fail "the backup is not the card as it was"
command=$(printf '%s\n' "$words" | grep -A1 -xF 'To put it back, run:' | tail -n 1)
[ "$command" = "  vymcnf write \"$backup\"" ] || fail "restore command is '$command'"
cmp -s "$CARD" "$WORK/before.bin" && fail "the card did not change"

# The command, run as printed, puts the card back.
(cd "$WORK" && PATH="$WORK/bin:$PATH" eval "$command") >"$WORK/restore.out" 2>&1 ||
    fail "the restore command failed: $(cat "$WORK/restore.out")"
cmp -s "$CARD" "$WORK/before.bin" || fail "the card is not back as it was"

# Cancel after a change: nothing is said, status 0.
tm kill-server
start_dialog
pick_wss_io_544
keys Escape
expect_clean_end
[ -z "$(last_words)" ] || fail "something was said after Cancel: $(last_words)"

# A card file of 1000 bytes: the box with the system's text, then the file and its size.
head -c 1000 /dev/zero >"$WORK/short.bin"
tm kill-server
start_vymsetup "VYMCNF_EEPROM=$WORK/short.bin"
wait_for "The data is invalid."
keys Enter
status=$(wait_exit)
[ "$status" -eq 1 ] || fail "exit status $status after a card that could not be opened"
expect_screen_restored
expected="vymsetup: couldn't open the card: $WORK/short.bin is 1000 bytes long; a card's EEPROM image is exactly 2048 bytes."
last_words | grep -qxF -- "$expected" || fail "not said: $expected"

# A folder, a missing file and a card another program holds, each in its own words.
for case in folder missing busy; do
    tm kill-server
    card="$WORK/card-$case"
    wanted=""
    case $case in
        folder) mkdir -p "$card"; wanted="$card is a folder, not a regular file" ;;
        missing) wanted="$card does not exist" ;;
        busy)
            cp "$WORK/before.bin" "$card"
            flock -x "$card" sleep 30 &
            holder=$!
            sleep 0.3
            wanted="$card is in use by process"
            ;;
    esac
    start_vymsetup "VYMCNF_EEPROM=$card"
    wait_for "VYM Card Setup"
    keys Enter
    status=$(wait_exit)
    [ "$status" -eq 1 ] || fail "exit status $status for a $case card"
    last_words | grep -qF -- "vymsetup: couldn't open the card: $wanted" ||
        fail "the $case card is not told: $(last_words)"
    if [ "$case" = busy ]; then
        last_words | grep -qE "in use by process [0-9]+ \((flock|sleep)\)" ||
            fail "the holder is not named: $(last_words)"
        kill "$holder" 2>/dev/null || true
        wait "$holder" 2>/dev/null || true
    fi
done
echo "PASS (${TEST_NAME})"
