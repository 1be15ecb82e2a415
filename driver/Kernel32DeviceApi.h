#pragma once

#include "driver/DeviceSeam.h"

// The real Kernel32 services (Windows only): the configuration driver's, and the error texts
// and pause the emulated card uses there too.
CDeviceApi& Kernel32DeviceApi();
