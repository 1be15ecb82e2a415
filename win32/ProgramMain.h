#pragma once

#include <windows.h>

// Runs the program on real dialog windows: takes the card file from the command line (the part
// after the program's name: --card FILE, -c FILE or FILE alone, as Explorer passes a file
// dropped on the program), registers the program's resources, makes the common controls
// available, and runs the application object through the Win32 host. A command line it cannot
// take is told in a message box and ends the program with 2. Returns the process exit code.
int RunWin32Program(HINSTANCE instance, const char* commandLine);
