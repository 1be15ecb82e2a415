#include "win32/ProgramMain.h"

#include <commctrl.h>

#include <cstring>

#include "framework/Framework.h"
#include "ui/SetupResources.h"
#include "win32/Win32Host.h"

namespace {

// The executable's name without folder and extension, for an application object that was
// given no name.
const char* ExecutableName(char* buffer, DWORD size) {
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, size);
    if (length == 0 || length >= size) {
        return nullptr;
    }
    char* name = buffer;
    for (char* p = buffer; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
        }
    }
    if (char* dot = std::strrchr(name, '.')) {
        *dot = '\0';
    }
    return name;
}

}  // namespace

int RunWin32Program(HINSTANCE instance) {
    // The progress bar is a common control; buttons, statics and combo boxes are the system's.
    // InitCommonControls registers it with every comctl32 there is, down to the one Windows 95
    // came with; the Ex form needs a newer one and its standard-classes flag the XP one.
    ::InitCommonControls();

    AfxSetResourceModule(&SetupResourceModule());
    char path[MAX_PATH];
    CWin32Host host(instance);
    return AfxWinMain(host, ExecutableName(path, sizeof path));
}
