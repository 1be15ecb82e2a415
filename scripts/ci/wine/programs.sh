# shellcheck shell=bash
# The Windows programs under Wine without the card's driver, sourced by a Wine stage that has a
# session and a display (lib/wine.sh) and sets tree (the cross build), native (the native
# build) and out (where logs and the screenshot go).

# The probe's report (vymprobe.exe looks at the programs' windows from outside), with Unix
# line ends.
probe() {
    local status=0
    wine_run 60 "$tree/win32/testing/vymprobe.exe" "$@" >"$WINE_WORK/probe.txt" || status=$?
    tr -d '\r' <"$WINE_WORK/probe.txt"
    return "$status"
}

# The setup dialog's combo box ID shows TEXT, its list closed (or open with "dropped").
combo_shows() {
    [ "$(probe combo "$1")" = "text=$2 dropped=${3:-0}" ]
}

# A picture of the window once two looks at the screen agree: it is drawn.
_screen_settled() {
    xwd -root -silent -display "$DISPLAY" >"$WINE_WORK/screen.xwd"
    if [ -f "$WINE_WORK/screen.last" ] && cmp -s "$WINE_WORK/screen.last" "$WINE_WORK/screen.xwd"; then
        return 0
    fi
    mv "$WINE_WORK/screen.xwd" "$WINE_WORK/screen.last"
    return 1
}
screenshot() {
    local window=$1 picture=$2 WINDOW X Y WIDTH HEIGHT SCREEN
    rm -f "$WINE_WORK/screen.last"
    wait_until 10 _screen_settled || fail "the screen does not settle for a screenshot"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    convert xwd:"$WINE_WORK/screen.xwd" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$picture"
    say "ok - screenshot: $picture"
}

# Answers the question before writing with Yes, and waits for the program to end once written.
answer_yes_and_wait() {
    local program=$1 question
    question=$(window_named "Write EEPROM") || fail "no question before writing"
    xdotool windowfocus --sync "$question"
    xdotool key Return
    wait_for_exit "$program" 120 || fail "the program did not end after writing (status $?)"
}

# The native runner's write for the same pick, on a copy of the card the program started on.
native_write() {
    local card=$1 written=$2 control=$3 entry=$4
    cp "$card" "$written"
    printf 'pace off\npick %s %s\nanswer Yes\nclick OK\n' "$control" "$entry" |
        VYMCNF_EEPROM="$written" VYMCNF_BACKUPS="$WINE_WORK/native-backups" \
        timeout 60 "$native/script/vymsetup-script" \
            >"$WINE_WORK/native-write.jsonl"
    jq -e -s 'map(select(.event == "progress")) | length > 0' "$WINE_WORK/native-write.jsonl" \
        >/dev/null || fail "the native runner wrote nothing for pick $control $entry"
    cmp -s "$card" "$written" && fail "pick $control $entry changes nothing on the card"
    return 0
}

check_runner_version() {
    local version
    version=$(wine_run 60 "$tree/script/vymsetup-script.exe" --version | tr -d '\r')
    case "$version" in
        "vymsetup-script "*) say "ok - vymsetup-script.exe --version: $version" ;;
        *) fail "vymsetup-script.exe --version printed '$version'" ;;
    esac
}

# Each test program as a Windows executable, run from the cross tree.
check_unit_tests() {
    local test log started
    for test in "$@"; do
        log="$out/$(basename "$test").log"
        started=$(now)
        if ! (cd "$tree" && timeout 900 "$WINELOADER" "$test" --gtest_brief=1 </dev/null \
            >"$log" 2>&1); then
            tr -d '\r' <"$log"
            fail "$test failed under Wine"
        fi
        say "ok - $test: $(tr -d '\r' <"$log" | tail -n 1) in $(since "$started")s"
    done
}

# With no configuration driver, vymsetup.exe shows exactly one information box with the
# system's text for the failed open and ends when it is closed; the runner reports the same.
check_no_driver() {
    local program caption box expected
    wine_start "$tree/win32/vymsetup.exe"
    program=$WINE_PID
    probe open-failure-box 30000 >"$out/open-failure.txt" ||
        { cat "$out/open-failure.txt"; fail "no single box with the system's text"; }
    caption=$(sed -n 's/^caption=//p' "$out/open-failure.txt")
    box=$(window_named "$caption") || fail "the box's window is not found"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_for_exit "$program" 30 || fail "vymsetup.exe did not end after the box was closed ($?)"
    [ "$(probe count-boxes)" = 0 ] || fail "a window is still open after the program ended"
    say "ok - no driver: one box \"$caption\", closed, and the program ended"

    # The probe writes line ends as \r and \n.
    expected=$(sed -n 's/.*expected="\([^"]*\)".*/\1/p' "$out/open-failure.txt")
    # Without a card the runner ends with status 1: a batch learns so without reading events.
    local status=0
    printf 'pace off\nshow\n' | timeout 120 "$WINELOADER" "$tree/script/vymsetup-script.exe" \
        2>>"$WINE_MESSAGES" | tr -d '\r' >"$out/script-no-driver.jsonl" || status=$?
    [ "$status" -eq 1 ] || fail "the runner without a driver ended with status $status, not 1"
    jq -e -s --arg text "$expected" '
        (map(select(.event == "messagebox" and .type == 64 and
                    (.text | gsub("\r"; "\\r") | gsub("\n"; "\\n")) == $text)) | length == 1)
        and last == {"event": "end", "result": "quit"}' "$out/script-no-driver.jsonl" >/dev/null ||
        { cat "$out/script-no-driver.jsonl"; fail "the runner does not report the failed open"; }
    say "ok - no driver: the runner shows the same text and quits"
}
