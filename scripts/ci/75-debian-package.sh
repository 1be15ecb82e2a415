#!/usr/bin/env bash
# The Debian package, made by CPack from the packager's Release build (70-release-build.sh):
# its name, contents and dependencies, lintian (no errors), then the package as a user gets it:
# installed with apt-get, vymsetup and vymsetup-script run from /usr/bin on a card of their own,
# the manual pages found by man, the web page in /usr/share/vymsetup, and removed again. The
# machine is left as it was, also when a step fails: the package and anything its installation
# pulled in are purged.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VYM_RELEASE_BUILD_DIR:-build/release}
say() { echo "debian package: $*"; }
fail() {
    echo "debian package: FAILED: $*" >&2
    exit 1
}

if [ ! -f "$build/CPackConfig.cmake" ]; then
    say "no release build in $build; making it"
    bash scripts/ci/70-release-build.sh
fi
# The web page comes from the wasm build (made here when missing, so that this stage can run
# alone on a fresh machine); the release build is told where it is and installs it.
source scripts/ci/lib/web-page.sh
web_build
cmake -S . -B "$build" -DVYM_WEB_PAGE="$WEB_PAGE" >/dev/null
cmake --build "$build" -j2 >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB) >"$build/cpack.log" 2>&1 || { cat "$build/cpack.log"; fail "cpack"; }
deb=$(realpath "$build/packages/vymsetup_${version}_${arch}.deb")
[ -f "$deb" ] || { ls "$build/packages" >&2; fail "no vymsetup_${version}_${arch}.deb"; }
say "$(basename "$deb"): $(stat -c %s "$deb") bytes"

dpkg-deb -I "$deb"
dpkg-deb -c "$deb" | tee "$build/packages/contents.txt"

# What is in it: each program with its manual page, compressed, the documents and the copyright
# file; nothing of the tests, benchmarks or fuzzers.
mapfile -t programs <"$build/packaging/programs.txt"
for required in vymsetup vymsetup-script vymcnf; do
    printf '%s\n' "${programs[@]}" | grep -qx "$required" || fail "$required is not among the programs"
done
files=$(awk '$1 !~ /^d/ { print $6 }' "$build/packages/contents.txt" | sed 's|^\./|/|' | sort)
expected=$({
    for program in "${programs[@]}"; do
        echo "/usr/bin/$program"
        echo "/usr/share/man/man1/$program.1.gz"
    done
    for doc in README.md changelog.gz copyright script.md terminal.md vymcnf.md \
        vymsetup-screen.txt; do
        echo "/usr/share/doc/vymsetup/$doc"
    done
    echo /usr/share/bash-completion/completions/vymcnf
    echo /usr/share/vymsetup/vymsetup.html
} | sort)
diff <(echo "$expected") <(echo "$files") || fail "the package holds other files than expected"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libncursesw6 libstdc++6; do
    grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: '$depends'"
done
# The description is what apt shows before anyone installs: it names every program it brings.
description=$(dpkg-deb -f "$deb" Description)
for program in "${programs[@]}"; do
    grep -qE "(^|[^-[:alnum:]])$program([^-[:alnum:]]|\$)" <<<"$description" ||
        fail "the description does not name $program"
done
say "ok - the files expected, Depends: $depends; the description names every program"

say "lintian"
lintian_log="$build/packages/lintian.txt"
lintian --display-info --pedantic "$deb" >"$lintian_log" 2>&1 || true
cat "$lintian_log"
if grep -q '^E: ' "$lintian_log"; then
    fail "lintian reports errors"
fi
say "ok - lintian: $(grep -c '^E: ' "$lintian_log" || true) errors," \
    "$(grep -c '^W: ' "$lintian_log" || true) warnings," \
    "$(grep -c '^[IP]: ' "$lintian_log" || true) notes"

# --- the package installed ---------------------------------------------------------------------

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if dpkg-query -W -f='${Status}' vymsetup 2>/dev/null | grep -q "install ok installed"; then
    fail "a vymsetup package is installed on this machine already; this stage would replace it"
fi
work=$(mktemp -d)
# What the installation would pull in besides the package: on a machine that built it, nothing.
# Only these are removed again; packages that others install meanwhile are none of ours.
apt-get install -s -qq --no-install-recommends "$deb" 2>/dev/null |
    awk '$1 == "Inst" && $2 != "vymsetup" { print $2 }' >"$work/pulled-in.txt"
cleanup() {
    set +e
    case "$(dpkg-query -W -f='${db:Status-Status}' vymsetup 2>/dev/null)" in
        "" | not-installed) ;;
        *) DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get purge -y -qq vymsetup >/dev/null ;;
    esac
    local pulled
    pulled=$(tr '\n' ' ' <"$work/pulled-in.txt")
    if [ -n "${pulled// /}" ]; then
        echo "debian package: removing what the installation pulled in: $pulled"
        # shellcheck disable=SC2086
        DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get purge -y -qq $pulled >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

pulled_in=$(tr '\n' ' ' <"$work/pulled-in.txt")
say "apt-get install $(basename "$deb") (it pulls in ${pulled_in:-nothing else})"
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "$deb" \
    >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install"; }

[ "$(command -v vymsetup)" = /usr/bin/vymsetup ] || fail "vymsetup is not /usr/bin/vymsetup"
[ "$(vymsetup --version)" = "vymsetup $version" ] || fail "vymsetup --version: $(vymsetup --version)"
[ "$(vymsetup-script --version)" = "vymsetup-script $version" ] ||
    fail "vymsetup-script --version: $(vymsetup-script --version)"
