# shellcheck shell=bash
# The emulated card driver, vymcnf.sys, as the kernel service "vymcnf" of a Wine session
# (lib/wine.sh): installed and removed through the project's own install.cmd and remove.cmd,
# started with the bounded retry a busy service manager needs, stopped, pointed at a card file.
#   service_install FOLDER [EEPROM]  install.cmd from FOLDER (a folder under drive_c holding
#                                    vymcnf.sys, install.cmd and remove.cmd)
#   service_remove FOLDER            remove.cmd from FOLDER; the service and its key are gone
#   service_start / service_stop     SERVICE_START_ERROR holds the error of a refused start
#   service_state                    RUNNING, STOPPED, ... or nothing when not installed
#   service_serve SERVED CARD        the running driver serves a copy of CARD at SERVED from
#                                    now on (the file its EepromFile value names)

VYMCNF_PARAMETERS='HKLM\SYSTEM\CurrentControlSet\Services\vymcnf\Parameters'
SERVICE_START_ERROR=""

service_state() {
    wine_run 60 sc query vymcnf | tr -d '\r' | awk '/STATE/ { print $4; exit }'
}

_service_in() {
    [ "$(service_state)" = "$1" ]
}

# Wine's sc names a failed start on its error channel only: the error of the last one logged
# since the mark, or "unknown".
_start_error_since_mark() {
    local error
    error=$(messages_since_mark | grep -ao 'failed to start service [0-9]*' | awk '{ print $5 }' |
        tail -n 1)
    echo "${error:-unknown}"
}

# A service manager still busy with the last stop or delete refuses a start for now: as timed
# out (1053), locked (1055), not ready (1061) or marked for deletion (1072).
_start_refused_for_now() {
    case "$SERVICE_START_ERROR" in
        1053 | 1055 | 1061 | 1072) return 0 ;;
        *) return 1 ;;
    esac
}

# One start: done when it starts or is refused for good.
_start_settled() {
    messages_mark
    if WINEDEBUG=-all,err+sc,warn+debugstr wine_run 120 sc start vymcnf >/dev/null; then
        SERVICE_START_ERROR=""
        return 0
    fi
    SERVICE_START_ERROR=$(_start_error_since_mark)
    ! _start_refused_for_now
}

service_start() {
    wait_until 20 _start_settled || return 1
    [ -z "$SERVICE_START_ERROR" ] || return 1
    wait_until 10 _service_in RUNNING || {
        SERVICE_START_ERROR="started, but $(service_state)"
        return 1
    }
}

# A stop asked for while the last program's handle is still being let go may be lost; it is
# asked for again until the driver is down.
_stopped_now() {
    local state
    state=$(service_state)
    case "$state" in
        STOPPED | "") return 0 ;;
        STOP_PENDING) ;;
        *) wine_run 60 sc stop vymcnf >/dev/null 2>&1 ;;
    esac
    return 1
}

service_stop() {
    wait_until 20 _stopped_now
}

service_install() {
    local folder=$1
    shift
    messages_mark
    if (cd "$folder" && WINEDEBUG=-all,err+sc,warn+debugstr wine_run 120 cmd /c install.cmd "$@") \
        >"$WINE_WORK/install.log"; then
        return 0
    fi
    # install.cmd leaves the service installed when only its start failed; a refusal for now
    # is retried here.
    SERVICE_START_ERROR=$(_start_error_since_mark)
    if _start_refused_for_now && service_start; then
        return 0
    fi
    tr -d '\r' <"$WINE_WORK/install.log" >&2
    return 1
}

_service_gone() {
    ! wine_run 60 sc query vymcnf >/dev/null 2>&1 &&
        ! wine_run 60 reg query 'HKLM\SYSTEM\CurrentControlSet\Services\vymcnf' >/dev/null 2>&1
}

service_remove() {
    if ! (cd "$1" && wine_run 120 cmd /c remove.cmd) >"$WINE_WORK/remove.log"; then
        tr -d '\r' <"$WINE_WORK/remove.log" >&2
        return 1
    fi
    # A deleted service goes once nothing holds it any more, and its key after it.
    wait_until 10 _service_gone
}

# _served_settled SERVED CARD: one stop, copy and start; done when the driver serves the copy
# or a start fails for good. Right after a stop the service manager may still count the old
# driver as running (1056); then it is stopped again.
_served_settled() {
    local served=$1 card=$2
    service_stop || {
        SERVICE_START_ERROR="the driver does not stop (it is $(service_state))"
        return 0
    }
    rm -f "$served"
    [ ! -e "$card" ] || cp "$card" "$served"
    service_start && return 0
    [ "$SERVICE_START_ERROR" != 1056 ]
}

service_serve() {
    local served=$1 card=$2
    # The driver reads and writes the file itself for each request: running on the same bytes,
    # it serves the card already.
    if [ -e "$card" ] && cmp -s "$card" "$served" && _service_in RUNNING; then
        return 0
    fi
    wait_until 30 _served_settled "$served" "$card" || return 1
    [ -z "$SERVICE_START_ERROR" ]
}
