# shellcheck shell=bash
# The whole Windows program on the emulated card driver, sourced by a Wine stage that has a
# session and a display (lib/wine.sh, lib/vymcnf-service.sh, wine/programs.sh) and sets tree,
# native and out: the device contract cases, every whole-program case through
# vymsetup-script.exe, a pick written by vymsetup.exe, and vymcnf.exe reading, writing back and
# verifying the card, each against vymcnf.sys. What the checks on a card file (wine/file-card.sh)
# share with these is here too: the native runners, script_tests' cases with a Windows runner,
# and the factory card changed as a user's card may be.

# The programs and the driver lie in C:\vymcard; the driver serves C:\vymcard\card.bin.
card_folder() { echo "$DRIVE_C/vymcard"; }

# What the card's parts compare with: the native runner, and script_tests, the case runner that
# drives a Windows runner and judges its events and card bytes.
build_native_runners() {
    [ -f "$native/build.ninja" ] || cmake --preset default >/dev/null
    cmake --build "$native" -j2 --target vymsetup-script script_tests >/dev/null
}
served_card() { echo "$DRIVE_C/vymcard/card.bin"; }

# run_script_cases LOG WHAT NAME=VALUE...: script_tests' whole-program cases with the Windows
# runner that the VYM_WINDOWS_* variables given describe; each skipped case with its reason and
# the summary are printed, and on a failure the first failures, and the stage fails with WHAT.
run_script_cases() {
    local log=$1 what=$2 status=0
    shift 2
    env "$@" timeout 1800 "$native/tests/script_tests" --gtest_filter='Cases/*' >"$log" 2>&1 ||
        status=$?
    awk '/: Skipped$/ { getline reason }
         /^\[  SKIPPED \] Cases.* ms\)$/ { print "    skipped " $4 ": " reason }
         /^\[ +(PASSED|FAILED|SKIPPED) +\] [0-9]+ tests?\.$/ { print "    " $0 }' "$log"
    [ "$status" -eq 0 ] || { grep -A 12 'Failure' "$log" | head -n 80; fail "$what"; }
}

# The factory card's WSS I/O range is the Codec's first I/O port descriptor, which the factory
# image lays out at offset 64: its tag (0x47), the decode flags, then the minimum and the maximum
# base, low byte first.
WSS_IO_DESCRIPTOR=64
WSS_IO_MIN_BASE_LOW=$((WSS_IO_DESCRIPTOR + 2))
WSS_IO_MAX_BASE_LOW=$((WSS_IO_DESCRIPTOR + 4))
BEYOND_THE_IMAGE=1000

