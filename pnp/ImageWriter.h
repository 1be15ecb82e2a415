#pragma once

#include <cstdint>
#include <span>

#include "pnp/LogicalDevice.h"

// Copies count bytes of source to destination at position and advances position by count.
// Returns 1; 0 when they would not fit, and then copies nothing. A count of 0 or less copies
// nothing and returns 1.
int AppendBytes(std::span<std::uint8_t> destination, const std::uint8_t* source, int count,
                int& position);

// The byte that makes the given bytes plus itself add up to 0 modulo 256.
std::uint8_t ImageChecksum(std::span<const std::uint8_t> bytes);

// Builds the image to write: the saved header, device slots 0 to 5 with one fixed dependent
// function each, the End tag and the checksum. Returns 1 with imageLength set to the bytes
// to write; 0 when the image cannot be built without reading past an identifier (length
// byte L with L + 3 > 80) or writing past the buffer (more than 2048 bytes), or when
// headerLength is not that of a saved header (below 36 or above 2048), with imageLength 0
// so that nothing gets written. Sizes are checked before anything is placed: a refused
// build leaves writeImage exactly as it was.
int BuildImage(const std::uint8_t (&header)[EEPROM_SIZE], std::int32_t headerLength,
               const CLogicalDevice (&devices)[MAX_LOGICAL_DEVICES],
               std::uint8_t (&writeImage)[EEPROM_SIZE], std::int32_t& imageLength);
