#!/usr/bin/env bash
# Nothing is written unless the user says Yes: changes then Escape (Cancel), changes then OK
# answered No (by key and by mouse), and Cancel pressed with the mouse.
source "$(dirname "$0")/lib.sh"

run_and_leave() {
    start_dialog
    pick_wss_io_544
    "$@"
    expect_clean_end
    expect_card_unchanged "$*"
    tm kill-server
}

press_escape() { keys Escape; }

answer_no_by_key() {
    keys Enter
    wait_for "Do you want to write new settings to EEPROM ?"
    keys n
}

answer_no_by_mouse() {
    keys Enter
    wait_for "Do you want to write new settings to EEPROM ?"
    read -r row col <<<"$(find_cell "No   ]")"
    click "$row" "$col"
}

answer_no_with_escape() {
    keys Enter
    wait_for "Do you want to write new settings to EEPROM ?"
    keys Escape
}

cancel_by_mouse() {
    read -r row col <<<"$(find_cell "Cancel")"
    click "$row" "$col"
}

run_and_leave press_escape
run_and_leave answer_no_by_key
run_and_leave answer_no_by_mouse
run_and_leave answer_no_with_escape
run_and_leave cancel_by_mouse
echo "PASS (${TEST_NAME})"
