# shellcheck shell=bash
# Closed standard streams: each program with standard input, output or error closed by its
# caller (a cron job, a launcher). A closed descriptor must never become the card's file, so the
# card ends either as it was or holding exactly what the program wrote; a program whose output
# went nowhere does not report success.

# The card a folder starts with, and the one a write of WSS I/O 0x544 leaves.
streams_images() {
    local folder=$1
    cp "$folder/card.bin" "$folder/before.bin"
    printf 'factory\nio 0 0 0x544 0x544 4 4\n' >"$folder/new.description"
    "$build/tests/vym-case-image" "$folder/new.description" "$folder/new.bin"
}

# streams_card_is FOLDER WHAT ALLOWED...: the card equals one of the named images.
streams_card_is() {
    local folder=$1 what=$2 image
    shift 2
    for image in "$@"; do
        cmp -s "$folder/card.bin" "$folder/$image" && return 0
    done
    fail "$what: the card is $(stat -c %s "$folder/card.bin") bytes and holds neither of: $*"
}

# streams_run FOLDER REDIRECTION PROGRAM ARGS...: the program in the folder's environment with
# one standard stream closed; its status goes to $streams_status. Its own text, where it can
# give it, goes to files of the folder.
streams_run() {
    local folder=$1 redirection=$2
    shift 2
    streams_status=0
    case $redirection in
        "<&-") in_folder_env "$folder" "$@" <&- >"$folder/out" 2>"$folder/err" || streams_status=$? ;;
        ">&-") in_folder_env "$folder" "$@" </dev/null >&- 2>"$folder/err" || streams_status=$? ;;
        "2>&-") in_folder_env "$folder" "$@" </dev/null >"$folder/out" 2>&- || streams_status=$? ;;
    esac
}

streams_vymcnf() {
    local redirection=$1 folder
    # info, text and JSON: nothing is written, whatever the stream.
    for command in "info" "info --json"; do
        folder=$(fresh_folder)
        streams_images "$folder"
        # shellcheck disable=SC2086
        streams_run "$folder" "$redirection" "$build/cli/vymcnf" $command
        streams_card_is "$folder" "vymcnf $command $redirection" before.bin
        if [ "$redirection" = ">&-" ] && [ "$streams_status" -eq 0 ]; then
            fail "vymcnf $command >&-: exit status 0 for a report nobody could read"
        fi
    done
    # A write: the card holds the old image or exactly the new one, never the program's text.
    folder=$(fresh_folder)
    streams_images "$folder"
    streams_run "$folder" "$redirection" "$build/cli/vymcnf" write "$folder/new.bin"
    streams_card_is "$folder" "vymcnf write $redirection" before.bin new.bin
    if [ "$redirection" = ">&-" ] && [ "$streams_status" -eq 0 ]; then
        fail "vymcnf write >&-: exit status 0, but the backup's name was never given"
    fi
    # A write refused once the card is open (no backup can be saved: the folder's place is a
    # file) says so on standard error, never on the card.
    folder=$(fresh_folder)
    streams_images "$folder"
    : >"$folder/blocker"
    streams_run "$folder" "$redirection" env VYMCNF_BACKUPS="$folder/blocker/backups" \
        "$build/cli/vymcnf" write "$folder/new.bin"
    streams_card_is "$folder" "refused vymcnf write $redirection" before.bin
    [ "$streams_status" -ne 0 ] || fail "vymcnf write without a backup $redirection: status 0"
}

