# shellcheck shell=bash
# The Windows programs on a card file, as a user edits a dump with no driver installed, sourced
# by a Wine stage that has a session and a display (lib/wine.sh, wine/programs.sh, wine/card.sh
# for the native runners) and sets native and out. Each takes the cross tree to use and a label
# for its logs, so the 32-bit stage runs the same checks on its programs:
#   check_cases_on_card_file TREE LABEL    every whole-program case through
#                                          vymsetup-script.exe --card Z:\...\card.bin
#                                          (script_tests compares events and card bytes)
#   check_dialog_on_card_file TREE LABEL [PICTURE]
#                                          vymsetup.exe FILE: the title names the file, the
#                                          dialog is template 102's, a pick, OK and Yes write the
#                                          native runner's bytes to the file
#   check_vymcnf_on_card_file TREE LABEL   vymcnf.exe --card FILE info, write (after a backup
#                                          in %APPDATA%) and verify, raw and Intel HEX

# The Windows spelling of a Linux path: Wine's drive Z: is the root.
windows_path() { echo "Z:${1//\//\\}"; }

# A folder of its own for each label, holding the factory card and nothing else yet.
card_file_folder() {
    local folder="$WINE_WORK/file-card-$1"
    rm -rf "$folder"
    mkdir -p "$folder"
    probe write-factory-image "$(windows_path "$folder/factory.bin")" >/dev/null ||
        fail "no factory card file"
    echo "$folder"
}

check_cases_on_card_file() {
    local tree=$1 label=$2 folder
    folder=$(card_file_folder "$label")
    case "$root$WINELOADER$folder$DRIVE_C" in
        *" "*) fail "the case runner's commands cannot hold paths with spaces ($folder, $DRIVE_C)" ;;
    esac
    run_script_cases "$out/script-cases-card-file-$label.log" "cases on a card file fail ($label)" \
        VYM_WINDOWS_RUNNER="$(command -v timeout) 120 $WINELOADER $tree/script/vymsetup-script.exe --card $(windows_path "$folder/card.bin")" \
        VYM_WINDOWS_CARD_FILE="$folder/card.bin" VYM_WINDOWS_DRIVE_C="$DRIVE_C"
    say "ok - every whole-program case through vymsetup-script.exe --card ($label), no driver"
}

check_dialog_on_card_file() {
    local tree=$1 label=$2 picture=${3:-} folder program dialog title
    folder=$(card_file_folder "$label")
    cp "$folder/factory.bin" "$folder/card.bin"
    # The path as Explorer passes a file dropped on the program: alone, in quotes.
    wine_start "$tree/win32/vymsetup.exe" "$(windows_path "$folder/card.bin")"
    program=$WINE_PID
    title=$(probe title 60000) || fail "no setup dialog on the card file ($title)"
    [ "$title" = "card.bin - VYM Card Setup" ] || fail "the title bar shows '$title'"
    say "ok - vymsetup.exe FILE: the title bar shows \"$title\""
    probe check-dialog 30000 >"$out/dialog-card-file-$label.txt" ||
        { cat "$out/dialog-card-file-$label.txt"; fail "the dialog is not template 102's"; }
    dialog=$(window_named "$title") || fail "the dialog's window is not found"
    xdotool windowfocus --sync "$dialog"
    [ -z "$picture" ] || screenshot "$dialog" "$picture"

    # The user switches the Codec off: Tab past OK and Cancel to WSS I/O, Up from 534 to ---,
    # Enter for OK, Enter for Yes to the question; the progress dialog writes.
    xdotool key Tab Tab Up
    wait_until 10 combo_shows 1003 --- || fail "WSS I/O does not show --- ($(probe combo 1003))"
    xdotool key Return
    answer_yes_and_wait "$program"
    native_write "$folder/factory.bin" "$folder/expected.bin" 1003 ---
    cmp "$folder/card.bin" "$folder/expected.bin" ||
        fail "vymsetup.exe wrote other bytes to the file than the runner for the same actions"
    say "ok - a pick, OK and Yes in vymsetup.exe FILE wrote the runner's bytes to the file ($label)"
}

