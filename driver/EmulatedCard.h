#pragma once

#include "driver/DeviceSeam.h"

// The card as a 2048-byte file (see EepromFileLocation.h for which file): the Kernel32
// services of the seam, served the way the configuration driver serves them.
CDeviceApi& EmulatedCardApi();

// The program never closes the device; tests and tools that open it many times release their
// handle here (1 when it was an open card handle).
int CloseEmulatedCard(HANDLE device);
