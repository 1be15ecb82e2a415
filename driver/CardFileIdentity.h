#pragma once

// Whether path names the emulated card's own EEPROM file (the same file, through whatever name,
// link or hard link): a file the program writes for itself must never be that one. False
// where the card is no file (Windows and its configuration driver) or when either cannot be
// looked at.
bool IsCardFile(const char* path);
