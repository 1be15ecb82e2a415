#!/usr/bin/env bash
# The emulated card driver under Wine: cross-builds vymcnf.sys and its console test program,
# then, in a fresh headless prefix, installs, starts, exercises, stops and removes the driver,
# both by the sc steps themselves and through emulator/install.cmd and emulator/remove.cmd.
# Starts that must fail (missing or wrong-sized EEPROM file) are checked as well.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target vymcnf vymcnf_contract_test
built=build/mingw/emulator

# Wine would load a driver that imports user-mode libraries; Windows would not. So check the
# image itself: a native-subsystem image with relocations that imports from the kernel only.
headers=$(x86_64-w64-mingw32-objdump -p "$built/vymcnf.sys")
grep -q 'Subsystem.*(NT native)' <<<"$headers" ||
    { echo "vymcnf.sys is not a native image" >&2; exit 1; }
grep -q 'Base Relocation Directory \[\.reloc\]' <<<"$headers" ||
    { echo "vymcnf.sys has no relocations" >&2; exit 1; }
imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print $3}' | sort -u | tr '\n' ' ')
for dll in $imports; do
    case "$dll" in
        ntoskrnl.exe | hal.dll) ;;
        *) echo "vymcnf.sys imports from $dll; a kernel driver may import from the kernel only" >&2
           exit 1 ;;
    esac
done
echo "wine driver: ok - vymcnf.sys is a native image importing from ${imports}only"

work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
# Quiet, except for the driver's own messages (DbgPrintEx), which Wine prints on this channel.
export WINEDEBUG=-all,warn+debugstr
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installers in a test prefix
unset DISPLAY WAYLAND_DISPLAY
# Every Wine command's diagnostics go here; so do the driver's, since winedevice.exe inherits
# the stream of whichever command started the service manager.
messages="$work/wine-messages.log"

finish() {
    local status=$?
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    if [ "$status" -ne 0 ] && [ -f "$messages" ]; then
        echo "--- driver messages"
        grep -a "vymcnf:" "$messages" || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT

fail() {
    echo "wine driver: FAIL - $*" >&2
    exit 1
}
pass() { echo "wine driver: ok - $*"; }

# Every Wine command is bounded and reads no standard input.
w() { timeout 120 wine "$@" </dev/null 2>>"$messages"; }

timeout 300 wine wineboot -i </dev/null >>"$messages" 2>&1 || fail "wineboot -i did not set up the prefix"
# The prefix's setup goes on in the background and holds the service database meanwhile; it is
# done when the server has nothing left to run.
timeout 120 wineserver -w || fail "the prefix's setup did not finish"
# From here on the server, and with it the service manager and the driver, must outlive each
# single command.
timeout 30 wineserver -p

drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/vymcnf" "$drive_c/vym card"
cp "$built/vymcnf.sys" "$built/tests/vymcnf_contract_test.exe" emulator/install.cmd \
    emulator/remove.cmd "$drive_c/vymcnf/"
cp "$built/vymcnf.sys" emulator/install.cmd emulator/remove.cmd "$drive_c/vym card/"
test_exe='C:\vymcnf\vymcnf_contract_test.exe'
parameters='HKLM\SYSTEM\CurrentControlSet\Services\vymcnf\Parameters'

# Runs sc start once. On failure start_error holds the error that sc reports: Wine's sc names it
# on its error channel, the driver's status turned into a Windows error.
start_error=""
sc_start() {
    local before
    before=$(wc -l <"$messages")
    start_error=""
    if WINEDEBUG=-all,err+sc,warn+debugstr timeout 120 wine sc start vymcnf </dev/null \
        >/dev/null 2>>"$messages"; then
        return 0
    fi
    start_error=$(tail -n +"$((before + 1))" "$messages" | grep -ao 'failed to start service [0-9]*' |
        awk '{print $5}' | tail -n 1)
    start_error=${start_error:-unknown}
    return 1
}

# The service manager may still be busy with the last stop or delete: it then refuses a start
# as timed out (1053), locked (1055), not ready (1061) or marked for deletion (1072).
start_refused_for_now() {
    case "$start_error" in
        1053 | 1055 | 1061 | 1072) return 0 ;;
        *) return 1 ;;
    esac
}

