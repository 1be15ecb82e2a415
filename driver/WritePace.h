#pragma once

// The pause the EEPROM needs after each byte written to it, its write cycle. Every write loop
// (the dialog's, vymcnf's) passes it to CConfigDriver::PauseAfterWrite, and vymcnf's progress
// line estimates the time left from it until the first byte is on the card.
constexpr unsigned WRITE_PAUSE_MS = 20;
