#include "win32/ProgramMain.h"

#include <commctrl.h>

#include <cstring>

#include "driver/CardFileChoice.h"
#include "framework/Framework.h"
#include "ui/SetupResources.h"
#include "win32/CommandLineWords.h"
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

constexpr char kProgramTitle[] = "VYM Card Setup";

// The card file the command line names, selected; 0 after telling the user what is wrong.
int SelectCardFromCommandLine(const char* commandLine) {
    // The words and the file names in them live for the whole run: the selection keeps a
    // pointer to its file.
    static char line[4 * MAX_PATH];
    constexpr int kMaxWords = 8;
    static char* words[kMaxWords + 1];
    char problem[sizeof line + 256];
    words[0] = const_cast<char*>("vymsetup");
    const std::size_t length = commandLine != nullptr ? std::strlen(commandLine) : 0;
    int count = -1;
    if (length < sizeof line) {
        std::memcpy(line, commandLine != nullptr ? commandLine : "", length + 1);
        count = SplitCommandLine(line, words + 1, kMaxWords);
    }
    const char* cardFile = nullptr;
    if (count < 0) {
        std::strcpy(problem, "The command line is too long.");
    } else if (CardFileArguments(count + 1, words, &cardFile, problem, sizeof problem) != 0 &&
               (cardFile == nullptr || SelectCardFile(cardFile, problem, sizeof problem) != 0)) {
        return 1;
    }
    std::strcat(problem, "\n\nUsage: vymsetup [--card FILE | FILE]");
    ::MessageBoxA(nullptr, problem, kProgramTitle, MB_OK | MB_ICONSTOP);
    return 0;
}

}  // namespace

int RunWin32Program(HINSTANCE instance, const char* commandLine) {
    if (!SelectCardFromCommandLine(commandLine)) {
        return 2;
    }

    // The progress bar is a common control; buttons, statics and combo boxes are the system's.
    // InitCommonControls registers it with every comctl32 there is, down to the one Windows 95
    // came with; the Ex form needs a newer one and its standard-classes flag the XP one.
    ::InitCommonControls();

    AfxSetResourceModule(&SetupResourceModule());
    char path[MAX_PATH];
    CWin32Host host(instance);
    // A card file shows in the title bar, as an editor shows the file it has open.
    if (const char* cardFile = SelectedCardFile()) {
        host.SetTitleFile(CardFileBaseName(cardFile));
    }
    return AfxWinMain(host, ExecutableName(path, sizeof path));
}