# Starts the driver, which must come up; refusals for now are retried a bounded number of times.
start_service() {
    local tries=0
    until sc_start; do
        start_refused_for_now || fail "sc start $1 failed with error $start_error"
        tries=$((tries + 1))
        [ "$tries" -lt 10 ] || fail "sc start $1: the service manager stayed busy ($start_error)"
        sleep 1
    done
}

# A card image of random bytes whose last byte is 0, so the test's write of 0xAB there shows.
make_image() {
    head -c 2048 /dev/urandom >"$1"
    printf '\000' | dd of="$1" bs=1 seek=2047 conv=notrunc status=none
}

# Runs the test program against a started driver and checks the file it leaves behind:
# the bytes the program expects, exactly 300 of them changed, 0xAB at 2047.
exercise() {
    local file=$1 windows_file=$2 expected=$3 windows_expected=$4
    cp "$file" "$work/original.bin"
    w "$test_exe" "$windows_file" "$windows_expected" || fail "the test program reported failures"
    cmp "$file" "$expected" || fail "the EEPROM file is not the image the writes should leave"
    local changed
    changed=$({ cmp -l "$work/original.bin" "$file" || true; } | wc -l)
    [ "$changed" -eq 300 ] || fail "$changed bytes of the EEPROM file changed, not 300"
    [ "$(od -An -tx1 -j2047 -N1 "$file" | tr -d ' ')" = ab ] || fail "byte 2047 is not 0xab"
    pass "the EEPROM file holds every acknowledged write and nothing else"
}

# After a stop the driver unloads; give it a bounded moment.
expect_absent() {
    local tries=0
    until w "$test_exe" --absent >/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -ge 20 ]; then
            w sc query vymcnf || true
            fail "\\\\.\\VymCnf still exists $1"
        fi
        sleep 0.5
    done
    pass "\\\\.\\VymCnf is gone $1"
}

# A deleted service goes once nothing holds it any more, and its registry key after it; the
# next case must meet neither.
expect_deleted() {
    local tries=0
    while w sc query vymcnf >/dev/null 2>&1 ||
        w reg query 'HKLM\SYSTEM\CurrentControlSet\Services\vymcnf' >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -lt 20 ] || fail "the vymcnf service is still installed $1"
        sleep 0.5
    done
}

# 1. The sc steps by hand, with the default EEPROM file beside the driver.
make_image "$drive_c/vymcnf/vymcnf.bin"
w sc create vymcnf type= kernel start= demand binPath= 'C:\vymcnf\vymcnf.sys' >/dev/null ||
    fail "sc create"
start_service "with the default EEPROM file"
grep -aq 'vymcnf: serving \\DosDevices\\VymCnf from \\??\\C:\\vymcnf\\vymcnf.bin' "$messages" ||
    fail "the driver does not say it serves the default file beside it"
pass "started on the default file beside the driver"
exercise "$drive_c/vymcnf/vymcnf.bin" 'C:\vymcnf\vymcnf.bin' \
    "$drive_c/vymcnf/expected.bin" 'C:\vymcnf\expected.bin'
w sc stop vymcnf >/dev/null || fail "sc stop"
expect_absent "after sc stop"
w sc delete vymcnf >/dev/null || fail "sc delete"
expect_deleted "after sc delete"

# 2. install.cmd and remove.cmd, run from a folder with a space, with the EEPROM file named
#    relative to the current folder: the script records its full path.
make_image "$drive_c/vym card/eeprom.bin"
(cd "$drive_c/vym card" && w cmd /c install.cmd eeprom.bin) >"$work/install.log" ||
    { cat "$work/install.log"; fail "install.cmd"; }
