# shellcheck shell=bash source-path=SCRIPTDIR
# Shared by the terminal tests: each runs vymsetup in a pane of a private tmux server of its
# own (fixed size, bounded waits), reads the screen with capture-pane and sends keys and mouse
# events with send-keys. Sourced with the path of vymsetup and, when built, of vymsetup-script.
# They fail and wait as the test stages do (scripts/ci/lib/stage.sh), whether ctest runs them
# alone or a stage runs ctest.
set -euo pipefail

VYMSETUP=$(realpath "${1:?usage: test.sh VYMSETUP [VYMSETUP_SCRIPT]}")
RUNNER=${2:+$(realpath "$2")}
TEST_NAME=$(basename "$0" .sh)
STAGE_NAME="terminal ${TEST_NAME}"
# shellcheck source=../../scripts/ci/lib/stage.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/ci/lib/stage.sh"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vymterm-${TEST_NAME}.XXXXXX")
# Every start gets a server of its own: a server just killed may still hold its socket.
SOCKET_BASE="vymterm-${TEST_NAME}-$$"
SOCKET="$SOCKET_BASE-0"
STARTS=0
# The server's socket lives in a folder of our own (short, as socket paths must be): nothing
# is shared with the user's tmux, and removing the folder leaves nothing behind.
TMUX_TMPDIR=$(mktemp -d /tmp/vymtmux.XXXXXX)
export TMUX_TMPDIR
unset TMUX VYMCNF_EEPROM VYMCNF_DRIVE_C VYMCNF_BACKUPS NO_COLOR
# The per-user card of these runs, and the backups written before each write, lie in the
# test's folder.
export XDG_DATA_HOME="$WORK/home"
export XDG_STATE_HOME="$WORK/state"
CARD="$XDG_DATA_HOME/vymcnf/eeprom.bin"
SKIP=77

tm() { tmux -L "$SOCKET" -f /dev/null "$@"; }

