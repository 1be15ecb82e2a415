#pragma once

#include "driver/DeviceSeam.h"

// For test builds of the Windows program on machines without the card: the configuration
// device is served from a 2048-byte EEPROM image file, the file that VYMCNF_EEPROM names,
// through the real Kernel32 file services. Every other name and handle goes to Kernel32 as it
// is, and so do the error services, so a missing file shows the system's own text.
const CDeviceApi& FileCardDeviceApi();