# vymcnf.exe with its arguments and the card file; what it printed, line ends made Unix ones.
vymcnf_on() {
    local tree=$1 status=0
    shift
    wine_run 300 "$tree/cli/vymcnf.exe" "$@" >"$WINE_WORK/vymcnf.out" 2>"$WINE_WORK/vymcnf.err" ||
        status=$?
    tr -d '\r' <"$WINE_WORK/vymcnf.out" >"$WINE_WORK/vymcnf.txt"
    tr -d '\r' <"$WINE_WORK/vymcnf.err" >>"$WINE_WORK/vymcnf.txt"
    return "$status"
}

check_vymcnf_on_card_file() {
    local tree=$1 label=$2 folder card saved hex backups status
    folder=$(card_file_folder "$label")
    card=$(windows_path "$folder/dump.bin")
    saved=$(windows_path "$folder/saved.bin")
    hex=$(windows_path "$folder/saved.hex")
    cp "$folder/factory.bin" "$folder/dump.bin"

    vymcnf_on "$tree" --card "$card" info || fail "vymcnf.exe --card info: $(cat "$WINE_WORK/vymcnf.txt")"
    grep -qF "$card" "$WINE_WORK/vymcnf.txt" || fail "vymcnf.exe info does not name the card file"
    cp "$WINE_WORK/vymcnf.txt" "$out/vymcnf-card-file-info-$label.txt"
    vymcnf_on "$tree" -c "$card" read "$saved" || fail "vymcnf.exe read: $(cat "$WINE_WORK/vymcnf.txt")"
    vymcnf_on "$tree" -c "$card" read "$hex" || fail "vymcnf.exe read .hex: $(cat "$WINE_WORK/vymcnf.txt")"
    cmp "$folder/saved.bin" "$folder/factory.bin" || fail "vymcnf.exe read saved other bytes"
    [ "$(head -c 1 "$folder/saved.hex")" = ":" ] && [ "$(wc -l <"$folder/saved.hex")" -eq 129 ] ||
        fail "vymcnf.exe read FILE.hex did not save 129 Intel HEX records"
    say "ok - vymcnf.exe --card FILE info names the file; read saves it raw and as Intel HEX ($label)"

    change_factory_card "$folder/dump.bin"
    cp "$folder/dump.bin" "$folder/changed.bin"
    rm -rf "$DRIVE_C"/users/*/AppData/Roaming/"VYM Card Setup" "$DRIVE_C"/users/*/"Application Data"/"VYM Card Setup"
    vymcnf_on "$tree" --card "$card" write "$hex" || fail "vymcnf.exe write: $(cat "$WINE_WORK/vymcnf.txt")"
    grep -q "^Wrote 3 bytes to the card and read it back" "$WINE_WORK/vymcnf.txt" ||
        fail "vymcnf.exe write did not write the 3 bytes that differ: $(cat "$WINE_WORK/vymcnf.txt")"
    cmp "$folder/dump.bin" "$folder/factory.bin" || fail "the card file is not the image written"
    # Where %APPDATA% lies depends on the Windows version Wine is set to.
    shopt -s nullglob
    backups=("$DRIVE_C"/users/*/AppData/Roaming/"VYM Card Setup"/backups/eeprom-*.bin
        "$DRIVE_C"/users/*/"Application Data"/"VYM Card Setup"/backups/eeprom-*.bin)
    shopt -u nullglob
    [ "${#backups[@]}" -eq 1 ] || fail "not one backup in the user's application data: ${backups[*]}"
    cmp "${backups[0]}" "$folder/changed.bin" || fail "the backup does not hold the card as it was"
    vymcnf_on "$tree" --card "$card" verify "$saved" || fail "vymcnf.exe verify: $(cat "$WINE_WORK/vymcnf.txt")"
    status=0
    vymcnf_on "$tree" --card "$card" verify "$(windows_path "$folder/changed.bin")" || status=$?
    [ "$status" -eq 1 ] || fail "vymcnf.exe verify of another image ended with $status, not 1"
    say "ok - vymcnf.exe --card FILE wrote the 3 bytes that differ from an Intel HEX image after" \
        "a backup in the user's application data, verify holds ($label)"
}
