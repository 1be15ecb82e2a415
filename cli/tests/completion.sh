#!/usr/bin/env bash
# The bash completion of vymcnf, sourced into bash as the system does and asked as bash asks
# it: commands, each command's options, image files and folders, and the backups' names, which
# the program then takes as they are completed.
# Usage: completion.sh COMPLETION_FILE VYMCNF
set -euo pipefail

COMPLETION=$(realpath "$1")
VYMCNF=$(realpath "$2")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vymcnf-completion.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

export VYMCNF_BACKUPS="$WORK/backups"
unset VYMCNF_EEPROM
export XDG_DATA_HOME="$WORK/data"  # the per-user card, made from the factory image
mkdir -p "$WORK/bin" "$WORK/here/sub"
ln -s "$VYMCNF" "$WORK/bin/vymcnf"
export PATH="$WORK/bin:$PATH"
cd "$WORK/here"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# complete LINE: what the completion offers for the last word of LINE (a line ending in a
# space completes a new, empty word), sorted, one a line.
complete_line() {
    bash --norc --noprofile -c '
        source "$1"
        read -r -a COMP_WORDS <<<"$2"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE=$2
        COMP_POINT=${#2}
        _vymcnf
        printf "%s\n" "${COMPREPLY[@]}" | sed "/^$/d" | sort' _ "$COMPLETION" "$1"
}

expect() {
    local line=$1 got want
    shift
    got=$(complete_line "$line")
    want=$(printf '%s\n' "$@" | sed '/^$/d' | sort)
    [ "$got" = "$want" ] || fail "'$line' offers [$(echo $got)], expected [$(echo $want)]"
}

# The card and two backups of it, made by real writes.
vymcnf read "$WORK/saved.bin" >/dev/null
cp "$WORK/saved.bin" "$WORK/changed.bin"
printf '\x01' | dd of="$WORK/changed.bin" bs=1 seek=60 conv=notrunc status=none
vymcnf write --force "$WORK/changed.bin" >/dev/null
vymcnf write --force "$WORK/saved.bin" >/dev/null
mapfile -t backups < <(cd "$VYMCNF_BACKUPS" && ls eeprom-*.bin)
[ "${#backups[@]}" -eq 2 ] || fail "expected two backups, found ${#backups[@]}"
touch a.bin notes.txt dump.ROM
expect "vymcnf " info read write verify diff convert backups help
expect "vymcnf w" write
expect "vymcnf -" --card --help --version
expect "vymcnf write -" --card --all --force --dry-run --help
expect "vymcnf info -" --card --json --help
expect "vymcnf read -" --card --force --help
expect "vymcnf verify -" --card --help
expect "vymcnf help " info read write verify diff convert backups help
expect "vymcnf help ve" verify
expect "vymcnf backups "
expect "vymcnf write a.bin "
expect "vymcnf diff a.bin " a.bin dump.ROM sub "${backups[@]}"
expect "vymcnf diff a.bin b.bin "
expect "vymcnf --card " a.bin dump.ROM notes.txt sub
expect "vymcnf -c a.bin write " a.bin dump.ROM sub "${backups[@]}"
# Image files and folders, not other files, and the backups by name.
expect "vymcnf write " a.bin dump.ROM sub "${backups[@]}"
expect "vymcnf --force write " a.bin dump.ROM sub "${backups[@]}"
expect "vymcnf verify eeprom-" "${backups[@]}"
expect "vymcnf info su" sub
# read saves to a new file: any name.
expect "vymcnf read " a.bin dump.ROM notes.txt sub
# After --, a word starting with - is a file name, not an option.
expect "vymcnf write -- -" 
# A file of the same name in the current folder is that file, so the backup is not offered
# a second time.
cp "$VYMCNF_BACKUPS/${backups[0]}" .
expect "vymcnf verify eeprom-" "${backups[@]}"

# What is completed works: a backup's name as offered puts it back on the card. Of the two,
# the one that holds the card as read first (the other holds the changed image, whose
# checksum the write refuses); which of them sorts first depends on whether the two writes
# fell in the same second.
name=""
while read -r offered; do
    if cmp -s "$VYMCNF_BACKUPS/$offered" "$WORK/saved.bin"; then
        name=$offered
    fi
done < <(complete_line "vymcnf write eeprom-")
[ -n "$name" ] || fail "the backup of the card as read first is not offered"
(cd "$WORK" && vymcnf write "$name" >/dev/null) || fail "vymcnf write $name failed"
(cd "$WORK" && vymcnf verify "$name" >/dev/null) || fail "the card does not hold $name"

if ((failures > 0)); then
    exit 1
fi
echo "PASS (completion)"
