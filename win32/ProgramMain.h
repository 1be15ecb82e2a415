#pragma once

#include <windows.h>

// Runs the program on real dialog windows: registers the program's resources, makes the common
// controls available, and runs the application object through the Win32 host. Returns the
// process exit code.
int RunWin32Program(HINSTANCE instance);
