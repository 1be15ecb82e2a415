#pragma once

#include <cstdint>

#include "pnp/LogicalDevice.h"

// Finds the first logical device at offset 36 or later, saves everything before it as the
// card-level header and parses up to ten devices one after another.
// Returns the number of devices parsed (1 to 10), or 0 when the image holds no Logical
// Device ID from offset 36 on or a device in it is malformed (a device that runs into the
// end of the image counts as malformed); the devices parsed before the failure keep what
// was stored in them. headerLength is 35 when no Logical Device ID was found, else the
// offset of the first one. readImage is never changed.
int LocateDevices(const std::uint8_t (&readImage)[EEPROM_SIZE], std::uint8_t (&header)[EEPROM_SIZE],
                  std::int32_t& headerLength, CLogicalDevice (&devices)[MAX_LOGICAL_DEVICES]);
