#pragma once

#include <string>

#include "wintypes/WinTypes.h"

// Where the emulated card keeps its EEPROM: the file named with --card (CardFileChoice.h), or
// the file named by VYMCNF_EEPROM, or else the
// user's own card in $XDG_DATA_HOME/vymcnf/eeprom.bin (XDG_DATA_HOME defaulting to
// ~/.local/share), made from the factory image the first time it is needed.
constexpr const char* EEPROM_FILE_VARIABLE = "VYMCNF_EEPROM";

// The file the card opens. Returns 1 with path filled, or 0 with *error set to the Windows
// error the open reports. The named file is used as it is; the user's default file is
// created (with its folders) when absent and never overwritten when present.
int LocateEepromFile(std::string* path, DWORD* error);

// The default file's path, without touching the disk. 0 with *error when neither
// XDG_DATA_HOME nor a home folder is known.
int DefaultEepromFilePath(std::string* path, DWORD* error);

// Makes path hold the factory image unless a file is already there: written to a temporary
// file in the same folder and linked into place, so no reader ever sees half an image and an
// existing file, even one made at the same moment by another process, is kept.
int CreateEepromFileIfAbsent(const std::string& path, DWORD* error);
