# shellcheck shell=bash
# shellcheck disable=SC2154 # build, as the stage sets it
# Backups listed newest first in the order they were saved, across a change of time zone; and a
# backup named for today's local time (as earlier versions named them) still listed and
# restorable.

backup_order_folder=$(fresh_folder)
backup_order_image() { # FILE BYTE: the factory card with one byte past the image changed
    cp "$backup_order_folder/card.bin" "$1"
    printf '%b' "\\x$2" | dd of="$1" bs=1 seek=1500 conv=notrunc status=none
}
backup_order_image "$backup_order_folder/a.bin" 11
backup_order_image "$backup_order_folder/b.bin" 22
cp "$backup_order_folder/card.bin" "$backup_order_folder/factory.bin"

TZ=UTC0 in_folder_env "$backup_order_folder" "$build/cli/vymcnf" write \
    "$backup_order_folder/a.bin" >/dev/null || fail "the write in UTC failed"
TZ=EST5 in_folder_env "$backup_order_folder" "$build/cli/vymcnf" write \
    "$backup_order_folder/b.bin" >/dev/null || fail "the write five hours west failed"
in_folder_env "$backup_order_folder" "$build/cli/vymcnf" backups >"$backup_order_folder/list.txt" ||
    fail "vymcnf backups failed"
# Each backup is listed by its full path; its name is what follows the last slash.
mapfile -t backup_order_names < <(sed -n 's|^.*/\(eeprom-[^/]*\.bin\): .*|\1|p' "$backup_order_folder/list.txt")
[ "${#backup_order_names[@]}" -eq 2 ] ||
    fail "two writes, ${#backup_order_names[@]} backups listed: $(cat "$backup_order_folder/list.txt")"
# The second write saved the card as the first left it (a.bin), the first the factory card.
if ! cmp -s "$backup_order_folder/backups/${backup_order_names[0]}" "$backup_order_folder/a.bin" ||
    ! cmp -s "$backup_order_folder/backups/${backup_order_names[1]}" "$backup_order_folder/factory.bin"; then
    fail "not newest first across the zone change: ${backup_order_names[*]}"
fi
say "two writes across a time-zone change: listed in the order they were saved"

# A backup with a local-time name of today, from an earlier version: listed, and restorable.
backup_order_local="eeprom-$(date +%Y%m%d-%H%M%S).bin"
cp "$backup_order_folder/factory.bin" "$backup_order_folder/backups/$backup_order_local"
in_folder_env "$backup_order_folder" "$build/cli/vymcnf" backups >"$backup_order_folder/list.txt"
grep -q "/$backup_order_local: " "$backup_order_folder/list.txt" ||
    fail "the local-time backup is not listed: $(cat "$backup_order_folder/list.txt")"
in_folder_env "$backup_order_folder" "$build/cli/vymcnf" write \
    "$backup_order_folder/backups/$backup_order_local" >/dev/null ||
    fail "the local-time backup could not be restored"
cmp -s "$backup_order_folder/card.bin" "$backup_order_folder/factory.bin" ||
    fail "the restore did not put the local-time backup on the card"
say "a backup with today's local-time name: listed and restored"
