#pragma once

#include "wintypes/WinTypes.h"

// The system calls the dialogs make besides the class library. On Windows they are the
// system's own; elsewhere they go to the framework and its host:
//   PostQuitMessage(code)  ends every running modal loop (see MessageQueue.h);
//   GetSystemMetrics(i)    the host's metrics (icons 32 x 32, small icons 16 x 16).
#ifndef _WIN32
void PostQuitMessage(int exitCode);
int GetSystemMetrics(int index);
#endif
