#!/usr/bin/env bash
# Runs the programs as a hostile environment would: closed standard streams, links and FIFOs
# where files should be, signals in the middle of a write, a card file changed underneath,
# clocks that jump. After each, the card holds only what a write put there, and a backup that
# a program named equals the card before it. The groups of checks are the files in safety/;
# each reads the native build's folder from `build` and works in a folder of its own.
set -euo pipefail
cd "$(dirname "$0")/../.."
STAGE_NAME=card-safety
source scripts/ci/lib/stage.sh

build=${VYM_SAFETY_BUILD:-build/default}
for program in terminal/vymsetup script/vymsetup-script cli/vymcnf tests/vym-case-image; do
    [ -x "$build/$program" ] || fail "$build/$program is not built"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A fresh folder for one check, with the factory card in it and every place the programs
# write (backups, the dump's drive, the per-user card) inside it.
fresh_folder() {
    local folder
    folder=$(mktemp -d "$work/check.XXXXXX")
    echo factory >"$folder/factory.description"
    "$build/tests/vym-case-image" "$folder/factory.description" "$folder/card.bin"
    mkdir -p "$folder/drive-c" "$folder/backups" "$folder/home"
    echo "$folder"
}
in_folder_env() {
    local folder=$1
    shift
    env VYMCNF_EEPROM="$folder/card.bin" VYMCNF_DRIVE_C="$folder/drive-c" \
        VYMCNF_BACKUPS="$folder/backups" HOME="$folder/home" XDG_DATA_HOME="$folder/home" "$@"
}

for group in scripts/ci/safety/*.sh; do
    [ -e "$group" ] || continue
    name=$(basename "$group" .sh)
    say "--- $name"
    # shellcheck source=/dev/null
    timed "$name" source "$group"
done
timings
say "all checks passed"
