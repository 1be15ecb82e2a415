#!/usr/bin/env bash
# The dialog works the same on xterm-256color, linux and vt100 (and on a terminal without line
# drawing, where frames fall back to ASCII), under a UTF-8 and a C locale, with colours and
# without them (NO_COLOR or a terminal that has none): drawn whole, lists open and pick, F1
# shows the keys, Escape leaves with the screen restored.
source "$(dirname "$0")/lib.sh"

has_colour_codes() {
    screen_with_attributes | grep -qE $'\e\\[[0-9;]*(3[0-7]|4[0-7]|38;5|48;5)[;m]'
}

try_terminal() {
    local term=$1 lang=$2 no_colour=${3:-}
    local what="TERM=$term LANG=$lang${no_colour:+ NO_COLOR=1}"
    start_vymsetup "TERM=$term" "LANG=$lang" ${no_colour:+NO_COLOR=1}
    wait_for "F1 Help"
    for text in "VYM Card Setup" "Windows Sound System" "Dig. Control I/O" "Midi-2 IRQ" \
        "> OK <" "Cancel"; do
        screen | grep -qF -- "$text" || fail "$what: not shown: $text"
    done
    expect_field "WSS I/O" 534
    expect_field "Midi-2 IRQ" 11

    case "$term" in
    xterm-256color | linux)
        if [ -z "$no_colour" ]; then
            has_colour_codes || fail "$what: no colours"
        else
            has_colour_codes && fail "$what: colours although NO_COLOR is set"
        fi
        ;;
    vt100 | xterm-r5)
        has_colour_codes && fail "$what: colours on a terminal without them"
        ;;
    esac
    if [ "$term" = xterm-r5 ] && [ "$lang" = C ]; then
        screen | head -n 1 | grep -qE '^\+- VYM Card Setup -+\+$' ||
            fail "$what: the frame is not drawn in ASCII"
    fi

    # A pick through the list, then the key help.
    keys Tab Tab Space
    settle
    keys Down Enter
    settle
    expect_field "WSS I/O" 544
    keys F1
    wait_for "Keys"
    for text in "Alt-Down" "F11" "F12" "pick the entry"; do
        screen | grep -qF -- "$text" || fail "$what: the key help does not list $text"
    done
    keys Enter
    wait_gone "pick the entry"

    keys Escape
    expect_clean_end
    tm kill-server
}

for term in xterm-256color linux vt100 xterm-r5; do
    for lang in C.UTF-8 C; do
        try_terminal "$term" "$lang"
    done
done
try_terminal xterm-256color C.UTF-8 no-colour
try_terminal linux C no-colour

# A terminal type that is unknown or cannot place the cursor is refused with a message, and
# nothing of a screen is set up.
for term in no-such-terminal dumb; do
    start_vymsetup "TERM=$term"
    status=$(wait_exit)
    [ "$status" -eq 1 ] || fail "TERM=$term: exit status $status"
    screen | grep -qF "vymsetup: " || fail "TERM=$term: no message"
    screen | grep -qF "F1 Help" && fail "TERM=$term: a dialog was drawn"
    tm kill-server
done
echo "PASS (${TEST_NAME})"
