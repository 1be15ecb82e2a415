// vymsetup.exe: the program on Windows, with the card's configuration driver.
#include <windows.h>

#include "win32/ProgramMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // No command line, and the dialog's own style decides how it shows.
    return RunWin32Program(instance);
}
