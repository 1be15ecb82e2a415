#!/usr/bin/env bash
# A card file the user may read but not write: the dialog shows the card, the bottom frame
# marks it read-only, OK's write is refused with a box before any backup is made, the card is
# left as it was and the program ends with status 1, saying why.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/ro"
card="$WORK/ro/card.bin"
factory_card_copy "$card"
cp "$card" "$WORK/before.bin"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    # Permissions do not bind root: the program runs as an ordinary user, who may read the
    # root-owned card but not write it.
    if ! command -v setpriv >/dev/null; then
        echo "SKIP (${TEST_NAME}): running as root without setpriv" >&2
        exit "$SKIP"
    fi
    chmod 711 "$WORK"
    chmod 755 "$WORK/ro"
    chmod 644 "$card"
    run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    chmod 444 "$card"
fi

start_vymsetup "VYMCNF_EEPROM=$card" "VYMCNF_BACKUPS=$WORK/backups" "${run_as[@]}"
wait_for "(read-only)"
line_of "(read-only)" | grep -qF "F1 Help" || fail "the read-only mark is not in the bottom frame"
expect_field "WSS I/O" 534
# After the first key the note goes, and the mark stays.
pick_wss_io_544
marked_read_only() { line_of "F1 Help" | grep -qF "Read-only card"; }
wait_until 5 marked_read_only || fail "the bottom frame lost the read-only mark"
keys Enter
wait_for "Do you want to write new settings to EEPROM ?"
keys Enter
wait_for "may be read but not written, so nothing was"
keys Enter
wait_gone "may be read but not written"
expect_field "WSS I/O" 544  # the dialog stays open, as after any write that did not happen
keys Escape
status=$(wait_exit)
[ "$status" -eq 1 ] || fail "exit status $status after a refused write"
expect_screen_restored
tm capture-pane -p -J -t vym | grep -qxF \
    "vymsetup: the write to the card $card did not complete: the card's file may not be written." ||
    fail "the end does not say why nothing was written"
cmp -s "$card" "$WORK/before.bin" || fail "the read-only card changed"
[ ! -e "$WORK/backups" ] || fail "a backup was made for a write that could not happen"
echo "PASS (${TEST_NAME})"
