#pragma once

#include "wintypes/WinTypes.h"

// The Windows error a caller of the emulated card sees for a POSIX errno; fallback for any
// errno that has no closer match (a read fault for reads, a write fault for writes, ...).
DWORD WindowsErrorFromErrno(int error, DWORD fallback);
