#include "cli/Interrupt.h"

#include <atomic>

#ifdef _WIN32
#include "wintypes/WinTypes.h"
#else
#include <signal.h>
#endif

namespace {

// Set from a signal handler, or on Windows from the thread the console runs its handler on:
// a lock-free atomic is safe in both.
std::atomic<int> g_requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        RequestInterrupt();
        return TRUE;  // handled: the process goes on to stop by itself
    }
    return FALSE;
}
#else
struct sigaction g_previousInterrupt;
struct sigaction g_previousTerminate;

void OnSignal(int) {
    RequestInterrupt();
}
#endif

}  // namespace

CInterruptScope::CInterruptScope() {
    g_requested.store(0);
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // a read or write of the card is finished, not broken off
    sigaction(SIGINT, &action, &g_previousInterrupt);
    sigaction(SIGTERM, &action, &g_previousTerminate);
#endif
}

CInterruptScope::~CInterruptScope() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
#else
    sigaction(SIGINT, &g_previousInterrupt, nullptr);
    sigaction(SIGTERM, &g_previousTerminate, nullptr);
#endif
}

bool InterruptRequested() {
    return g_requested.load() != 0;
}

void RequestInterrupt() {
    g_requested.store(1);
}
