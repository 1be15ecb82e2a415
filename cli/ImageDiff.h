#pragma once

#include <cstdint>
#include <string>

#include "pnp/ResourceTags.h"

// The bytes in which two images differ, grouped by the item they fall in (the item before in
// the old image, the one after in the new), each group with its bytes and the item decoded as
// it was and as it will be: what `vymcnf write --dry-run` and `vymcnf diff` show. oldName and
// newName say what the images are ("the card", a file).
std::string ImageDiffText(const std::uint8_t (&before)[EEPROM_SIZE],
                          const std::uint8_t (&after)[EEPROM_SIZE], const std::string& oldName,
                          const std::string& newName);
