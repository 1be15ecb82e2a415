# shellcheck shell=bash
# shellcheck disable=SC2154 # build, as the stage sets it
# The card's file changed underneath a program: cut short, deleted or replaced by a rename in
# the middle of a paced write of the runner (which must then not end in success), and
# rewritten by another program while the setup dialog is open (the dialog asks before writing,
# and the backup is the card as it was right before the write).

underneath_write_script='pick "WSS I/O" 544
answer Yes
click OK'

# underneath_mid_write NAME ACTION: starts a paced write of the runner, waits until its first
# byte is near (the backup is saved right before it), lets ACTION change the card file, and
# checks that the run does not report success.
underneath_mid_write() {
    local name=$1 action=$2 folder status
    folder=$(fresh_folder)
    printf '%s\n' "$underneath_write_script" >"$folder/write.script"
    in_folder_env "$folder" "$build/script/vymsetup-script" "$folder/write.script" \
        >"$folder/events.jsonl" 2>"$folder/stderr.txt" &
    local runner=$!
    if ! wait_until 20 compgen -G "$folder/backups/eeprom-*.bin" >/dev/null; then
        kill "$runner" 2>/dev/null
        fail "$name: the runner saved no backup before its write"
    fi
    sleep 0.5 # some 25 bytes into the write
    (cd "$folder" && eval "$action")
    status=0
    wait "$runner" || status=$?
    if grep -q '"result":"OK"' "$folder/events.jsonl"; then
        fail "$name: the write over a changed card file ended in success: $(tail -3 "$folder/events.jsonl")"
    fi
    grep -q "Couldn't write EEPROM at address" "$folder/events.jsonl" ||
        fail "$name: no failed-write box: $(cat "$folder/events.jsonl")"
    grep -q "vymcnf write" "$folder/events.jsonl" ||
        fail "$name: the failed-write box does not name the backup"
    say "$name: the write failed and said so (runner status $status)"
}

underneath_mid_write "card truncated mid-write" 'truncate -s 100 card.bin'
underneath_mid_write "card deleted mid-write" 'rm card.bin'
underneath_mid_write "card renamed over mid-write" 'cp card.bin other.bin && mv other.bin card.bin'

underneath_shows_card() { # EVENTS: the twelve combo events of `show` are out
    [ "$(grep -c '"event":"combo"' "$1")" -ge 12 ]
}

# underneath_while_open NAME ANSWER: the runner reads its script from a pipe, line by line;
# once the dialog shows the card, another program rewrites the card file in place, then OK is
# pressed with Yes to the usual question and ANSWER to any further one.
underneath_while_open() {
    local name=$1 answer=$2 folder
    folder=$(fresh_folder)
    cp "$folder/card.bin" "$folder/other.bin"
    printf '\x5A' | dd of="$folder/other.bin" bs=1 seek=1500 conv=notrunc status=none
    mkfifo "$folder/script.fifo"
    in_folder_env "$folder" "$build/script/vymsetup-script" - <"$folder/script.fifo" \
        >"$folder/events.jsonl" 2>"$folder/stderr.txt" &
    local runner=$!
    exec {lines}>"$folder/script.fifo"
    printf 'pace off\nshow\n' >&"$lines"
    if ! wait_until 20 underneath_shows_card "$folder/events.jsonl"; then
        exec {lines}>&-
        kill "$runner" 2>/dev/null
        fail "$name: the dialog never showed the card"
    fi
    cat "$folder/other.bin" >"$folder/card.bin"
    printf 'pick "WSS I/O" 544\nanswer Yes\nanswer %s\nclick OK\n' "$answer" >&"$lines"
    exec {lines}>&-
    # A write declined over a changed card did not complete: status 1, as for a declined backup.
    local status=0 expected=0
    wait "$runner" || status=$?
    [ "$answer" = No ] && expected=1
    [ "$status" -eq "$expected" ] ||
        fail "$name: the runner ended with status $status, not $expected: $(cat "$folder/stderr.txt")"
    grep -q '"text":"The EEPROM has changed since this program read it' "$folder/events.jsonl" ||
        fail "$name: the user was not asked about the changed card: $(cat "$folder/events.jsonl")"
    local backups=("$folder"/backups/eeprom-*.bin)
    if [ "$answer" = No ]; then
        [ ! -e "${backups[0]}" ] || fail "$name: No saved a backup"
        cmp -s "$folder/card.bin" "$folder/other.bin" || fail "$name: No wrote to the card"
        grep -q '"result":"Cancel"' "$folder/events.jsonl" ||
            fail "$name: the dialog did not stay open after No"
    else
        if [ "${#backups[@]}" -ne 1 ] || [ ! -e "${backups[0]}" ]; then
            fail "$name: no single backup"
        fi
        cmp -s "${backups[0]}" "$folder/other.bin" ||
            fail "$name: the backup is not the card as it was right before the write"
        grep -q '"result":"OK"' "$folder/events.jsonl" || fail "$name: the write did not end OK"
    fi
    say "$name: asked first; answer $answer kept what it should"
}

underneath_while_open "card rewritten while the dialog is open, Yes" Yes
underneath_while_open "card rewritten while the dialog is open, No" No
