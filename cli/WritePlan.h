#pragma once

#include <cstdint>
#include <vector>

#include "pnp/ResourceTags.h"

// The addresses `vymcnf write` sends, in ascending order: those where image differs from what
// the card holds, or every address when all is set. Each costs the EEPROM a write cycle, so a
// restore after a one-IRQ change writes a handful of bytes, not the whole image.
std::vector<int> PlanWrites(const std::uint8_t (&card)[EEPROM_SIZE],
                            const std::uint8_t (&image)[EEPROM_SIZE], bool all);
