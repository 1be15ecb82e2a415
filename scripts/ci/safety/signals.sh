# shellcheck shell=bash
# SIGINT, SIGTERM and SIGHUP at a random byte of a paced write (20 ms a byte), with the output
# in a file as a cron job or a pipe has it. After each: the card holds the old image or the new
# one (for vymcnf, which stops between bytes, exactly the bytes it says it wrote), the program
# named its backup before the first byte, and that backup is the card as it was before.

# A program started in the background of a script begins with SIGINT ignored; each starts here as
# from a terminal, with every signal at its default, through env --default-signal.
signals_seed=${VYM_SAFETY_SEED:-$((($(now) / 1000) % 32768))}
RANDOM=$signals_seed
say "signals: random seed $signals_seed (VYM_SAFETY_SEED repeats it)"

# signals_start FOLDER PROGRAM ARGS...: the program in the background, in the folder's
# environment, its output in FOLDER/out and FOLDER/err; its own process ID (not that of the
# shell around it) goes to FOLDER/pid, the background job's to $signals_job.
signals_start() {
    local folder=$1
    shift
    rm -f "$folder/pid"
    in_folder_env "$folder" sh -c 'echo $$ >"$0.tmp" && mv "$0.tmp" "$0" && exec "$@"' \
        "$folder/pid" env --default-signal=INT,QUIT "$@" >"$folder/out" 2>"$folder/err" \
        </dev/null &
    signals_job=$!
    wait_until 10 test -s "$folder/pid" || fail "$1 did not start"
}

# signals_after_random FROM_MS TO_MS SIGNAL PIDFILE: waits a random time in the range, then sends
# the signal to the process; the time goes to $signals_delay.
signals_after_random() {
    local from=$1 to=$2 signal=$3
    signals_delay=$((from + RANDOM % (to - from)))
    sleep "$((signals_delay / 1000)).$(printf '%03d' $((signals_delay % 1000)))"
    kill "-$signal" "$(cat "$4")" 2>/dev/null || true
}

# signals_wait WHAT: the started program's exit status, once it has ended (within 60 s).
signals_wait() {
    local what=$1 status=0
    wait_until 60 eval "! kill -0 $signals_job 2>/dev/null" || fail "$what: the program did not end"
    wait "$signals_job" || status=$?
    signals_status=$status
}

# The runner: a write from OK, paced, the signal somewhere in its 248 bytes (about 5 s).
signals_runner_trial() {
    local signal=$1 folder delay status backup last
    folder=$(fresh_folder)
    cp "$folder/card.bin" "$folder/before.bin"
    printf 'pick 1003 544\nanswer Yes\nclick OK\n' >"$folder/write.script"
    # What the write leaves, from the same write unpaced on a copy.
    cp "$folder/card.bin" "$folder/new.bin"
    env VYMCNF_EEPROM="$folder/new.bin" VYMCNF_BACKUPS="$folder/home/copy-backups" \
        HOME="$folder/home" "$build/script/vymsetup-script" \
        <(printf 'pace off\n'; cat "$folder/write.script") >/dev/null
    signals_start "$folder" "$build/script/vymsetup-script" "$folder/write.script"
    signals_after_random 200 4800 "$signal" "$folder/pid"
    delay=$signals_delay
    signals_wait "vymsetup-script, SIG$signal after ${delay} ms"
    status=$signals_status
    mv "$folder/out" "$folder/events"
    local what="vymsetup-script, SIG$signal after ${delay} ms (status $status)"
    cmp -s "$folder/card.bin" "$folder/before.bin" || cmp -s "$folder/card.bin" "$folder/new.bin" ||
        fail "$what: the card holds neither the old image nor the new one"
    backup=$(sed -n 's/^{"event":"backup","path":"\(.*\)"}$/\1/p' "$folder/events")
    [ -n "$backup" ] || fail "$what: no backup event"
    cmp -s "$backup" "$folder/before.bin" || fail "$what: the backup $backup is not the card before"
    last=$(tail -n 1 "$folder/events")
    case $last in
        '{"event":"end",'*) ;;
        *) fail "$what: the events end with ${last:-nothing}, not the end event" ;;
    esac
    [ "$status" -ne 0 ] || fail "$what: exit status 0 after a signal"
    signals_trials=$((signals_trials + 1))
    signals_told+=" runner:SIG$signal@${delay}ms->$status"
}

# vymcnf: 60 bytes to write (about 1.2 s); it stops between two bytes and says how many went.
signals_vymcnf_trial() {
    local signal=$1 folder delay status backup written what
    folder=$(fresh_folder)
    cp "$folder/card.bin" "$folder/before.bin"
    cp "$folder/card.bin" "$folder/new.bin"
    head -c 60 /dev/zero | dd of="$folder/new.bin" bs=1 seek=300 conv=notrunc status=none
    signals_start "$folder" "$build/cli/vymcnf" write "$folder/new.bin"
    signals_after_random 50 1150 "$signal" "$folder/pid"
    delay=$signals_delay
    signals_wait "vymcnf write, SIG$signal after ${delay} ms"
    status=$signals_status
    what="vymcnf write, SIG$signal after ${delay} ms (status $status)"
    backup=$(sed -n 's/^Saved the card as it was to //p' "$folder/out")
    [ -n "$backup" ] || fail "$what: the backup was not named on standard output"
    cmp -s "$backup" "$folder/before.bin" || fail "$what: the backup $backup is not the card before"
    # What it says it wrote: all 60, none, or the first N of them.
    if grep -q "^Wrote 60 bytes to the card" "$folder/out"; then
        written=60
    elif grep -q "Nothing was written; the card is as it was" "$folder/err"; then
        written=0
    else
        written=$(sed -n 's/.*stopped\. Only \([0-9]*\) of the 60 bytes were written.*/\1/p' "$folder/err")
        [ -n "$written" ] || {
            fail "$what: it does not say what it wrote: $(cat "$folder/err")"
            return
        }
    fi
    cp "$folder/before.bin" "$folder/said.bin"
    head -c "$written" /dev/zero | dd of="$folder/said.bin" bs=1 seek=300 conv=notrunc status=none
    cmp -s "$folder/card.bin" "$folder/said.bin" ||
        fail "$what: the card does not hold the $written bytes it says it wrote"
    if [ "$written" -lt 60 ] && [ "$status" -eq 0 ]; then
        fail "$what: exit status 0 for a write it stopped"
    fi
    signals_trials=$((signals_trials + 1))
    signals_told+=" vymcnf:SIG$signal@${delay}ms->$written/60"
}

signals_trials=0
signals_told=""
for signal in INT TERM HUP; do
    signals_runner_trial "$signal"
    signals_runner_trial "$signal"
    for _ in 1 2 3 4 5; do
        signals_vymcnf_trial "$signal"
    done
done
say "trials (signal @ delay -> runner status, or bytes vymcnf wrote):$signals_told"
say "ok - $signals_trials signals in the middle of paced writes: old or new image, backup named"
