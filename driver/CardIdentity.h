#pragma once

#include <string>

#include "wintypes/WinTypes.h"

// What the user is told of the card outside a message box: which card it is and, when it
// could not be opened, why. The front ends that speak on a console (the terminal program's
// last words, vymcnf) use these; the dialog keeps the system's text in its box.

// The card's name: the emulated card's file, or the driver's device \\.\VymCnf. Empty when the
// emulated card's file cannot even be located (no home folder).
std::string CardName();

// Why an open of the card that failed with error failed, in plain words and without a full
// stop: "/home/ann/card.bin is 1000 bytes long; a card's EEPROM image is exactly 2048 bytes".
// The emulated card looks at its file and, for a busy card, at who holds it; the driver has
// only the system's text.
std::string CardOpenProblem(DWORD error);

// 1 when the card is a file that may be read but not written: the emulated card then opens it
// for reading only. Always 0 on the driver.
int CardFileIsReadOnly();
