#!/usr/bin/env bash
# serve-card.sh SERVED CARD: inside a running Wine session (lib/wine.sh), makes the emulated
# card driver serve a copy of CARD from the file SERVED its EepromFile value names: stop, copy,
# start. The test programs call it before each case.
set -euo pipefail
here=$(dirname "$0")
STAGE_NAME="serve card"
source "$here/wine.sh"
source "$here/vymcnf-service.sh"
if [ -z "${WINEPREFIX:-}" ] || [ -z "${WINE_MESSAGES:-}" ]; then
    fail "no Wine session to serve the card in"
fi
[ $# -eq 2 ] || fail "usage: serve-card.sh SERVED CARD"
service_serve "$1" "$2" || fail "the driver does not serve $2 ($SERVICE_START_ERROR)"
