#!/usr/bin/env bash
# Checks a shipped 32-bit image against what the oldest Windows it is for can load:
#
#   check-image.sh program IMAGE   a program for Windows 98 SE and later: PE32, OS and subsystem
#                                  version 4.0, stripped, imports only from kernel32, user32,
#                                  gdi32, comctl32, advapi32 and msvcrt, every import on
#                                  allowed-imports.txt and none on denied-imports.txt, every
#                                  msvcrt import one the msvcrt of 98 SE exports
#   check-image.sh driver IMAGE    the driver for Windows 2000 and later: PE32, a native image,
#                                  imports only from the kernel, every import on
#                                  allowed-driver-imports.txt and none that 2000 lacks
#
# The msvcrt lists are in VYM_WINAPI_DIR (default: shared/winapi beside the project's folder).
# Prints the imports by DLL; exits 1 on the first image that fails, with every reason.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
objdump=${VYM_OBJDUMP:-i686-w64-mingw32-objdump}
winapi=${VYM_WINAPI_DIR:-$root/../shared/winapi}

[ $# -eq 2 ] && { [ "$1" = program ] || [ "$1" = driver ]; } || {
    echo "usage: $0 program|driver IMAGE" >&2
    exit 2
}
kind=$1
image=$2
name=$(basename "$image")
failures=()
fail() { failures+=("$1"); }

# "dll function" pairs of a list file, comments and blank lines left out.
pairs() { sed -e 's/#.*//' "$1" | awk 'NF >= 2 { print $1, $2 }' | sort -u; }

headers=$("$objdump" -p "$image")
format=$("$objdump" -f "$image")
grep -q "file format pei-i386" <<<"$format" || fail "not a 32-bit PE image"
grep -q "^Magic[[:space:]]*010b" <<<"$headers" || fail "not PE32 (optional header magic)"
field() { awk -v key="$1" '$1 == key { print $2; exit }' <<<"$headers"; }

imports=$("$here/pe-imports.sh" "$image")
if [ "$kind" = program ]; then
    for key in MajorOSystemVersion MajorSubsystemVersion; do
        [ "$(field "$key")" = 4 ] || fail "$key is $(field "$key"), not 4"
    done
    for key in MinorOSystemVersion MinorSubsystemVersion; do
        [ "$(field "$key")" = 0 ] || fail "$key is $(field "$key"), not 0"
    done
    grep -q "HAS_SYMS" <<<"$format" && fail "not stripped"
    allowed_dlls='^(kernel32|user32|gdi32|comctl32|advapi32|msvcrt)\.dll$'
    allowed=$here/allowed-imports.txt
    denied=$here/denied-imports.txt
    msvcrt=$winapi/msvcrt-win98se.txt
    [ -r "$msvcrt" ] || {
        echo "check-image: no $msvcrt (set VYM_WINAPI_DIR to the folder of the msvcrt lists)" >&2
        exit 2
    }
else
    grep -q "^Subsystem.*(NT native)" <<<"$headers" || fail "not a native (kernel-mode) image"
    allowed_dlls='^(ntoskrnl\.exe|hal\.dll)$'
    allowed=$here/allowed-driver-imports.txt
    denied=""
    msvcrt=""
fi

while read -r dll function; do
    [ -n "$dll" ] || continue
    grep -qE "$allowed_dlls" <<<"$dll" || fail "imports $function from $dll, which is not a DLL it may use"
done <<<"$imports"
unlisted=$(comm -23 <(sort -u <<<"$imports" | sed '/^$/d') <(pairs "$allowed"))
[ -z "$unlisted" ] || fail "imports what nobody has looked up yet (add to $(basename "$allowed") once checked):
$unlisted"
if [ -n "$denied" ]; then
    forbidden=$(comm -12 <(sort -u <<<"$imports") <(pairs "$denied"))
    [ -z "$forbidden" ] || fail "imports what Windows 98 SE lacks ($(basename "$denied")):
$forbidden"
fi
if [ -n "$msvcrt" ]; then
    missing=$(awk '$1 == "msvcrt.dll" { print $2 }' <<<"$imports" | sort -u |
        comm -23 - <(sort -u "$msvcrt"))
    [ -z "$missing" ] || fail "imports from msvcrt.dll what the msvcrt of 98 SE does not export:
$missing"
fi
if [ "$kind" = driver ]; then
    # The 64-bit driver may use these; Windows 2000 does not export them.
    pre_xp=$(grep -E "^ntoskrnl\.exe (DbgPrintEx|ZwFlushBuffersFile)$" <<<"$imports" || true)
    [ -z "$pre_xp" ] || fail "imports what the Windows 2000 kernel lacks:
$pre_xp"
fi

if [ ${#failures[@]} -gt 0 ]; then
    for failure in "${failures[@]}"; do
        echo "check-image: $name: $failure" >&2
    done
    exit 1
fi
echo "  $name: PE32, $(field MajorSubsystemVersion).$(field MinorSubsystemVersion), $(wc -c <"$image") bytes"
awk '{ names[$1] = names[$1] " " $2 } END { for (dll in names) print "    " dll ":" names[dll] }' <<<"$imports" | sort
