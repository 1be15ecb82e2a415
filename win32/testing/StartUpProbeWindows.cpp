// The GUI entry of the 32-bit programs' start-up at work: writes the command line and show
// command WinMain got, and whether a static object was built before it, to the file
// startup-probe.txt in the current folder.
#include <windows.h>

#include <cstdio>

namespace {

int g_constructed = 0;

struct CBuiltBeforeWinMain {
    CBuiltBeforeWinMain() { g_constructed = 1; }
} g_builtBeforeWinMain;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    std::FILE* out = std::fopen("startup-probe.txt", "w");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "constructed %d\ncommand line [%s]\nshow %d\ninstance %d\nprevious %d\n",
                 g_constructed, commandLine, showCommand,
                 instance == ::GetModuleHandleA(nullptr) ? 1 : 0, previous == nullptr ? 0 : 1);
    std::fclose(out);
    return 4;
}
