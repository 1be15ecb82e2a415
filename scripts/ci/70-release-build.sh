#!/usr/bin/env bash
# A packager's build: a plain Release configuration, none of our presets or options, with the
# compiler and linker flags Debian's packaging tools give (hardening included). Warnings stay
# warnings there (VYM_WERROR is off by default), so a warning a compiler invents cannot stop it;
# the build must succeed and its tests pass. The Debian package stage packs this build.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VYM_RELEASE_BUILD_DIR:-build/release}
mkdir -p build
log=$(realpath -m "build/release-build.log")

eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# CMake takes no CPPFLAGS; the package tools hand them over with the compiler flags.
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"

# The flags are read at a folder's first configuration only: a folder configured otherwise
# starts afresh.
cache="$build/CMakeCache.txt"
if [ -f "$cache" ] && ! grep -qxF "CMAKE_CXX_FLAGS:STRING=$CXXFLAGS" "$cache"; then
    echo "release build: $build was configured with other flags; starting afresh"
    rm -rf "$build"
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1 || { cat "$log"; exit 1; }
grep -qx 'VYM_WERROR:BOOL=OFF' "$cache" || {
    echo "release build: warnings are errors in a plain build (VYM_WERROR is not off by default)" >&2
    exit 1
}
if ! cmake --build "$build" -j2 >>"$log" 2>&1; then
    tail -n 60 "$log"
    echo "release build: failed (whole log: $log)" >&2
    exit 1
fi
warnings=$(grep -c 'warning:' "$log" || true)
echo "release build: built with CXXFLAGS '$CXXFLAGS' (full log: $log);" \
    "$warnings compiler warnings, kept as warnings"
grep -o '\[-W[^]]*\]$' "$log" | sort | uniq -c | sed 's/^/  /' || true

if ! ctest --test-dir "$build" -j2 --output-on-failure >"$build/ctest.log" 2>&1; then
    grep -v ' Passed ' "$build/ctest.log" | tail -n 80
    echo "release build: tests failed" >&2
    exit 1
fi
echo "release build: $(grep -E '^[0-9]+% tests passed' "$build/ctest.log")"
