#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine; does nothing when all is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ git
    dpkg-dev lintian groff-base man-db unzip   # packages: shlibdeps, their checks, manual pages
    clang-14 libclang-rt-14-dev            # libFuzzer, sanitizers
    googletest libgtest-dev libgmock-dev   # unit tests (and sources for the Windows build)
    libbenchmark-dev                       # benchmarks
    nlohmann-json3-dev                     # JSON Lines of the unattended runner
    libncurses-dev tmux                    # terminal front end and its tests
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev   # Windows build
    g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev           # 32-bit Windows
    wine wine64 xvfb xdotool x11-apps imagemagick jq                          # Windows tests
    wine32:i386                            # 32-bit Windows programs under Wine
    emscripten chromium                    # the web edition (WebAssembly) and its browser test
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    # Packages of another architecture come from its package lists, which apt reads only once
    # the architecture is enabled.
    if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm installs the browser test's driver (web/browser-test, by npm ci in its stage). A Node.js
# from elsewhere than Debian brings its own npm, which Debian's package would clash with.
if ! command -v npm >/dev/null; then
    echo "setup: installing npm"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends npm
fi
