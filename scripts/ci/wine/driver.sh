# shellcheck shell=bash
# The emulated card driver as a kernel service, sourced by a Wine stage that has a session
# (lib/wine.sh, lib/vymcnf-service.sh) and sets tree (the cross build) and out: installed,
# started, exercised, stopped and removed, both through install.cmd and remove.cmd and by the sc
# steps themselves, and the starts that must fail.

# The console program that checks the driver through \\.\VymCnf, and its report.
emulator_contract_test() {
    wine_run 120 'C:\vymcnf\vymcnf_file_checks.exe' "$@" >"$out/emulator-file-checks.log"
}

# A card image of random bytes whose last byte is 0, so the test's write of 0xAB there shows.
make_image() {
    head -c 2048 /dev/urandom >"$1"
    printf '\000' | dd of="$1" bs=1 seek=2047 conv=notrunc status=none
}

# The test program against the started driver, and the file it leaves behind: the bytes the
# program expects, exactly 300 of them changed, 0xAB at 2047.
exercise() {
    local file=$1 windows_file=$2 expected=$3 windows_expected=$4 changed
    cp "$file" "$WINE_WORK/original.bin"
    emulator_contract_test "$windows_file" "$windows_expected" ||
        { tr -d '\r' <"$out/emulator-file-checks.log"; fail "the driver's test program reported failures"; }
    cmp "$file" "$expected" || fail "the EEPROM file is not the image the writes should leave"
    changed=$({ cmp -l "$WINE_WORK/original.bin" "$file" || true; } | wc -l)
    [ "$changed" -eq 300 ] || fail "$changed bytes of the EEPROM file changed, not 300"
    [ "$(od -An -tx1 -j2047 -N1 "$file" | tr -d ' ')" = ab ] || fail "byte 2047 is not 0xab"
    say "ok - the driver's test program: $(tr -d '\r' <"$out/emulator-file-checks.log" | tail -n 1);" \
        "the EEPROM file holds every acknowledged write and nothing else"
}

# After a stop the driver unloads.
expect_absent() {
    wait_until 10 emulator_contract_test --absent || fail "\\\\.\\VymCnf still exists $1"
    say "ok - \\\\.\\VymCnf is gone $1"
}

expect_removed() {
    wait_until 10 _service_gone || fail "the vymcnf service is still installed $1"
}

# Names the EEPROM file in the service's Parameters. Right after a service of the same name was
# deleted, the service manager may still be removing the old key; that refusal is retried.
set_eeprom_value() {
    wait_until 5 wine_run 60 reg add "$VYMCNF_PARAMETERS" /v EepromFile /t REG_SZ /d "$1" /f \
        >/dev/null || fail "reg add of EepromFile \"$1\""
}

# A start that must fail: the error sc reports and the driver's own word for why.
start_must_fail() {
    local what=$1 windows_file=$2 expected_error=$3 message=$4
    set_eeprom_value "$windows_file"
    wait_until 20 _start_settled || fail "sc start with $what: the service manager stayed busy"
    [ -n "$SERVICE_START_ERROR" ] || fail "the driver started with $what"
    [ "$SERVICE_START_ERROR" = "$expected_error" ] ||
        fail "the start with $what failed with error $SERVICE_START_ERROR, not $expected_error"
    messages_since_mark | grep -aqF "$message" || fail "no message \"$message\" for $what"
    expect_absent "after the refused start with $what"
    say "ok - the driver refuses to start with $what: error $SERVICE_START_ERROR, \"$message\""
}