# A test that fails shows the screen as it was; then no server, socket or folder is left.
cleanup() {
    local status=$? socket
    if [ "$status" -ne 0 ] && [ "$status" -ne "$SKIP" ]; then
        echo "--- screen:" >&2
        screen >&2 2>/dev/null || true
    fi
    for socket in "$TMUX_TMPDIR"/tmux-*/"$SOCKET_BASE"-*; do
        if [ -S "$socket" ]; then
            tmux -S "$socket" kill-server >/dev/null 2>&1 || true
        fi
    done
    rm -rf "$WORK" "$TMUX_TMPDIR"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

screen() { tm capture-pane -p -t vym; }
screen_with_attributes() { tm capture-pane -p -e -t vym; }
shows() { screen | grep -qF -- "$1"; }

# start_vymsetup [NAME=VALUE ...]: vymsetup in an 80 x 24 pane with that environment
# (TERM=xterm-256color and LANG=C.UTF-8 unless given). Its process ID goes to $WORK/pid; when
# it ends, its exit status goes to $WORK/exit and the pane stays for the screen to be looked at.
# The words of VYMSETUP_ARGS (none holding a blank) are its arguments.
start_vymsetup() {
    STARTS=$((STARTS + 1))
    SOCKET="$SOCKET_BASE-$STARTS"
    rm -f "$WORK/exit" "$WORK/pid"
    cat >"$WORK/run.sh" <<RUN
cd "$WORK"
sh -c 'echo \$\$ >"$WORK/pid"; exec env TERM=xterm-256color LANG=C.UTF-8 $* "$VYMSETUP" ${VYMSETUP_ARGS:-}'
echo \$? >"$WORK/exit.tmp"; mv "$WORK/exit.tmp" "$WORK/exit"
echo "[vymsetup ended]"
exec sleep 600
RUN
    tm new-session -d -s vym -x 80 -y 24 "sh $WORK/run.sh"
}

# Once the program has ended and its last picture is there, nothing more will come: a wait for
# the screen gives up after a few looks at it.
LOOKS_AFTER_THE_END=0
_shows_or_ended() {
    shows "$1" && return 0
    [ -f "$WORK/exit" ] && LOOKS_AFTER_THE_END=$((LOOKS_AFTER_THE_END + 1))
    ((LOOKS_AFTER_THE_END > 5))
}

# wait_for TEXT [SECONDS]: until the screen shows TEXT.
wait_for() {
    LOOKS_AFTER_THE_END=0
    { wait_until "${2:-10}" _shows_or_ended "$1" && shows "$1"; } || fail "timed out waiting for: $1"
}

# wait_gone TEXT [SECONDS]: until the screen no longer shows TEXT.
_not_shown() { ! shows "$1"; }
wait_gone() {
    wait_until "${2:-10}" _not_shown "$1" || fail "still shown after waiting: $1"
}

# wait_exit [SECONDS]: until vymsetup has ended; prints its exit status.
wait_exit() {
    wait_until "${1:-10}" test -f "$WORK/exit" || fail "vymsetup did not end"
    cat "$WORK/exit"
}

# The screen is back as it was: the program's picture is gone, the shell's line is there.
expect_screen_restored() {
    wait_for "[vymsetup ended]"
    if screen | grep -qF "VYM Card Setup"; then
        fail "the dialog is still on the screen after the end"
    fi
}

keys() { tm send-keys -t vym "$@"; }

program_pid() { cat "$WORK/pid"; }

# start_dialog [NAME=VALUE ...]: vymsetup started and its dialog shown; the card as it was then
# is kept in $WORK/before.bin.
start_dialog() {
    start_vymsetup "$@"
    wait_for "F1 Help"
    cp "$CARD" "$WORK/before.bin"
}

# expect_clean_end [SECONDS]: vymsetup ends with status 0 and gives the screen back.
expect_clean_end() {
    local status
    status=$(wait_exit "${1:-10}")
    [ "$status" -eq 0 ] || fail "exit status $status"
    expect_screen_restored
}

# expect_end_with STATUS [SECONDS]: vymsetup ends with STATUS and gives the screen back.
expect_end_with() {
    local status
    status=$(wait_exit "${2:-10}")
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
    expect_screen_restored
}

expect_card_unchanged() {
    cmp -s "$CARD" "$WORK/before.bin" || fail "the card changed${1:+ ($1)}"
}

# leave_with_escape: Escape ends the program cleanly and writes nothing.
leave_with_escape() {
    keys Escape
    expect_clean_end
    expect_card_unchanged "after Escape"
}

# pick_wss_io_544: the first change most tests make, by keyboard from the start's focus on OK.
pick_wss_io_544() {
    keys Tab Tab Space Down Enter
    settle
    expect_field "WSS I/O" 544
}

# After keys, give the program a moment to draw.
settle() { sleep "${1:-0.3}"; }

# click ROW COL: mouse button 1 pressed and released on a cell (0-based), as an xterm reports
# it in its SGR mouse mode.
click() {
    local row=$(($1 + 1)) col=$(($2 + 1)) bytes
    bytes=$(printf '\033[<0;%d;%dM\033[<0;%d;%dm' "$col" "$row" "$col" "$row" | od -An -tx1)
    # shellcheck disable=SC2086
    tm send-keys -t vym -H $bytes
}

# wheel down|up ROW COL: one turn of the mouse wheel over a cell.
wheel() {
    local button=64 row=$(($2 + 1)) col=$(($3 + 1)) bytes
    [ "$1" = down ] && button=65
    bytes=$(printf '\033[<%d;%d;%dM' "$button" "$col" "$row" | od -An -tx1)
    # shellcheck disable=SC2086
    tm send-keys -t vym -H $bytes
}

# find_cell TEXT: "ROW COL" of the first place TEXT is shown (0-based), waiting for it a while.
CELL=""
_cell_found() {
    CELL=$(screen | awk -v text="$1" '{ i = index($0, text); if (i > 0) { print NR - 1, i - 1; exit } }')
    [ -n "$CELL" ]
}
find_cell() {
    wait_until 5 _cell_found "$1" || fail "not on the screen: $1"
    echo "$CELL"
}

# line_of TEXT: the screen line that shows TEXT.
line_of() { screen | grep -F -- "$1" | head -n 1; }

# field LABEL: what the field right of a label shows, e.g. "534" for "WSS I/O".
field() {
    line_of "$1 " | sed -n "s/.*$(printf '%s' "$1" | sed 's/[][\/.*^$]/\\&/g') *\[\([^]]*\)\].*/\1/p" |
        sed 's/ *v$//; s/ *$//'
}

# expect_field LABEL TEXT: the field shows TEXT, within a few seconds of the keys that make it.
SHOWN=""
_field_shows() {
    SHOWN=$(field "$1")
    [ "$SHOWN" = "$2" ]
}
expect_field() {
    wait_until 5 _field_shows "$1" "$2" || fail "$1 shows '$SHOWN', expected '$2'"
}

require_runner() {
    if [ -z "$RUNNER" ] || [ ! -x "$RUNNER" ]; then
        echo "SKIP (${TEST_NAME}): vymsetup-script is not built" >&2
        exit "$SKIP"
    fi
}

# runner_on CARD SCRIPT-LINES...: the unattended runner on a card, the script from the
# arguments, one line each; its events on standard output.
runner_on() {
    require_runner
    local card=$1
    shift
    printf '%s\n' "$@" | VYMCNF_EEPROM="$card" "$RUNNER"
}

# factory_card_copy FILE: a copy of the factory card made by the unattended runner (it creates the per-user card the
# same way vymsetup does).
factory_card_copy() {
    require_runner
    local home="$WORK/runner-home-$RANDOM"
    mkdir -p "$home"
    XDG_DATA_HOME="$home" "$RUNNER" </dev/null >/dev/null 2>&1 || true
    cp "$home/vymcnf/eeprom.bin" "$1"
}
