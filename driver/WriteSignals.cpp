#include "driver/WriteSignals.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include "wintypes/WinTypes.h"
#else
#include <signal.h>
#endif

namespace {

// Set from a signal handler, or on Windows from the thread the console runs its handler on:
// a lock-free atomic is safe in both.
std::atomic<int> g_noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT) {
        NoteWriteSignal(SIGINT);
        return TRUE;  // handled: the program goes on to stop by itself
    }
    if (event == CTRL_BREAK_EVENT) {
        NoteWriteSignal(SIGBREAK);
        return TRUE;
    }
    return FALSE;
}
#else
constexpr int kDeferredSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[sizeof kDeferredSignals / sizeof kDeferredSignals[0]];

void OnSignal(int signalNumber) {
    NoteWriteSignal(signalNumber);
}
#endif

}  // namespace

CWriteSignalScope::CWriteSignalScope() {
    g_noted.store(0);
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // a read or write of the card is finished, not broken off
    for (std::size_t i = 0; i < sizeof kDeferredSignals / sizeof kDeferredSignals[0]; ++i) {
        sigaction(kDeferredSignals[i], &action, &g_previous[i]);
    }
#endif
}

CWriteSignalScope::~CWriteSignalScope() {
#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
#else
    for (std::size_t i = 0; i < sizeof kDeferredSignals / sizeof kDeferredSignals[0]; ++i) {
        sigaction(kDeferredSignals[i], &g_previous[i], nullptr);
    }
#endif
}

int NotedWriteSignal() {
    return g_noted.load();
}

void NoteWriteSignal(int signalNumber) {
    int expected = 0;
    g_noted.compare_exchange_strong(expected, signalNumber);  // the first one counts
}

int ExitStatusAfterSignal(int signalNumber) {
    return 128 + signalNumber;
}
