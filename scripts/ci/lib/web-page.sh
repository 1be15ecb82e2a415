# shellcheck shell=bash
# The web edition's build (the wasm preset), for the stages that test or pack it: web_build
# builds it when it is missing or out of date (ending the stage when it fails) and sets WEB_PAGE (vymsetup.html) and
# WEB_RUNNER (vymsetup-script.js). The packaging stages need the page too, and may run alone
# on a fresh machine, so they call this rather than count on the web stage having run first.
WEB_BUILD_DIR=build/wasm

web_build() {
    local log
    mkdir -p build
    log=$(realpath -m build/wasm-build.log)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    if ! { cmake --preset wasm && cmake --build --preset wasm -j2; } >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "web build: failed (whole log: $log)" >&2
        exit 1
    fi
    WEB_PAGE=$(realpath "$WEB_BUILD_DIR/web/vymsetup.html")
    WEB_RUNNER=$(realpath "$WEB_BUILD_DIR/script/vymsetup-script.js")
    [ -s "$WEB_PAGE" ] && [ -s "$WEB_RUNNER" ] || {
        echo "web build: no vymsetup.html or vymsetup-script.js in $WEB_BUILD_DIR" >&2
        exit 1
    }
}
