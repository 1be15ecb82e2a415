#pragma once

#include <string>

#include "driver/CardFileChoice.h"
#include "wintypes/WinTypes.h"

// Where the emulated card keeps its EEPROM on POSIX systems: the file the user named
// (NamedCardFile: --card, else VYMCNF_EEPROM), or else the user's own card in
// $XDG_DATA_HOME/vymcnf/eeprom.bin (XDG_DATA_HOME defaulting to ~/.local/share), made from the
// factory image the first time it is needed.

// What locating the card's file may do to the user's default card.
enum class DefaultCardFile {
    MakeWhenAbsent,  // the card is about to be opened: made when it is not there yet
    NameOnly,        // only its name is wanted (to tell the user): the disk is left alone
};

// The file the card opens. Returns 1 with path filled, or 0 with *error set to the Windows
// error the open reports. A named file is used as it is, never created; the user's default
// file is, with use MakeWhenAbsent, created (with its folders) when absent and never
// overwritten when present.
int LocateEepromFile(std::string* path, DWORD* error,
                     DefaultCardFile use = DefaultCardFile::MakeWhenAbsent);

// The default file's path, without touching the disk. 0 with *error when neither
// XDG_DATA_HOME nor a home folder is known.
int DefaultEepromFilePath(std::string* path, DWORD* error);

// Makes path hold the factory image unless a file is already there: a complete file
// (files/CompleteFile.h) put there without replacing, so no reader ever sees half an image and
// an existing file, even one made at the same moment by another process, is kept.
int CreateEepromFileIfAbsent(const std::string& path, DWORD* error);
