#!/usr/bin/env bash
# The web edition: the wasm preset built with Emscripten; vymsetup-script.js under Node against
# the native runner (its options and exit statuses, then every whole-program case through
# script_tests); vymsetup.html checked to need nothing beside it, then driven in headless
# Chromium by Playwright (web/browser-test/page-test.mjs; screenshot build/web/vymsetup-web.png);
# the figures: page size, opening to the filled dialog, the cases per second under Node
# against native. No test reaches the network: the browser refuses any request off this machine
# and the test fails on one.
set -euo pipefail
cd "$(dirname "$0")/../.."
STAGE_NAME=web
source scripts/ci/lib/stage.sh
source scripts/ci/lib/web-page.sh

for tool in emcc node npm /usr/bin/chromium; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
# playwright-core asks for Node 20 or later (Debian 12's own is 18).
node -e 'process.exit(Number(process.versions.node.split(".")[0]) >= 20 ? 0 : 1)' ||
    fail "node $(node --version) is older than the browser test's driver needs (20)"
out=build/web
mkdir -p "$out"

timed "wasm build" web_build
say "ok - built $WEB_PAGE ($(stat -c %s "$WEB_PAGE") bytes) and $WEB_RUNNER"

# What the Node runner is compared with: the native runner and the case runner.
native=build/default
[ -f "$native/CMakeCache.txt" ] || cmake --preset default >/dev/null
cmake --build "$native" -j2 --target vymsetup-script script_tests >"$out/native-build.log" 2>&1 ||
    { tail -n 40 "$out/native-build.log"; fail "the native runner's build"; }
node_runner=("$(command -v node)" "$WEB_RUNNER")

# --- the runner under Node -----------------------------------------------------------------------
compare_runs() {
    local what=$1 native_status=0 node_status=0
    shift
    "$native/script/vymsetup-script" "$@" >"$out/native.out" 2>"$out/native.err" </dev/null ||
        native_status=$?
    "${node_runner[@]}" "$@" >"$out/node.out" 2>"$out/node.err" </dev/null || node_status=$?
    [ "$native_status" = "$node_status" ] ||
        fail "$what: exit status $node_status under Node, $native_status native"
    cmp -s "$out/native.out" "$out/node.out" || fail "$what: other standard output under Node"
    cmp -s "$out/native.err" "$out/node.err" || fail "$what: other standard error under Node"
}
compare_runs "--version" --version
compare_runs "--help" --help
compare_runs "an unknown option" --no-such-option
compare_runs "two scripts" one.script two.script
compare_runs "a missing script" /nonexistent/script
say "ok - vymsetup-script.js answers --version, --help and bad usage as the native runner"

cases_log="$out/node-cases.log"
node_cases() {
    VYM_CASE_RUNNER="${node_runner[*]}" "$native/tests/script_tests" --gtest_filter='Cases/*' \
        >"$cases_log" 2>&1 || {
        grep -B2 -A12 'Failure' "$cases_log" | head -n 80
        fail "whole-program cases through vymsetup-script.js (log: $cases_log)"
    }
}
timed "cases under Node" node_cases
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$cases_log")
cases=$(ls tests/cases/*.script | wc -l)
[ "$passed" = "$cases" ] || fail "$passed of $cases cases passed under Node"
! grep -q '^\[  SKIPPED' "$cases_log" || fail "cases were skipped under Node"
say "ok - all $cases whole-program cases under Node: the native runner's events and bytes"

# --- the page ------------------------------------------------------------------------------------
# One file: no element loads anything from elsewhere, nothing names a network address.
if grep -qiE '<(script|link|img|iframe)[^>]* (src|href)=' "$WEB_PAGE" ||
    grep -qiE 'https?://[a-z0-9]' "$WEB_PAGE"; then
    grep -oiE '<(script|link|img|iframe)[^>]* (src|href)=[^>]*|https?://[a-z0-9][^"'\'' ]*' \
        "$WEB_PAGE" | sort -u | head >&2
    fail "vymsetup.html loads or names something outside itself"
fi
say "ok - vymsetup.html holds its program, script and style itself"

browser_test=web/browser-test
npm_install() {
    (cd "$browser_test" && npm ci --no-audit --no-fund --loglevel=error >/dev/null) ||
        fail "npm ci in $browser_test"
}
timed "npm ci" npm_install
page_test() {
    node "$browser_test/page-test.mjs" "$WEB_PAGE" "$native/script/vymsetup-script" \
        --screenshot "$out/vymsetup-web.png" || fail "the page in Chromium"
}
timed "browser test" page_test
say "ok - the page in Chromium; screenshot $out/vymsetup-web.png"

# --- figures -------------------------------------------------------------------------------------
node "$browser_test/bench.mjs" "$WEB_PAGE" 7 | sed "s/^/$STAGE_NAME: /"
case_seconds() {
    local started
    started=$(now)
    env "$@" "$native/tests/script_tests" --gtest_filter='Cases/*' >/dev/null 2>&1
    since "$started"
}
# Taken in turns, twice, the faster of each kept: the machine's load changes by the second.
faster() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? a : b) }'; }
native_s=$(case_seconds VYM_CASE_RUNNER=)
node_s=$(case_seconds VYM_CASE_RUNNER="${node_runner[*]}")
native_s=$(faster "$native_s" "$(case_seconds VYM_CASE_RUNNER=)")
node_s=$(faster "$node_s" "$(case_seconds VYM_CASE_RUNNER="${node_runner[*]}")")
awk -v c="$cases" -v n="$native_s" -v w="$node_s" 'BEGIN {
    printf "web: whole-program cases a second: %.1f under Node, %.1f native (%.1f times slower)\n",
        c / w, c / n, w / n
}'
timings
