#!/usr/bin/env bash
# Counts the instructions of a 32-bit PE image that a Pentium MMX or a K6-2 does not have
# (CMOVcc, FCMOVcc, FCOMI/FCOMIP, FUCOMI/FUCOMIP, SSE and its integer additions, FXSAVE), by
# disassembling every code section.
#
#   p6-instructions.sh IMAGE          the count alone
#   p6-instructions.sh IMAGE MAP      one line a function, "count function  [object]", from the
#                                     linker's map of the same link (the image may be stripped)
set -euo pipefail
[ $# -eq 1 ] || [ $# -eq 2 ] || {
    echo "usage: $0 IMAGE [MAP]" >&2
    exit 2
}
image=$1
map=${2:-}
objdump=${VYM_OBJDUMP:-i686-w64-mingw32-objdump}

# "address mnemonic" of every such instruction.
flagged() {
    "$objdump" -d --no-show-raw-insn "$image" | awk -F'\t' '
        NF >= 2 && $1 ~ /^ *[0-9a-f]+:$/ {
            split($2, words, " ")
            m = words[1]
            if (m ~ /^(cmov|fcmov)/ || m ~ /^fu?comip?$/ || $2 ~ /%xmm/ ||
                m ~ /^(ldmxcsr|stmxcsr|[slm]fence|prefetch|movntq|maskmovq|movnti|clflush|fxsave|fxrstor)/ ||
                m ~ /^(pavgb|pavgw|pextrw|pinsrw|pmaxsw|pmaxub|pminsw|pminub|pmovmskb|pmulhuw|psadbw|pshufw)$/) {
                address = $1
                gsub(/[ :]/, "", address)
                # Eight digits, so that addresses compare as text.
                print substr("00000000" address, length(address) + 1), m
            }
        }'
}

if [ -z "$map" ]; then
    flagged | wc -l
    exit 0
fi

# The map's code symbols, "address<TAB>name<TAB>object", in address order. Inside the output
# section .text, an input section line (its name alone on a line when it is long, then address,
# size and object) opens an object; the symbol lines that follow (address, then the demangled
# name, which may hold spaces) lie in it. Code before an object's first global symbol belongs
# to a static function, which the map does not name.
symbols() {
    awk '
        function opened(address, rest) {
            object = rest
            sub(/^0x[0-9a-f]+[ \t]+/, "", object)
            sub(/.*\//, "", object)
            printf "%s\t(static code)\t%s\n", substr(address, 3), object
        }
        /^\.text / { inText = 1; next }
        /^\.[a-z]/ { inText = 0 }
        !inText { next }
        /^ \.text/ {
            pending = (NF < 4)
            if (!pending) {
                rest = $0
                sub(/^ *[^ ]+ +0x[0-9a-f]+ +/, "", rest)
                opened($2, rest)
            }
            next
        }
        pending && /^ +0x[0-9a-f]+ +0x[0-9a-f]+ +/ {
            pending = 0
            rest = $0
            sub(/^ +0x[0-9a-f]+ +/, "", rest)
            opened($1, rest)
            next
        }
        /^ +0x[0-9a-f]+ +[^ 0]/ {
            name = $0
            sub(/^ +0x[0-9a-f]+ +/, "", name)
            printf "%s\t%s\t%s\n", substr($1, 3), name, object
        }
    ' "$map" | LC_ALL=C sort -t "$(printf '\t')" -k1,1 -s
}

awk -F '\t' '
    BEGIN { n = 0 }
    NR == FNR { address[n] = $1; name[n] = $2; object[n] = $3; n++; next }
    {
        split($0, fields, " ")
        at = fields[1] ""  # compared as text: an address of digits alone would compare as a number
        low = 0; high = n - 1; found = -1
        while (low <= high) {
            middle = int((low + high) / 2)
            if ((address[middle] "") <= at) { found = middle; low = middle + 1 } else { high = middle - 1 }
        }
        key = found < 0 ? "? [?]" : name[found] " [" object[found] "]"
        count[key]++
    }
    END { for (key in count) printf "%d %s\n", count[key], key }
' <(symbols) <(flagged) | LC_ALL=C sort -t ' ' -k2
