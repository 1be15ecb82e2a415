#pragma once

#include <cstdint>
#include <span>

#include "ui/ProgramIcon.h"

// Turns the program's icon data into the bytes of an icon file (.ico): a directory, then one
// 16-colour (4 bits a pixel) device-independent bitmap per image with its transparency mask.
// The resource compiler takes that file for icon 128. Free of windows.h, so the build's small
// native tool and the Windows tests share it.

constexpr int ICON_FILE_MAX_IMAGES = 8;

// Bytes of one image as the icon file and the icon resource hold it: BITMAPINFOHEADER, the
// 16-entry palette, the colour rows and the mask rows, each row padded to 4 bytes. -1 when the
// image is malformed: rows that do not match width and height, a character that is neither a
// hexadecimal digit nor '.', or a size outside 1 to 256.
int IconImageSize(const CIconImage& image);

// Writes one image (the part the icon resource holds) into buffer; returns its size or -1.
int BuildIconImage(const CIconImage& image,
                   std::span<const std::uint32_t, ICON_PALETTE_SIZE> palette, std::uint8_t* buffer,
                   int size);

// Writes a whole icon file with the images in the given order; returns its size, or -1 when an
// image is malformed, there are no images or more than ICON_FILE_MAX_IMAGES, or the buffer is
// too small.
int BuildIconFile(std::span<const CIconImage* const> images,
                  std::span<const std::uint32_t, ICON_PALETTE_SIZE> palette, std::uint8_t* buffer,
                  int size);

// Palette index of one pixel character, -1 for '.' (transparent) and -2 for anything else.
int IconPixelIndex(char pixel);
