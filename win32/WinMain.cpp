// vymsetup.exe: the program on Windows, with the card's configuration driver, or on the EEPROM
// image file its command line names.
#include <windows.h>

#include "win32/ProgramMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // The dialog's own style decides how it shows.
    return RunWin32Program(instance, commandLine);
}
