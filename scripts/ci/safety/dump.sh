# shellcheck shell=bash
# The diagnostic dump's tt.bin, when something other than an earlier dump stands at that name:
# a link planted there, a FIFO, a link to the card, the card itself kept there. The dump never
# writes through a link, never waits on a FIFO, never touches the card, and tells of a file only
# when it wrote one; the device listing goes on either way.

# dump_run FOLDER: the runner clicks "Read Port" with the folder's card and drive; its events go
# to FOLDER/events. It must end within a bounded time even when something at tt.bin would block.
dump_run() {
    local folder=$1 status=0
    printf 'pace off\nclick "Read Port"\n' >"$folder/dump.script"
    in_folder_env "$folder" timeout 20 "$build/script/vymsetup-script" "$folder/dump.script" \
        >"$folder/events" 2>"$folder/errors" </dev/null || status=$?
    [ "$status" -ne 124 ] || fail "$2: the runner hung (killed after 20 s)"
    # The six device boxes are the listing: it goes on whatever happened to the file.
    [ "$(grep -c '"caption":"Device [1-6]"' "$folder/events")" -eq 6 ] ||
        fail "$2: the device listing did not run: $(cat "$folder/events")"
}

dump_no_file_event() {
    ! grep -q '"event":"file"' "$1/events" || fail "$2: a file event for a dump not written"
}

dump_card_unchanged() {
    cmp -s "$1/card.bin" "$1/before.bin" || fail "$2: the card changed"
}

dump_checks() {
    local folder
    # The ordinary case: an earlier dump is replaced by the card's first 500 bytes.
    folder=$(fresh_folder)
    head -c 100 /dev/zero >"$folder/drive-c/tt.bin"
    dump_run "$folder" "an earlier tt.bin"
    cmp -s <(head -c 500 "$folder/card.bin") "$folder/drive-c/tt.bin" ||
        fail "an earlier tt.bin: it does not hold the card's first 500 bytes"
    grep -q '"event":"file"' "$folder/events" || fail "an earlier tt.bin: no file event"
    # Nothing but tt.bin is left in the folder (no temporary file).
    [ "$(ls -A "$folder/drive-c")" = "tt.bin" ] ||
        fail "an earlier tt.bin: the folder holds $(ls -A "$folder/drive-c")"

    # A link planted at tt.bin: its target keeps its bytes, the link stays a link.
    folder=$(fresh_folder)
    cp "$folder/card.bin" "$folder/before.bin"
    echo "someone's notes" >"$folder/notes.txt"
    ln -s "$folder/notes.txt" "$folder/drive-c/tt.bin"
    dump_run "$folder" "a link at tt.bin"
    [ "$(cat "$folder/notes.txt")" = "someone's notes" ] ||
        fail "a link at tt.bin: the file it points to was written"
    [ -L "$folder/drive-c/tt.bin" ] || fail "a link at tt.bin: the link was replaced"
    dump_no_file_event "$folder" "a link at tt.bin"
    dump_card_unchanged "$folder" "a link at tt.bin"

    # A FIFO at tt.bin: never opened, so nothing waits for a reader.
    folder=$(fresh_folder)
    cp "$folder/card.bin" "$folder/before.bin"
    mkfifo "$folder/drive-c/tt.bin"
    dump_run "$folder" "a FIFO at tt.bin"
    [ -p "$folder/drive-c/tt.bin" ] || fail "a FIFO at tt.bin: the FIFO was replaced"
    dump_no_file_event "$folder" "a FIFO at tt.bin"
    dump_card_unchanged "$folder" "a FIFO at tt.bin"

    # A link from tt.bin to the card: the card keeps all its 2048 bytes.
    folder=$(fresh_folder)
    cp "$folder/card.bin" "$folder/before.bin"
    ln -s "$folder/card.bin" "$folder/drive-c/tt.bin"
    dump_run "$folder" "a link from tt.bin to the card"
    dump_card_unchanged "$folder" "a link from tt.bin to the card"
    dump_no_file_event "$folder" "a link from tt.bin to the card"

    # The card itself kept in the dump's folder under the name tt.bin.
    folder=$(fresh_folder)
    mv "$folder/card.bin" "$folder/drive-c/tt.bin"
    cp "$folder/drive-c/tt.bin" "$folder/before.bin"
    printf 'pace off\nclick "Read Port"\n' >"$folder/dump.script"
    env VYMCNF_EEPROM="$folder/drive-c/tt.bin" VYMCNF_DRIVE_C="$folder/drive-c" \
        VYMCNF_BACKUPS="$folder/backups" HOME="$folder/home" XDG_DATA_HOME="$folder/home" \
        timeout 20 "$build/script/vymsetup-script" "$folder/dump.script" >"$folder/events" \
        </dev/null || [ $? -ne 124 ] || fail "the card named tt.bin: the runner hung"
    cmp -s "$folder/drive-c/tt.bin" "$folder/before.bin" ||
        fail "the card named tt.bin: the card changed"
    dump_no_file_event "$folder" "the card named tt.bin"
}

dump_checks
say "ok - tt.bin: written whole into its own file only; links, FIFOs and the card left alone"
