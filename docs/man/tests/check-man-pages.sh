#!/usr/bin/env bash
# The built manual pages render without a single warning, and vymsetup(1) shows every line of
# the key help the program shows on F1 (the key names and what they do).
#   check-man-pages.sh PAGE-TOOL PAGE...
set -euo pipefail
tool=$1
shift
if ! command -v groff >/dev/null 2>&1; then
    echo "check-man-pages: no groff, the pages are not checked"
    exit 77
fi

for page in "$@"; do
    warnings=$(groff -man -ww -z -t "$page" 2>&1 >/dev/null || echo "groff failed")
    if [ -n "$warnings" ]; then
        echo "check-man-pages: $page:" >&2
        echo "$warnings" >&2
        exit 1
    fi
    echo "ok - $(basename "$page") renders without warnings"
done

keys_page=""
for page in "$@"; do
    [ "$(basename "$page")" = vymsetup.1 ] && keys_page=$page
done
[ -n "$keys_page" ] || { echo "check-man-pages: no vymsetup.1 among the pages" >&2; exit 1; }

# The page as a reader sees it, each run of blanks one space, line ends too: a tag and its text
# may be side by side or one under the other.
shown=$(groff -man -Tascii -P-c -P-b -P-u "$keys_page" 2>/dev/null | tr -s ' \n' '  ')
missing=0
lines=0
while IFS=$'\t' read -r keys help; do
    lines=$((lines + 1))
    if ! grep -qF " $keys $help " <<<" $shown "; then
        echo "check-man-pages: vymsetup.1 does not show '$keys' -> '$help'" >&2
        missing=$((missing + 1))
    fi
done < <("$tool" keys)
[ "$lines" -gt 0 ] || { echo "check-man-pages: the key help has no lines" >&2; exit 1; }
[ "$missing" -eq 0 ] || exit 1
echo "ok - vymsetup.1 shows all $lines lines of the key help"
