#pragma once

#include <cstdint>

#include "backup/FileError.h"
#include "pnp/ResourceTags.h"

// EEPROM image files: exactly 2048 bytes, the card's bytes in address order.

enum class ImageFileProblem {
    None,
    CannotRead,  // the system's reason in error
    NotAFile,    // a FIFO, a device, a folder: nothing was read from it
    WrongSize,   // size holds how long the file is (-1 when it could not be told)
};

struct CImageFileResult {
    ImageFileProblem problem = ImageFileProblem::None;
    long size = -1;
    CFileError error;
};

// Reads the image file at path into image. Returns 1; 0 with result telling why not, and image
// unchanged.
int LoadImageFile(const char* path, std::uint8_t (&image)[EEPROM_SIZE], CImageFileResult* result);
