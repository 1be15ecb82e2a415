#pragma once

#include "wintypes/WinTypes.h"

// The calling thread's last error of the emulated Kernel32 services (the card and the test
// double), kept per thread as the system keeps it.
DWORD EmulatedGetLastError();
void EmulatedSetLastError(DWORD code);
