# shellcheck shell=bash
# shellcheck disable=SC2154 # build, as the stage sets it
# Files that are not files: a FIFO given as an image to vymcnf info, write and verify, a FIFO
# as the card file, and a FIFO named like a backup in the backup folder. Every program must
# refuse or pass over it at once (a FIFO's open waits for a writer, for good), with a message
# that names the file, and leave the card alone.

not_files_limit=10 # seconds; a program that waits longer is hanging

# not_files_refused NAME FOLDER COMMAND...: the command must end by itself, unsuccessfully,
# saying the file is not a regular file, and the card must be unchanged.
not_files_refused() {
    local name=$1 folder=$2 status=0
    shift 2
    cp "$folder/card.bin" "$folder/card.before"
    timeout -s KILL "$not_files_limit" env "$@" >"$folder/out.txt" 2>"$folder/err.txt" </dev/null ||
        status=$?
    [ "$status" -ne 137 ] || fail "$name: still waiting after $not_files_limit s"
    [ "$status" -ne 0 ] || fail "$name: a FIFO was taken for an image"
    grep -q "not a regular file" "$folder/err.txt" ||
        fail "$name: no clear message: $(cat "$folder/err.txt")"
    cmp -s "$folder/card.bin" "$folder/card.before" || fail "$name: the card changed"
    say "$name: refused at once"
}

not_files_folder=$(fresh_folder)
mkfifo "$not_files_folder/image.bin"
for not_files_command in info write verify; do
    not_files_refused "vymcnf $not_files_command FIFO" "$not_files_folder" \
        VYMCNF_EEPROM="$not_files_folder/card.bin" VYMCNF_BACKUPS="$not_files_folder/backups" \
        "$build/cli/vymcnf" "$not_files_command" "$not_files_folder/image.bin"
done
compgen -G "$not_files_folder/backups/eeprom-*.bin" >/dev/null &&
    fail "a refused write saved a backup"

# The card file itself a FIFO: every program fails to open the card, at once.
not_files_folder=$(fresh_folder)
rm "$not_files_folder/card.bin"
mkfifo "$not_files_folder/card.bin"
not_files_status=0
timeout -s KILL "$not_files_limit" env VYMCNF_EEPROM="$not_files_folder/card.bin" \
    VYMCNF_BACKUPS="$not_files_folder/backups" "$build/cli/vymcnf" info \
    >/dev/null 2>"$not_files_folder/err.txt" </dev/null || not_files_status=$?
[ "$not_files_status" -ne 137 ] || fail "vymcnf info on a FIFO card: still waiting"
[ "$not_files_status" -ne 0 ] || fail "vymcnf info took a FIFO for the card"
not_files_status=0
printf 'show\n' >"$not_files_folder/show.script"
timeout -s KILL "$not_files_limit" env VYMCNF_EEPROM="$not_files_folder/card.bin" \
    VYMCNF_BACKUPS="$not_files_folder/backups" "$build/script/vymsetup-script" \
    "$not_files_folder/show.script" >"$not_files_folder/events.jsonl" 2>&1 </dev/null ||
    not_files_status=$?
[ "$not_files_status" -ne 137 ] || fail "the runner on a FIFO card: still waiting"
grep -q '"result":"quit"' "$not_files_folder/events.jsonl" ||
    fail "the runner did not quit on a FIFO card: $(cat "$not_files_folder/events.jsonl")"
[ -p "$not_files_folder/card.bin" ] || fail "the FIFO card was replaced"
say "a FIFO as the card file: refused at once by vymcnf and the runner"

# A FIFO named like a backup (another user's, in a shared folder) is passed over.
not_files_folder=$(fresh_folder)
cp "$not_files_folder/card.bin" "$not_files_folder/backups/eeprom-20240101-101010Z.bin"
mkfifo "$not_files_folder/backups/eeprom-20240101-111111Z.bin"
mkfifo "$not_files_folder/backups/eeprom-20240101-121212.bin"
not_files_status=0
timeout -s KILL "$not_files_limit" env VYMCNF_BACKUPS="$not_files_folder/backups" \
    "$build/cli/vymcnf" backups >"$not_files_folder/out.txt" 2>&1 </dev/null ||
    not_files_status=$?
[ "$not_files_status" -ne 137 ] || fail "vymcnf backups: still waiting on a FIFO"
[ "$not_files_status" -eq 0 ] || fail "vymcnf backups failed: $(cat "$not_files_folder/out.txt")"
grep -q "/eeprom-20240101-101010Z.bin: " "$not_files_folder/out.txt" ||
    fail "vymcnf backups lost the real backup: $(cat "$not_files_folder/out.txt")"
grep -q "111111Z\|121212" "$not_files_folder/out.txt" &&
    fail "vymcnf backups listed a FIFO: $(cat "$not_files_folder/out.txt")"
say "FIFOs named like backups: passed over"
