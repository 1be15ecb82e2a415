#pragma once

#include <cstdint>
#include <span>

// The program's icon (resource 128): a sound card seen from above, bracket on the left, edge
// fingers below. Each image is a row of palette indices, one hexadecimal digit a pixel, '.'
// for a transparent pixel; the palette is the standard 16-colour one.
struct CIconImage {
    int width;
    int height;
    std::span<const char* const> rows;  // height rows of width characters, top row first
};

constexpr int ICON_PALETTE_SIZE = 16;

// 0x00RRGGBB for palette indices 0 to 15.
std::span<const std::uint32_t, ICON_PALETTE_SIZE> IconPalette();
const CIconImage& LargeProgramIcon();  // 32 x 32
const CIconImage& SmallProgramIcon();  // 16 x 16
