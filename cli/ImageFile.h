#pragma once

#include <cstdint>

#include "files/FileError.h"
#include "pnp/ResourceTags.h"

// EEPROM image files: exactly 2048 bytes, the card's bytes in address order; or Intel HEX text
// (pnp/IntelHex.h), as EEPROM programmers save it too.

enum class ImageFileProblem {
    None,
    CannotRead,  // the system's reason in error
    NotAFile,    // a FIFO, a device, a folder: nothing was read from it
    WrongSize,   // size holds how long the file is (-1 when it could not be told)
    BadHex,      // Intel HEX text that cannot be taken: hexLine and hexReason tell why
};

struct CImageFileResult {
    ImageFileProblem problem = ImageFileProblem::None;
    long size = -1;
    CFileError error;
    bool hex = false;  // the file was Intel HEX
    int unfilled = 0;  // Intel HEX: bytes no record gave, taken as 0xFF
    int hexLine = 0;   // BadHex: the line at fault
    const char* hexReason = nullptr;
};

// The longest Intel HEX file taken: one record a byte with a line end of two is under 32 KiB.
constexpr long MAX_IMAGE_FILE_BYTES = 32768;

// Reads the image file at path into image, raw or Intel HEX by its content. Returns 1; 0 with
// result telling why not, and image unchanged.
int LoadImageFile(const char* path, std::uint8_t (&image)[EEPROM_SIZE], CImageFileResult* result);