check_driver_service() {
    local folder="$DRIVE_C/vymcnf" spaced="$DRIVE_C/vym card"
    mkdir -p "$folder" "$spaced/cards"
    cp "$tree/emulator/vymcnf.sys" "$tree/emulator/tests/vymcnf_file_checks.exe" \
        emulator/install.cmd emulator/remove.cmd "$folder/"
    cp "$tree/emulator/vymcnf.sys" emulator/install.cmd emulator/remove.cmd "$spaced/"

    # 1. install.cmd without a file: the default EEPROM file beside the driver; then stopped and
    #    deleted by the sc steps themselves.
    make_image "$folder/vymcnf.bin"
    service_install "$folder" || fail "install.cmd without a file ($SERVICE_START_ERROR)"
    messages_since_mark |
        grep -aqF 'vymcnf: serving \DosDevices\VymCnf from \??\C:\vymcnf\vymcnf.bin' ||
        fail "the driver does not say it serves the default file beside it"
    say "ok - install.cmd started the driver on the default file beside it"
    exercise "$folder/vymcnf.bin" 'C:\vymcnf\vymcnf.bin' "$folder/expected.bin" 'C:\vymcnf\expected.bin'
    wine_run 60 sc stop vymcnf >/dev/null || fail "sc stop"
    expect_absent "after sc stop"
    wine_run 60 sc delete vymcnf >/dev/null || fail "sc delete"
    expect_removed "after sc delete"

    # 2. install.cmd and remove.cmd from a folder with a space, the EEPROM file named relative
    #    to the current folder: the script records its full path.
    make_image "$spaced/eeprom.bin"
    service_install "$spaced" eeprom.bin || fail "install.cmd eeprom.bin ($SERVICE_START_ERROR)"
    wine_run 60 reg query "$VYMCNF_PARAMETERS" /v EepromFile | grep -aqF 'C:\vym card\eeprom.bin' ||
        fail "install.cmd did not record the EEPROM file's full path"
    say "ok - install.cmd recorded the EEPROM file and started the driver"
    exercise "$spaced/eeprom.bin" 'C:\vym card\eeprom.bin' "$spaced/expected.bin" \
        'C:\vym card\expected.bin'
    service_remove "$spaced" || fail "remove.cmd"
    expect_absent "after remove.cmd"
    say "ok - remove.cmd removed the service"

    # 3. A relative EepromFile value lies in the driver's folder. The same service, stopped
    #    again, then serves the refused starts below.
    make_image "$spaced/cards/one.bin"
    wine_run 60 sc create vymcnf type= kernel start= demand binPath= 'C:\vym card\vymcnf.sys' \
        >/dev/null || fail "sc create"
    set_eeprom_value 'cards\one.bin'
    service_start || fail "sc start with a relative EEPROM file ($SERVICE_START_ERROR)"
    messages_since_mark | grep -aqF 'from \??\C:\vym card\cards\one.bin' ||
        fail "the relative EEPROM file is not looked for in the driver's folder"
    service_stop || fail "sc stop"
    expect_absent "after sc stop"
    say "ok - a relative EepromFile is served from the driver's folder"

    # 4. Starts that must fail.
    head -c 2047 /dev/urandom >"$folder/short.bin"
    head -c 2049 /dev/urandom >"$folder/long.bin"
    : >"$folder/empty.bin"
    start_must_fail "a missing file" 'C:\vymcnf\missing.bin' 2 \
        'cannot open the EEPROM file \??\C:\vymcnf\missing.bin (0xC0000034)'
    start_must_fail "a 2047-byte file" 'C:\vymcnf\short.bin' 1006 'holds 2047 bytes, not 2048'
    start_must_fail "a 2049-byte file" 'C:\vymcnf\long.bin' 1006 'holds 2049 bytes, not 2048'
    start_must_fail "an empty file" 'C:\vymcnf\empty.bin' 1006 'holds 0 bytes, not 2048'
    start_must_fail "a folder" 'C:\vymcnf' 5 '(0xC00000BA)'
    start_must_fail "an empty EepromFile value" '' 87 'Parameters\EepromFile is empty'
    wine_run 60 sc delete vymcnf >/dev/null || fail "sc delete"
    expect_removed "after sc delete"
    say "ok - the service of the refused starts is deleted again"
}