streams_runner() {
    local redirection=$1 folder
    # The script on standard input: with that closed the script is empty, never the card.
    folder=$(fresh_folder)
    streams_images "$folder"
    streams_run "$folder" "$redirection" "$build/script/vymsetup-script"
    streams_card_is "$folder" "vymsetup-script (script from standard input) $redirection" \
        before.bin
    if [ "$redirection" = "<&-" ] &&
        [ "$(cat "$folder/out")" != '{"event":"end","result":"Cancel"}' ]; then
        fail "vymsetup-script <&-: not an empty script: $(head -c 300 "$folder/out")"
    fi
    # A script of show alone writes nothing.
    folder=$(fresh_folder)
    streams_images "$folder"
    printf 'pace off\nshow\n' >"$folder/show.script"
    streams_run "$folder" "$redirection" "$build/script/vymsetup-script" "$folder/show.script"
    streams_card_is "$folder" "vymsetup-script show $redirection" before.bin
    if [ "$redirection" = ">&-" ] && [ "$streams_status" -eq 0 ]; then
        fail "vymsetup-script show >&-: exit status 0 for events nobody could read"
    fi
    # A write: the old card or exactly the new one.
    folder=$(fresh_folder)
    streams_images "$folder"
    printf 'pace off\npick 1003 544\nanswer Yes\nclick OK\n' >"$folder/write.script"
    streams_run "$folder" "$redirection" "$build/script/vymsetup-script" "$folder/write.script"
    streams_card_is "$folder" "vymsetup-script write $redirection" before.bin new.bin
}

# vymsetup needs its terminal on standard input and output: with either closed it refuses
# before it opens the card. With standard error closed it runs in a tmux pane, WSS I/O is set to
# 0x544 and F12 writes the card: it then holds what the runner's Button1 writes for that pick.
streams_terminal() {
    local folder
    for redirection in "<&-" ">&-"; do
        folder=$(fresh_folder)
        streams_images "$folder"
        streams_run "$folder" "$redirection" "$build/terminal/vymsetup"
        streams_card_is "$folder" "vymsetup $redirection" before.bin
        [ "$streams_status" -ne 0 ] || fail "vymsetup $redirection: status 0 without a terminal"
    done
    command -v tmux >/dev/null || fail "tmux is not installed"
    folder=$(fresh_folder)
    streams_images "$folder"
    cp "$folder/card.bin" "$folder/written.bin"
    printf 'pace off\npick 1003 544\nclick Button1\n' >"$folder/f12.script"
    VYMCNF_EEPROM="$folder/written.bin" VYMCNF_BACKUPS="$folder/home/runner-backups" \
        "$build/script/vymsetup-script" "$folder/f12.script" >/dev/null
    local socket="vym-safety-$$"
    cat >"$folder/run.sh" <<RUN
$(declare -f in_folder_env)
in_folder_env "$folder" env TERM=xterm-256color LANG=C.UTF-8 "$build/terminal/vymsetup" 2>&-
echo \$? >"$folder/exit"
RUN
    tmux -L "$socket" -f /dev/null new-session -d -s vym -x 80 -y 24 "bash $folder/run.sh"
    pane() { tmux -L "$socket" capture-pane -p -t vym 2>/dev/null; }
    wait_until 10 eval 'pane | grep -q "F1 Help"' || fail "vymsetup 2>&- did not show its dialog"
    # WSS I/O to 0x544 by keyboard from the start's focus on OK, then the hidden write.
    tmux -L "$socket" send-keys -t vym Tab Tab Space Down Enter
    sleep 0.5
    tmux -L "$socket" send-keys -t vym F12
    sleep 0.5
    wait_until 20 eval '! pane | grep -q "Write EEPROM Data"' ||
        fail "vymsetup 2>&-: the write did not end"
    tmux -L "$socket" send-keys -t vym Escape
    wait_until 30 test -f "$folder/exit" || fail "vymsetup 2>&- did not end"
    tmux -L "$socket" kill-server 2>/dev/null || true
    cmp -s "$folder/written.bin" "$folder/before.bin" && fail "the pick of WSS I/O 544 changes nothing"
    streams_card_is "$folder" "vymsetup 2>&- after F12" written.bin
}

for redirection in "<&-" ">&-" "2>&-"; do
    streams_vymcnf "$redirection"
    streams_runner "$redirection"
done
streams_terminal
say "ok - each program with each standard stream closed leaves the card as it was or as written"