# put_byte FILE OFFSET HEX: one byte of a card file replaced.
put_byte() {
    printf '%b' "\\x$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# change_factory_card FILE: a copy of the factory card changed as a user's card may be: WSS I/O
# at 0x544 instead of 0x534 (the low bytes of both bases) and a byte beyond the image, the
# checksum left as it was, so that 3 bytes differ. The descriptor is looked at first: a factory
# image laid out anew fails here instead of having other bytes changed.
change_factory_card() {
    local file=$1
    [ "$(od -An -tx1 -j "$WSS_IO_DESCRIPTOR" -N 6 "$file" | tr -d ' \n')" = 470134053405 ] ||
        fail "$file holds no WSS I/O descriptor for 0x534 at offset $WSS_IO_DESCRIPTOR"
    put_byte "$file" "$WSS_IO_MIN_BASE_LOW" 44
    put_byte "$file" "$WSS_IO_MAX_BASE_LOW" 44
    put_byte "$file" "$BEYOND_THE_IMAGE" 00
}

# install_card_driver [PROGRAM...]: the shipped programs, the driver and its scripts, and any
# further programs the stage runs from there (the 64-bit one: the device contract cases).
install_card_driver() {
    local folder
    folder=$(card_folder)
    mkdir -p "$folder"
    cp "$tree/emulator/vymcnf.sys" "$tree/script/vymsetup-script.exe" "$tree/win32/vymsetup.exe" \
        "$tree/cli/vymcnf.exe" emulator/install.cmd emulator/remove.cmd "$@" "$folder/"
    probe write-factory-image 'C:\vymcard\card.bin' >/dev/null || fail "no factory card"
    cp "$(served_card)" "$WINE_WORK/factory.bin"
    service_install "$folder" card.bin || fail "install.cmd card.bin ($SERVICE_START_ERROR)"
    say "ok - vymcnf.sys installed and started on the factory card"
}

# The device contract cases point the service at a card file of their own and stop it when
# they are done; it is pointed back at the served card afterwards.
check_contract_cases() {
    service_stop || fail "the driver does not stop"
    if ! wine_run 300 'C:\vymcard\driver_contract_tests.exe' --gtest_brief=1 \
        >"$out/driver-contract.log"; then
        tr -d '\r' <"$out/driver-contract.log"
        fail "the device contract cases failed against vymcnf.sys"
    fi
    say "ok - device contract cases: $(tr -d '\r' <"$out/driver-contract.log" | tail -n 1)"
    service_stop || fail "the driver does not stop"
    set_eeprom_value 'C:\vymcard\card.bin'
}

# script_tests runs the cases with vymsetup-script.exe as the runner; before each case the
# driver is made to serve a copy of the case's card.
check_script_cases() {
    case "$root$WINELOADER$DRIVE_C" in
        *" "*) fail "the case runner's commands cannot hold paths with spaces ($root, $DRIVE_C)" ;;
    esac
    run_script_cases "$out/script-cases.log" "cases fail under Wine" \
        VYM_WINDOWS_RUNNER="$(command -v timeout) 120 $WINELOADER C:\\vymcard\\vymsetup-script.exe" \
        VYM_WINDOWS_SERVE_CARD="$(command -v bash) $root/scripts/ci/lib/serve-card.sh $(served_card)" \
        VYM_WINDOWS_CARD="$(served_card)" VYM_WINDOWS_DRIVE_C="$DRIVE_C"
}

# vymsetup.exe on the driver shows the card's selections, a pick made at the real controls, OK
# and Yes write the card, and the card holds what the native runner writes for the same pick.
# With a file name, a picture of the dialog as it came up is saved there.
check_dialog_on_driver() {
    local picture=${1:-} program dialog started
    service_serve "$(served_card)" "$WINE_WORK/factory.bin" ||
        fail "the driver does not serve the factory card ($SERVICE_START_ERROR)"
    started=$(now)
    wine_start 'C:\vymcard\vymsetup.exe'
    program=$WINE_PID
    probe check-dialog 60000 >"$out/driver-dialog.txt" ||
        { cat "$out/driver-dialog.txt"; fail "the setup dialog is not template 102's"; }
    dialog=$(window_named "VYM Card Setup") || fail "the dialog's window is not found"
    say "ok - the dialog is up $(since "$started")s after the start (the card read through the driver)"

    # The selections shown are those the native runner shows for the same card.
    cp "$WINE_WORK/factory.bin" "$WINE_WORK/native.bin"
    printf 'show\n' | VYMCNF_EEPROM="$WINE_WORK/native.bin" timeout 60 "$native/script/vymsetup-script" |
        jq -r 'select(.event == "combo") | "\(.id) \(.selection) \(.text)"' >"$WINE_WORK/native-selections.txt"
    sed -nE 's/^combo ([0-9]+) enabled=[01] selection=(-?[0-9]+) text="([^"]*)".*/\1 \2 \3/p' \
        "$out/driver-dialog.txt" | sort -n >"$WINE_WORK/shown-selections.txt"
    [ "$(wc -l <"$WINE_WORK/native-selections.txt")" -eq 12 ] || fail "the native runner showed no twelve lists"
    diff "$WINE_WORK/native-selections.txt" "$WINE_WORK/shown-selections.txt" ||
        fail "the dialog does not show the card's selections"
    say "ok - the twelve lists show the card's selections"

    # WSS I/O from 534 to 544 at the real controls: Tab past OK and Cancel to the list, open it,
    # one entry down, Enter takes it; Enter again is OK, and Enter answers Yes to the question.
    xdotool windowfocus --sync "$dialog"
    [ -z "$picture" ] || screenshot "$dialog" "$picture"
    xdotool key Tab Tab alt+Down
    wait_until 10 combo_shows 1003 534 1 || fail "the WSS I/O list does not open ($(probe combo 1003))"
    xdotool key Down Return
    wait_until 10 combo_shows 1003 544 || fail "WSS I/O does not show 544 ($(probe combo 1003))"
    xdotool key Return
    started=$(now)
    answer_yes_and_wait "$program"
    say "ok - a full write at 20 ms a byte took $(since "$started")s (question to program end)"
    service_stop || fail "the driver does not stop"
    native_write "$WINE_WORK/factory.bin" "$WINE_WORK/native.bin" 1003 544
    cmp "$(served_card)" "$WINE_WORK/native.bin" || fail "the card holds other bytes than the native runner writes"
    say "ok - the card holds the pick, byte for byte as the native runner writes it"
}

