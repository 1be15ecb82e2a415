// vymsetup-filecard.exe: the Windows program for machines without the card (tests, the
// screenshot): the configuration device is served from the EEPROM image file that
// VYMCNF_EEPROM names, everything else is the real program.
#include <windows.h>

#include "driver/DeviceSeam.h"
#include "win32/ProgramMain.h"
#include "win32/testing/FileCardDeviceApi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CFileCardDeviceApi fileCard;
    CScopedDeviceApi inPlace(fileCard);
    return RunWin32Program(instance);
}
