#pragma once

#include <cstdint>
#include <span>

#include "pnp/LogicalDevice.h"

// The diagnostic dump reads the first 500 bytes of the card and lists six devices from them.
constexpr int DUMP_SIZE = 500;
constexpr int DUMP_SEARCH_START = 39;  // the dump looks for the first device from here on
constexpr int DUMPED_DEVICES = WRITTEN_LOGICAL_DEVICES;

// The dump's device walk: finds the first Logical Device ID at offset 39 or later of dump, then
// parses six devices one after another into devices, each starting where the one before ended
// (with no search in between). Returns 1 when all six were parsed; 0 when dump holds no Logical
// Device ID from offset 39 on, a device is malformed, or the six do not fit in dump. The devices
// parsed before a failure keep what was stored in them; nothing outside dump is read.
int ParseDumpDevices(std::span<const std::uint8_t> dump,
                     std::span<CLogicalDevice, DUMPED_DEVICES> devices);
