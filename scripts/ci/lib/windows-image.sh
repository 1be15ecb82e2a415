# shellcheck shell=bash
# Checks of built Windows images that need no Windows: what a program or driver imports, its
# subsystem, its resources. TOOLS is the binutils prefix of the image's kind
# (x86_64-w64-mingw32 for the 64-bit build).
#   check_program TOOLS EXE SUBSYSTEM   imports only from the DLLs of a bare Windows folder,
#                                       SUBSYSTEM ("Windows GUI", "Windows CUI"), icon 128
#                                       with two images and version information
#   check_driver_image TOOLS SYS        a native-subsystem image with relocations that imports
#                                       from the kernel only

check_program() {
    local tools=$1 exe=$2 subsystem=$3 headers dlls dll resources
    headers=$("$tools-objdump" -p "$exe")
    dlls=$(awk '/DLL Name:/ { print $3 }' <<<"$headers")
    for dll in $dlls; do
        case "${dll,,}" in
            kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | advapi32.dll) ;;
            *) fail "$exe imports $dll, which a bare Windows folder does not have" ;;
        esac
    done
    grep -q "^Subsystem.*($subsystem)" <<<"$headers" || fail "$exe is not a $subsystem program"
    resources=$("$tools-windres" -i "$exe" -O rc)
    if ! grep -q "^128 14 /\* RT_GROUP_ICON \*/" <<<"$resources" ||
        [ "$(grep -c "/\* RT_ICON \*/" <<<"$resources")" -ne 2 ] ||
        ! grep -q "VERSIONINFO" <<<"$resources"; then
        fail "$exe lacks icon 128 with two images or its version information"
    fi
    say "ok - $(basename "$exe"): $subsystem, imports $(tr '\n' ' ' <<<"$dlls")"
}

# Wine would load a driver that imports user-mode libraries; Windows would not.
check_driver_image() {
    local tools=$1 sys=$2 headers imports dll
    headers=$("$tools-objdump" -p "$sys")
    grep -q 'Subsystem.*(NT native)' <<<"$headers" || fail "$sys is not a native image"
    grep -q 'Base Relocation Directory \[\.reloc\]' <<<"$headers" || fail "$sys has no relocations"
    imports=$(awk '/DLL Name:/ { print $3 }' <<<"$headers" | sort -u | tr '\n' ' ')
    for dll in $imports; do
        case "$dll" in
            ntoskrnl.exe | hal.dll) ;;
            *) fail "$sys imports from $dll; a kernel driver may import from the kernel only" ;;
        esac
    done
    say "ok - $(basename "$sys"): a native image importing from ${imports}only"
}
