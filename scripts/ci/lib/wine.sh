# shellcheck shell=bash
# Windows programs under Wine for the test stages, sourced by them:
#   wine_session ARCH       a fresh prefix in a temporary folder (ARCH win64 or win32), booted,
#                           with one persistent server and a private Xvfb (DISPLAY); all of it
#                           goes when the stage ends
#   wine_loader ARCH        the loader of ARCH programs, if one is installed and runs here;
#                           wine_loader_missing ARCH says why not
#   wine_run SECONDS ...    a Windows program, bounded, no standard input, messages to the log
#   wine_start ...          the same in the background (WINE_PID), ended with the stage
#   wait_for_exit PID S     a background program's exit status, 124 when it outlives S seconds
#   window_named NAME [S]   the X window of the visible Windows window NAME, once it is shown
#   messages_mark / messages_since_mark
#                           the Wine messages logged since a point (the driver's among them)
# A command that sources this from inside a running session (for instance a hook the test
# programs call) gets the same prefix and loader through the environment the session exports.

source "$(dirname "${BASH_SOURCE[0]}")/stage.sh"

WINE_BACKGROUND=()
WINE_XVFB_PID=""

# The loader for programs of the prefix's kind. Where the 32-bit Wine is installed too, plain
# `wine` is its loader: 64-bit programs, and with them the service manager and the device host
# a 64-bit driver needs, must be started by the 64-bit loader itself.
wine_loader() {
    local candidate
    WINE_LOADER_MISSING=""
    case "$1" in
        win64)
            for candidate in /usr/lib/wine/wine64 /usr/lib64/wine/wine64 "$(command -v wine64)"; do
                [ -n "$candidate" ] && [ -x "$candidate" ] && { echo "$candidate"; return 0; }
            done
            ;;
        win32)
            # Installed is not enough: a 64-bit kernel may run no 32-bit programs at all
            # (built without, or booted with ia32_emulation=off).
            for candidate in /usr/lib/wine/wine /usr/lib32/wine/wine; do
                [ -x "$candidate" ] || continue
                "$candidate" --version >/dev/null 2>&1 && { echo "$candidate"; return 0; }
                WINE_LOADER_MISSING="this system runs no 32-bit programs"
            done
            ;;
    esac
    return 1
}

# Why wine_loader found none, after it was called in this shell (not in a $(...)).
WINE_LOADER_MISSING=""
wine_loader_missing() { echo "${WINE_LOADER_MISSING:-wine${1#win} is not installed}"; }

wine_run() {
    local seconds=$1
    shift
    timeout "$seconds" "$WINELOADER" "$@" </dev/null 2>>"$WINE_MESSAGES"
}

wine_start() {
    timeout 600 "$WINELOADER" "$@" </dev/null 2>>"$WINE_MESSAGES" &
    WINE_PID=$!
    WINE_BACKGROUND+=("$WINE_PID")
}

messages_mark() { WINE_MESSAGES_MARK=$(stat -c %s "$WINE_MESSAGES"); }
messages_since_mark() { tail -c +"$((WINE_MESSAGES_MARK + 1))" "$WINE_MESSAGES" | tr -d '\r'; }

wine_session() {
    local arch=$1
    WINE_WORK=$(mktemp -d)
    export WINEPREFIX="$WINE_WORK/prefix" WINE_MESSAGES="$WINE_WORK/wine-messages.log"
    trap wine_end_session EXIT
    WINELOADER=$(wine_loader "$arch") ||
        fail "no Wine loader for $arch programs (is wine${arch#win} installed?)"
    export WINELOADER WINEARCH=$arch
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installers in a test prefix
    unset DISPLAY WAYLAND_DISPLAY
    DRIVE_C=$WINEPREFIX/drive_c
    : >"$WINE_MESSAGES"

    local started
    started=$(now)
    timeout 300 "$WINELOADER" wineboot -i </dev/null >>"$WINE_MESSAGES" 2>&1 ||
        fail "wineboot did not set up the prefix"
    # Wine draws the window frames itself, so a window has its caption without a manager.
    wine_run 60 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null ||
        fail "the prefix's registry cannot be written"
    # The setup goes on in the background and holds the service database meanwhile; it is done
    # when the server has nothing left to run.
    timeout 120 wineserver -w || fail "the prefix's setup did not finish"
    # One server from here on: each program starts faster, and the service manager and a driver
    # outlive the command that started them.
    timeout 30 wineserver -p || fail "no persistent Wine server"
    # The desktop process starts with the first program and keeps its display.
    wine_display
    # The first program starts the service manager, which keeps its error stream and debug
    # settings and hands them to the device host: the driver's own messages (DbgPrint) land in
    # the log on this channel.
    WINEDEBUG=-all,warn+debugstr wine_run 60 reg query 'HKCU\Software\Wine' >/dev/null ||
        fail "the prefix does not start again"
    WINE_PREFIX_SECONDS=$(since "$started")
    say "ok - fresh $arch prefix ($(basename "$WINELOADER")) in ${WINE_PREFIX_SECONDS}s"
}

# Xvfb picks a free display itself and tells which once it is ready.
wine_display() {
    local number_file="$WINE_WORK/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" \
        >>"$WINE_WORK/xvfb.log" 2>&1 &
    WINE_XVFB_PID=$!
    wait_until 30 test -s "$number_file" || fail "Xvfb did not come up"
    DISPLAY=":$(tr -d '\n' <"$number_file")"
    export DISPLAY
}

_ended() { ! kill -0 "$1" 2>/dev/null; }
wait_for_exit() {
    wait_until "$2" _ended "$1" || return 124
    local status=0
    wait "$1" || status=$?
    return "$status"
}

_window_shown() {
    WINE_WINDOW=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$WINE_WINDOW" ]
}
window_named() {
    wait_until "${2:-15}" _window_shown "$1" && echo "$WINE_WINDOW"
}

# Wine processes of this session's prefix that are still there.
_session_processes() {
    local entry
    for entry in /proc/[0-9]*; do
        case "$(readlink "$entry/exe" 2>/dev/null)" in
            */wine*) grep -qzxF "WINEPREFIX=$WINEPREFIX" "$entry/environ" 2>/dev/null &&
                echo "${entry#/proc/}" ;;
        esac
    done
    return 0
}

wine_end_session() {
    local status=$? pid left
    set +e
    for pid in "${WINE_BACKGROUND[@]}"; do
        kill "$pid" 2>/dev/null
    done
    if [ -d "${WINEPREFIX:-}" ]; then
        timeout 30 wineserver -k >/dev/null 2>&1
        timeout 30 wineserver -w >/dev/null 2>&1
    fi
    left=$(_session_processes)
    if [ -n "$left" ]; then
        echo "$STAGE_NAME: FAIL - Wine processes outlived the server: $left" >&2
        # shellcheck disable=SC2086
        kill -9 $left 2>/dev/null
        status=1
    fi
    if [ -n "$WINE_XVFB_PID" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null
        wait "$WINE_XVFB_PID" 2>/dev/null
    fi
    if [ "$status" -ne 0 ] && [ -f "$WINE_MESSAGES" ]; then
        echo "--- last Wine messages"
        tail -n 30 "$WINE_MESSAGES" | tr -d '\r'
    fi
    rm -rf "$WINE_WORK"
    exit "$status"
}
