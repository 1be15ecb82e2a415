#pragma once

#include <cstdint>

#include "files/FileError.h"
#include "pnp/ResourceTags.h"

// Saves image as a complete file at path: Intel HEX when path ends in .hex (16 bytes a record),
// the raw 2048 bytes otherwise. Without replace an existing file is kept and the save fails
// with the code NameTakenError() gives. Returns 1; 0 with error.
int SaveImageFile(const char* path, const std::uint8_t (&image)[EEPROM_SIZE], bool replace,
                  CFileError* error);