w reg query "$parameters" /v EepromFile | grep -aqF 'C:\vym card\eeprom.bin' ||
    fail "install.cmd did not record the EEPROM file's full path"
pass "install.cmd recorded the EEPROM file and started the driver"
exercise "$drive_c/vym card/eeprom.bin" 'C:\vym card\eeprom.bin' \
    "$drive_c/vym card/expected.bin" 'C:\vym card\expected.bin'
(cd "$drive_c/vym card" && w cmd /c remove.cmd) >"$work/remove.log" ||
    { cat "$work/remove.log"; fail "remove.cmd"; }
expect_absent "after remove.cmd"
expect_deleted "after remove.cmd"
pass "remove.cmd removed the service"

# Names the EEPROM file in the service's Parameters. Right after a service of the same name was
# deleted, the service manager may still be removing the old key; such a refusal is retried.
set_eeprom_value() {
    local tries=0
    until w reg add "$parameters" /v EepromFile /t REG_SZ /d "$1" /f >/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -lt 5 ] || fail "reg add of EepromFile \"$1\""
        echo "wine driver: note - reg add refused, retrying"
        sleep 1
    done
}

# 3. A relative EepromFile value lies in the driver's folder. The same service, stopped again,
#    then serves the starts of part 4.
mkdir -p "$drive_c/vym card/cards"
make_image "$drive_c/vym card/cards/one.bin"
w sc create vymcnf type= kernel start= demand binPath= 'C:\vym card\vymcnf.sys' >/dev/null ||
    fail "sc create"
set_eeprom_value 'cards\one.bin'
start_service "with a relative EEPROM file"
grep -aqF 'from \??\C:\vym card\cards\one.bin' "$messages" ||
    fail "the relative EEPROM file is not looked for in the driver's folder"
w sc stop vymcnf >/dev/null || fail "sc stop"
expect_absent "after sc stop"
pass "a relative EepromFile is served from the driver's folder"

# 4. Starts that must fail, each with the error sc reports and the driver's own word for why.
start_must_fail() {
    local what=$1 windows_file=$2 expected_error=$3 message=$4 tries=0
    set_eeprom_value "$windows_file"
    while true; do
        if sc_start; then
            fail "the driver started with $what"
        fi
        start_refused_for_now || break
        tries=$((tries + 1))
        [ "$tries" -lt 10 ] || fail "sc start with $what: the service manager stayed busy"
        sleep 1
    done
    [ "$start_error" = "$expected_error" ] ||
        fail "the start with $what failed with error $start_error, not $expected_error"
    grep -aqF "$message" "$messages" || fail "no message \"$message\" for $what"
    expect_absent "after the refused start with $what"
    pass "the driver refuses to start with $what: error $start_error, \"$message\""
}
head -c 2047 /dev/urandom >"$drive_c/vymcnf/short.bin"
head -c 2049 /dev/urandom >"$drive_c/vymcnf/long.bin"
: >"$drive_c/vymcnf/empty.bin"
start_must_fail "a missing file" 'C:\vymcnf\missing.bin' 2 \
    'cannot open the EEPROM file \??\C:\vymcnf\missing.bin (0xC0000034)'
start_must_fail "a 2047-byte file" 'C:\vymcnf\short.bin' 1006 'holds 2047 bytes, not 2048'
start_must_fail "a 2049-byte file" 'C:\vymcnf\long.bin' 1006 'holds 2049 bytes, not 2048'
start_must_fail "an empty file" 'C:\vymcnf\empty.bin' 1006 'holds 0 bytes, not 2048'
start_must_fail "a folder" 'C:\vymcnf' 5 '(0xC00000BA)'
start_must_fail "an empty EepromFile value" '' 87 'Parameters\EepromFile is empty'
w sc delete vymcnf >/dev/null || fail "sc delete"
expect_deleted "after sc delete"
pass "the service of the refused starts is deleted again"

echo "wine driver: all checks passed"