say "ok - $(vymsetup --version), $(vymsetup-script --version) from /usr/bin"

# A card of its own: the per-user card the program makes from the factory image in a fresh
# data folder, then a copy of it named by VYMCNF_EEPROM, written by a short script.
export HOME="$work/home" XDG_DATA_HOME="$work/data" VYMCNF_DRIVE_C="$work"
unset VYMCNF_EEPROM
mkdir -p "$HOME"
printf 'show\n' | vymsetup-script >"$work/factory.jsonl"
factory="$XDG_DATA_HOME/vymcnf/eeprom.bin"
[ "$(stat -c %s "$factory" 2>/dev/null)" = 2048 ] || fail "no 2048-byte per-user card was made"
[ "$(grep -c '"event":"combo"' "$work/factory.jsonl")" -eq 12 ] || fail "show did not show twelve lists"
cp "$factory" "$work/card.bin"
printf 'pace off\npick "WSS I/O" 544\nanswer Yes\nclick OK\n' |
    VYMCNF_EEPROM="$work/card.bin" VYMCNF_BACKUPS="$work/backups" vymsetup-script >"$work/write.jsonl"
grep -q '"event":"progress"' "$work/write.jsonl" || { cat "$work/write.jsonl"; fail "nothing was written"; }
tail -n 1 "$work/write.jsonl" | grep -qF '{"event":"end","result":"OK"}' || fail "the run did not end with OK"
cmp -s "$factory" "$work/card.bin" && fail "the card did not change"
printf 'pace off\nshow\n' | VYMCNF_EEPROM="$work/card.bin" vymsetup-script |
    grep '"id":1003' | grep -qF '"text":"544"' || fail "the card does not read back WSS I/O 544"
say "ok - vymsetup-script wrote WSS I/O 544 to a copy of the factory card and reads it back"

# The write kept a backup of the card as it was; vymcnf lists it and puts it back.
backups=("$work"/backups/eeprom-*.bin)
[ "${#backups[@]}" -eq 1 ] && [ -f "${backups[0]}" ] || fail "the write kept no one backup"
cmp -s "${backups[0]}" "$factory" || fail "the backup is not the card as it was"
[ "$(vymcnf --version)" = "vymcnf $version" ] || fail "vymcnf --version: $(vymcnf --version)"
VYMCNF_EEPROM="$work/card.bin" VYMCNF_BACKUPS="$work/backups" vymcnf backups |
    grep -qF "$(basename "${backups[0]}")" || fail "vymcnf backups does not list the backup"
VYMCNF_EEPROM="$work/card.bin" VYMCNF_BACKUPS="$work/backups" vymcnf write "${backups[0]}" \
    >"$work/restore.txt" || { cat "$work/restore.txt"; fail "vymcnf write of the backup"; }
cmp "$work/card.bin" "$factory" || fail "the card is not the factory card again after the restore"
say "ok - vymcnf put the backup of that write back: $(head -n 1 "$work/restore.txt")"

# The bash completion where bash-completion looks for it, completing commands and the backup.
completion=/usr/share/bash-completion/completions/vymcnf
offered=$(VYMCNF_BACKUPS="$work/backups" bash --norc -c 'source "$1"
    COMP_WORDS=(vymcnf write eeprom-); COMP_CWORD=2; _vymcnf; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$completion") || fail "the bash completion cannot be sourced"
grep -qxF "$(basename "${backups[0]}")" <<<"$offered" ||
    fail "the bash completion does not offer the backup: $offered"
say "ok - the bash completion in $completion offers the backup $(basename "${backups[0]}")"

for page in "${programs[@]}"; do
    found=$(man -w "$page") || fail "man -w $page finds nothing"
    [ "$found" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page: $found"
    warnings=$(MANWIDTH=80 man --warnings -P cat "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
done
MANWIDTH=80 man -P cat vymsetup 2>/dev/null | grep -q "F1 shows this list in the program" ||
    fail "man vymsetup does not show the keys"
say "ok - man -w vymsetup: $(man -w vymsetup); every page renders without warnings"

# The web page: the one the wasm build made, and the manual page says where it is.
cmp -s /usr/share/vymsetup/vymsetup.html "$WEB_PAGE" ||
    fail "/usr/share/vymsetup/vymsetup.html is not the page the wasm build made"
MANWIDTH=80 man -P cat vymsetup 2>/dev/null | grep -qF /usr/share/vymsetup/vymsetup.html ||
    fail "man vymsetup does not name /usr/share/vymsetup/vymsetup.html"
say "ok - /usr/share/vymsetup/vymsetup.html, named in man vymsetup"

say "apt-get purge vymsetup"
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get purge -y -qq vymsetup >"$work/purge.log" 2>&1 ||
    { cat "$work/purge.log"; fail "apt-get purge"; }
[ ! -e /usr/bin/vymsetup ] && [ ! -e /usr/share/man/man1/vymsetup.1.gz ] &&
    [ ! -e /usr/share/doc/vymsetup ] && [ ! -e /usr/share/vymsetup ] ||
    fail "files are left after the purge"
say "ok - removed, nothing left; installed size was $(dpkg-deb -f "$deb" Installed-Size) KiB"
