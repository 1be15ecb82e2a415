// The entry point of a 32-bit GUI program (see StartUp.h).
#include <windows.h>

#include <cstdlib>

#include "win32/ProgramCommandLine.h"
#include "win32/StartUp.h"

extern "C" void WinMainCRTStartup() {
    StartUpRuntime(kWindowsProgram);
    STARTUPINFOA startupInfo = {};
    startupInfo.cb = sizeof startupInfo;
    ::GetStartupInfoA(&startupInfo);
    const int showCommand = (startupInfo.dwFlags & STARTF_USESHOWWINDOW) != 0
                                ? startupInfo.wShowWindow
                                : SW_SHOWDEFAULT;
    std::exit(::WinMain(::GetModuleHandleA(nullptr), nullptr,
                        const_cast<LPSTR>(CommandLineAfterProgramName(::GetCommandLineA())),
                        showCommand));
}
