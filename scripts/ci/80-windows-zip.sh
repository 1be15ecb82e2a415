#!/usr/bin/env bash
# The Windows zips, made by CPack from the Windows cross builds: the mingw preset's win64 zip,
# and the win32 zip of the mingw-i686 preset wherever the presets have it (VYM_WINDOWS_PRESETS
# names others). For each: its name and files, Windows line ends in its text files, the
# programs and the driver stripped (the driver still a relocatable native image), the factory
# card, the web page vymsetup.html as the wasm build made it, and the runner started from the unpacked folder in a fresh Wine prefix.
# The Wine part runs in a session of its own (lib/wine.sh), a prefix of the zip's kind.
set -euo pipefail
cd "$(dirname "$0")/../.."
STAGE_NAME="windows zip"
source scripts/ci/lib/wine.sh

# The unpacked zip's runner in a fresh prefix: C:\vymsetup\NAME\vymsetup-script.exe.
run_from_zip() {
    local zip=$1 suffix=$2 version=$3 target shown last
    wine_session "$suffix"
    target="$DRIVE_C/vymsetup"
    unzip -q "$zip" -d "$target"
    cd "$target/vymsetup-$version-$suffix"
    shown=$(wine_run 60 vymsetup-script.exe --version | tr -d '\r') ||
        fail "vymsetup-script.exe --version did not run"
    [ "$shown" = "vymsetup-script $version" ] || fail "vymsetup-script.exe --version printed '$shown'"
    say "ok - C:\\vymsetup\\vymsetup-$version-$suffix\\vymsetup-script.exe --version: $shown"
    # No driver is installed in the fresh prefix: the program says why and quits.
    last=$(printf 'show\n' | timeout 60 "$WINELOADER" vymsetup-script.exe 2>>"$WINE_MESSAGES" |
        tr -d '\r' | jq -c -s last) || true  # status 1: no card
    [ "$last" = '{"event":"end","result":"quit"}' ] || fail "without a driver the run ended '$last'"
    say "ok - without the card's driver it ends $last"
}

# One preset's zip. It runs in a subshell of its own, so that its trap cleans up after it alone.
check_zip() {
    local preset=$1 build
    build=$(cmake --preset "$preset" -DVYM_WEB_PAGE="$WEB_PAGE" 2>&1 |
        sed -n 's/^-- Build files have been written to: //p' || true)
    [ -n "$build" ] && [ -f "$build/CMakeCache.txt" ] || fail "cmake --preset $preset did not configure"
    cmake --build "$build" -j2 >"$build/zip-build.log" 2>&1 ||
        { tail -n 40 "$build/zip-build.log"; fail "the $preset build"; }

    local cache="$build/CMakeCache.txt" version objdump suffix zip
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")
    objdump=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$cache")
    # A 64-bit build makes the win64 zip, a 32-bit one the win32 zip.
    case "$("$objdump" -f "$build/script/vymsetup-script.exe")" in
        *pei-x86-64*) suffix=win64 ;;
        *pei-i386*) suffix=win32 ;;
        *) fail "vymsetup-script.exe is neither a 64-bit nor a 32-bit Windows program" ;;
    esac
    rm -rf "$build/packages"
    (cd "$build" && cpack -G ZIP) >"$build/cpack.log" 2>&1 || { cat "$build/cpack.log"; fail "cpack"; }
    zip=$(realpath "$build/packages/vymsetup-$version-$suffix.zip")
    [ -f "$zip" ] || { ls "$build/packages" >&2; fail "no vymsetup-$version-$suffix.zip"; }
    say "$(basename "$zip"): $(stat -c %s "$zip") bytes"
    unzip -l "$zip"

    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT

    unzip -q "$zip" -d "$work/unpacked"
    local folder="$work/unpacked/vymsetup-$version-$suffix" programs expected
    [ -d "$folder" ] || fail "the zip does not unpack into vymsetup-$version-$suffix"
    mapfile -t programs < <(sed 's/$/.exe/' "$build/packaging/programs.txt")
    for required in vymsetup.exe vymsetup-script.exe vymcnf.exe; do
        printf '%s\n' "${programs[@]}" | grep -qx "$required" ||
            fail "$required is not among the programs"
    done
    expected=$(printf '%s\n' "${programs[@]}" vymcnf.sys vymcnf.bin install.cmd remove.cmd \
        vymsetup.html README.txt LICENSE.txt | sort)
    diff <(echo "$expected") <(cd "$folder" && find . -type f -printf '%P\n' | sort) ||
        fail "the zip holds other files than expected"
    for text in README.txt LICENSE.txt install.cmd remove.cmd; do
        awk '!/\r$/ { bad = 1 } END { exit bad }' "$folder/$text" ||
            fail "$text has a line without CRLF"
        [ "$(tail -c 2 "$folder/$text" | od -An -tx1 | tr -d ' ')" = 0d0a ] ||
            fail "$text does not end in CRLF"
    done
    for file in $expected; do
        grep -qF "$file" "$folder/README.txt" || fail "README.txt does not say what $file is for"
    done
    cmp -s "$folder/vymsetup.html" "$WEB_PAGE" || fail "vymsetup.html is not the page the wasm build made"
    say "ok - the files expected; the text files have CRLF line ends; README.txt names every file"

    local headers
    for program in "${programs[@]}"; do
        headers=$("$objdump" -p "$folder/$program")
        grep -q '^Subsystem.*(Windows \(GUI\|CUI\))' <<<"$headers" ||
            fail "$program is no Windows program"
        ! "$objdump" -h "$folder/$program" | grep -q '\.debug' || fail "$program is not stripped"
    done
    headers=$("$objdump" -p "$folder/vymcnf.sys")
    grep -q 'Subsystem.*(NT native)' <<<"$headers" || fail "vymcnf.sys is not a native image"
    grep -q 'Base Relocation Directory \[\.reloc\]' <<<"$headers" ||
        fail "vymcnf.sys lost its relocations"
    say "ok - programs and driver stripped; vymcnf.sys a native image with its relocations"

    [ "$(stat -c %s "$folder/vymcnf.bin")" = 2048 ] || fail "vymcnf.bin is not 2048 bytes"
    local native_runner=${VYM_NATIVE_RUNNER:-build/default/script/vymsetup-script}
    if [ -x "$native_runner" ]; then
        printf 'show\n' | HOME="$work" XDG_DATA_HOME="$work/data" "$native_runner" >/dev/null
        cmp "$folder/vymcnf.bin" "$work/data/vymcnf/eeprom.bin" ||
            fail "vymcnf.bin is not the factory card the native program makes"
        say "ok - vymcnf.bin is the factory card, byte for byte as the native program makes it"
    else
        say "NOTICE: no native runner at $native_runner to compare vymcnf.bin with"
    fi

    # 32-bit programs are tried where they are at home: in a 32-bit prefix.
    if wine_loader "$suffix" >/dev/null; then
        (run_from_zip "$zip" "$suffix" "$version")
    else
        say "NOTICE: no Wine for $suffix programs, they are not run: $(wine_loader_missing "$suffix")"
    fi
}

# The zips carry the web page, from the wasm build (made here when missing).
source scripts/ci/lib/web-page.sh
web_build

presets=${VYM_WINDOWS_PRESETS:-}
if [ -z "$presets" ]; then
    presets=mingw
    cmake --list-presets 2>/dev/null | grep -q '"mingw-i686"' && presets+=" mingw-i686"
fi
for preset in $presets; do
    say "preset $preset"
    (check_zip "$preset")
done
