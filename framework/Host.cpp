#include "framework/Host.h"

#include <chrono>

#include "framework/ControlState.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/MessageQueue.h"
#include "framework/TickClock.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace framework {
namespace {

Host* g_host = nullptr;

// Takes a quit that reached the thread's native queue (the system's PostQuitMessage).
void TakeNativeQuit() {
#ifdef _WIN32
    MSG message;
    if (::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        PostQuit(static_cast<int>(message.wParam));
    }
#endif
}

// The rest of a pass of either loop, once neither an ended dialog nor a quit ends it: one
// posted message, else the timer that is due, else the user's input until the next timer.
void ServeOne(GenericHost& host) {
    if (DispatchOnePosted() || FireDueTimer(host.NowMs())) {
        return;
    }
    if (!host.WaitForInput(ActiveDialog(), TimeToNextTimer(host.NowMs()))) {
        PostQuit(kInputEndedExitCode);
    }
}

// Answers without asking and ends every dialog: what runs when no front end is installed.
class StandInHost final : public GenericHost {
public:
    int MessageBox(const WindowState*, const char*, const char*, UINT type) override {
        return SafeAnswer(type);
    }
    bool WaitForInput(const WindowState*, int) override { return false; }
};

}  // namespace

HDC Host::BeginPaint(const WindowState& window) {
    // A stand-in device context: only compared, never used as a real one.
    return reinterpret_cast<HDC>(const_cast<WindowState*>(&window));
}

HICON Host::LoadIcon(const CIconResource& icon, int size) {
    (void)size;
    return reinterpret_cast<HICON>(const_cast<CIconResource*>(&icon));
}

int Host::SystemMetric(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        default:
            return 0;
    }
}

std::uint64_t Host::NowMs() {
#ifdef _WIN32
    // The C++ steady clock of the 32-bit Windows runtime is the wall clock underneath, which
    // jumps when the user sets the time; the tick count does not, and every Windows has it.
    static CTickClock clock;
    return clock.Extend(::GetTickCount());
#else
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

INT_PTR GenericHost::RunModalDialog(CDialog& dialog) {
    InitDialog(dialog);
    TakeNativeQuit();  // a quit the initialisation posted keeps the dialog hidden on Windows too
    WindowState* window = LiveWindow(dialog.GetState());
    if (window != nullptr && !dialog.IsEnding() && !QuitPending()) {
        SetVisible(*window, true);  // a modal dialog is shown whatever its style says
        DialogShown(*window);
    }
    for (;;) {
        TakeNativeQuit();
        if (dialog.IsEnding()) {
            return dialog.GetModalResult();
        }
        if (QuitPending()) {
            return -1;
        }
        ServeOne(*this);
    }
}

int GenericHost::RunMessageLoop() {
    for (;;) {
        TakeNativeQuit();
        if (QuitPending()) {
            return QuitCode();
        }
        ServeOne(*this);
    }
}

Host& CurrentHost() {
    static StandInHost standIn;
    return g_host != nullptr ? *g_host : standIn;
}

Host* InstalledHost() {
    return g_host;
}

CScopedHost::CScopedHost(Host& host) : m_previous(g_host) {
    g_host = &host;
}

CScopedHost::~CScopedHost() {
    g_host = m_previous;
}

}  // namespace framework
