#!/usr/bin/env bash
# Prints what a PE image imports, one "dll function" a line, the DLL name in lower case, sorted;
# an import by ordinal shows as "dll #N".
set -euo pipefail
[ $# -eq 1 ] || {
    echo "usage: $0 IMAGE" >&2
    exit 2
}
objdump=${VYM_OBJDUMP:-i686-w64-mingw32-objdump}
"$objdump" -p "$1" | awk '
    /^The Import Tables/ { inImports = 1; next }
    /^The Export Tables|^PE File Base Relocations|^The Function Table|^Resource/ { inImports = 0 }
    !inImports { next }
    /DLL Name:/ { dll = tolower($3); next }
    /Member-Name/ { next }
    # Member rows start with a tab; the directory rows between the DLLs with a space.
    dll != "" && /^\t[0-9a-f]+\t/ && NF >= 3 { print dll, $3; next }
    dll != "" && /^\t[0-9a-f]+\t/ && NF == 2 { print dll, "#" $2 }
' | sort -u
