# shellcheck shell=bash
# Our start-up and runtime pieces at work, and a build's programs without the card's driver under
# a given Windows version, sourced by a Wine stage that has a session (lib/wine.sh) and sets out.
#   check_startup_probes BITS TREE   the console and GUI start-up probes of that build (BITS
#                                    names it: 64-bit, 32-bit)
#   check_no_driver_on VERSION TREE  Wine set to VERSION (win98, winxp): the runner reports the
#                                    failed open and ends, vymcnf.exe says it could not open the
#                                    card and fails, vymsetup.exe shows one box and ends

check_startup_probes() {
    local bits=$1 tree=$2 folder="$WINE_WORK/startup-probes" status=0
    mkdir -p "$folder"
    (cd "$folder" && timeout 120 "$WINELOADER" "$tree/win32/vymstartup-probe.exe" a "b c" \
        </dev/null >"$out/probe-$bits.txt" 2>>"$WINE_MESSAGES") || status=$?
    tr -d '\r' <"$out/probe-$bits.txt" >"$out/probe-$bits.seen"
    printf 'constructed 1\nargument 1 [a]\nargument 2 [b c]\nnew 7\nsnprintf [trunc] -1\natexit ran\n' \
        >"$out/probe.expected"
    if [ "$status" -ne 3 ] || ! cmp -s "$out/probe.expected" "$out/probe-$bits.seen"; then
        diff "$out/probe.expected" "$out/probe-$bits.seen" >&2 || true
        fail "the console start-up of $bits (status $status, 3 expected) saw other things"
    fi
    status=0
    rm -f "$folder/startup-probe.txt"
    (cd "$folder" && wine_run 120 "$tree/win32/vymstartup-probe-gui.exe" x "y z") || status=$?
    tr -d '\r' <"$folder/startup-probe.txt" >"$out/probe-gui-$bits.seen" 2>/dev/null || true
    if [ "$status" -ne 4 ] || ! grep -qx 'command line \[x "y z"\]' "$out/probe-gui-$bits.seen" ||
        ! grep -qx 'constructed 1' "$out/probe-gui-$bits.seen" ||
        ! grep -qx 'instance 1' "$out/probe-gui-$bits.seen"; then
        cat "$out/probe-gui-$bits.seen" >&2
        fail "the GUI start-up of $bits (status $status, 4 expected) saw other things"
    fi
    say "ok - start-up of $bits: arguments, constructors, new, snprintf, exit status and atexit"
}

check_no_driver_on() {
    local version=$1 tree=$2 program box
    wine_run 60 winecfg -v "$version" >/dev/null || fail "winecfg -v $version"
    # Without a card the runner ends with status 1: the events are what counts here.
    printf 'show\n' | timeout 120 "$WINELOADER" "$tree/script/vymsetup-script.exe" \
        2>>"$WINE_MESSAGES" | tr -d '\r' >"$out/no-driver-$version.jsonl" || true
    jq -e -s 'any(.[]; .event == "messagebox" and .type == 64) and
              last == {"event": "end", "result": "quit"}' "$out/no-driver-$version.jsonl" \
        >/dev/null || { cat "$out/no-driver-$version.jsonl" >&2; fail "the runner as $version without a driver"; }
    # It fails (status 1): what it says is what counts.
    timeout 120 "$WINELOADER" "$tree/cli/vymcnf.exe" info </dev/null 2>&1 >/dev/null |
        tr -d '\r' >"$out/no-driver-vymcnf-$version.txt" || true
    grep -q "^vymcnf: couldn't open the card" "$out/no-driver-vymcnf-$version.txt" ||
        { cat "$out/no-driver-vymcnf-$version.txt" >&2; fail "vymcnf.exe as $version without a driver"; }
    wine_start "$tree/win32/vymsetup.exe"
    program=$WINE_PID
    box=$(window_named "VYM Card Setup" 30) || fail "vymsetup.exe as $version showed no box"
    xdotool windowfocus --sync "$box" key Return
    wait_for_exit "$program" 30 || fail "vymsetup.exe as $version did not end after its box ($?)"
    say "ok - $(basename "$tree") as $version: the runner's events, vymcnf.exe's failure and" \
        "vymsetup.exe's one box without a driver"
}
