#pragma once

#include <cstdint>

#include "pnp/LogicalDevice.h"

// Finds the first logical device at offset 36 or later, saves everything before it as the
// card-level header and parses up to ten devices one after another.
// Returns the number of devices parsed (1 to 10), or 0 when the image holds no Logical
// Device ID from offset 36 on or a device in it is malformed; the devices parsed before the
// failure keep what was stored in them.
int LocateDevices(const std::uint8_t (&readImage)[EEPROM_SIZE], std::uint8_t (&header)[EEPROM_SIZE],
                  std::int32_t& headerLength, CLogicalDevice (&devices)[MAX_LOGICAL_DEVICES]);