# vymcnf.exe on the driver: read saves the card; after the card changed, write puts the saved
# image back (only the bytes that differ, after a backup in the user's application data) and
# verify finds the card holding it; verify of another image fails. The driver's file is compared
# with what vymcnf saved, byte for byte.
check_vymcnf_on_driver() {
    local saved="$(card_folder)/saved.bin" changed="$WINE_WORK/changed.bin" status backups
    service_serve "$(served_card)" "$WINE_WORK/factory.bin" ||
        fail "the driver does not serve the factory card ($SERVICE_START_ERROR)"
    rm -f "$saved"
    wine_run 120 'C:\vymcard\vymcnf.exe' read 'C:\vymcard\saved.bin' >"$out/vymcnf-read.txt" ||
        fail "vymcnf.exe read failed: $(tr -d '\r' <"$out/vymcnf-read.txt")"
    cmp "$saved" "$WINE_WORK/factory.bin" || fail "vymcnf.exe read saved other bytes than the card's"
    say "ok - vymcnf.exe read saved the card's 2048 bytes"

    cp "$WINE_WORK/factory.bin" "$changed"
    change_factory_card "$changed"
    service_serve "$(served_card)" "$changed" ||
        fail "the driver does not serve the changed card ($SERVICE_START_ERROR)"
    rm -rf "$DRIVE_C"/users/*/AppData/Roaming/"VYM Card Setup"
    wine_run 300 'C:\vymcard\vymcnf.exe' write 'C:\vymcard\saved.bin' >"$out/vymcnf-write.txt" ||
        fail "vymcnf.exe write failed: $(tr -d '\r' <"$out/vymcnf-write.txt")"
    grep -q "^Wrote 3 bytes to the card and read it back" <(tr -d '\r' <"$out/vymcnf-write.txt") ||
        fail "vymcnf.exe write did not write the 3 bytes that differ: $(tr -d '\r' <"$out/vymcnf-write.txt")"
    wine_run 120 'C:\vymcard\vymcnf.exe' verify 'C:\vymcard\saved.bin' >/dev/null ||
        fail "vymcnf.exe verify does not find the card holding what was written back"
    status=0
    wine_run 120 'C:\vymcard\vymcnf.exe' verify 'Z:'"${changed//\//\\}" >/dev/null 2>&1 ||
        status=$?
    [ "$status" -eq 1 ] || fail "vymcnf.exe verify of another image ended with $status, not 1"
    backups=("$DRIVE_C"/users/*/AppData/Roaming/"VYM Card Setup"/backups/eeprom-*.bin)
    [ "${#backups[@]}" -eq 1 ] && [ -f "${backups[0]}" ] ||
        fail "no one backup in the user's application data: ${backups[*]}"
    cmp "${backups[0]}" "$changed" || fail "the backup does not hold the card as it was"
    service_stop || fail "the driver does not stop"
    cmp "$(served_card)" "$WINE_WORK/factory.bin" || fail "the driver's card is not the saved image"
    say "ok - vymcnf.exe wrote back the 3 bytes that differ after a backup in %APPDATA%, verify" \
        "holds, and the driver's file is the saved image"
}
