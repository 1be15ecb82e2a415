#pragma once

#include <array>
#include <cstdint>

#include "pnp/ResourceTags.h"

// The EEPROM of a card as it leaves the factory: the card a new user meets first, and the
// content of a freshly made emulated card.
const std::array<std::uint8_t, EEPROM_SIZE>& FactoryImage();
