#!/usr/bin/env bash
# The first command on a fresh machine: installs what building needs (scripts/setup.sh), builds
# the terminal program vymsetup with the default preset and runs it. With no VYMCNF_EEPROM set
# it works on the embedded default card: the per-user EEPROM file made from the factory image
# on first use ($XDG_DATA_HOME/vymcnf/eeprom.bin, ~/.local/share/vymcnf/eeprom.bin by default).
# Arguments go to vymsetup (--help, --version).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vymsetup
exec build/default/terminal/vymsetup "$@"
