# shellcheck shell=bash
# What every test stage says and how it waits, sourced by the stages:
#   say ... / fail ...      a line of the stage's report; fail ends the stage
#   now / since START       a point in time; the seconds since one, to a tenth
#   wait_until SECONDS ...  runs a command until it succeeds, at most SECONDS long
#   timed WHAT ... / timings  a part of the stage, timed; the times of all parts

STAGE_NAME=${STAGE_NAME:-stage}

say() { echo "$STAGE_NAME: $*"; }
fail() {
    echo "$STAGE_NAME: FAIL - $*" >&2
    exit 1
}

# Microseconds since the epoch, without starting a process; since prints seconds.
now() { echo "${EPOCHREALTIME/[.,]/}"; }
since() {
    local tenths=$((($(now) - $1) / 100000))
    echo "$((tenths / 10)).$((tenths % 10))"
}

wait_until() {
    local deadline=$(($(now) + $1 * 1000000))
    shift
    until "$@"; do
        [ "$(now)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}


# timed WHAT COMMAND...: runs a part of the stage and notes how long it took, for the summary
# that timings prints.
STAGE_TIMINGS=()
timed() {
    local what=$1 started
    shift
    started=$(now)
    "$@"
    STAGE_TIMINGS+=("$what $(since "$started")s")
}
timings() {
    local timing
    say "timings:"
    for timing in "${STAGE_TIMINGS[@]}"; do
        echo "    $timing"
    done
}
