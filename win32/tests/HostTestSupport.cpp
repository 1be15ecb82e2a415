#include "win32/tests/HostTestSupport.h"

#include <commctrl.h>

#include "framework/MessageQueue.h"
#include "ui/SetupResources.h"

namespace win32_testing {
namespace {

constexpr UINT kStepPeriodMs = 40;
constexpr UINT kWatchdogMs = 8000;

struct CRun {
    CWin32Host* host = nullptr;
    std::vector<Step> steps;
    std::size_t next = 0;
    bool running = false;  // a step is running (it may open a nested loop)
    UINT_PTR stepTimer = 0;
    UINT_PTR watchdog = 0;
};
CRun* g_run = nullptr;

void CALLBACK WatchdogTick(HWND, UINT, UINT_PTR, DWORD) {
    // Ends the innermost running dialog at each tick, with a result no test expects.
    if (g_run != nullptr && g_run->host->ActiveDialogWindow() != nullptr) {
        ::EndDialog(g_run->host->ActiveDialogWindow(), kStuck);
    }
}

void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_run == nullptr || g_run->running) {
        return;
    }
    HWND dialog = g_run->host->ActiveDialogWindow();
    if (dialog == nullptr || !::IsWindowVisible(dialog)) {
        return;  // not on screen yet
    }
    if (g_run->next >= g_run->steps.size()) {
        ::KillTimer(nullptr, g_run->stepTimer);
        g_run->stepTimer = 0;
        g_run->watchdog = ::SetTimer(nullptr, 0, kWatchdogMs, WatchdogTick);
        return;
    }
    g_run->running = true;
    Step step = g_run->steps[g_run->next++];
    step(dialog);
    g_run->running = false;
}

}  // namespace

CHostTestEnvironment::CHostTestEnvironment()
    : host(::GetModuleHandleA(nullptr)),
      m_previousResources(AfxGetResourceModule()),
      m_scopedHost(host) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    AfxSetResourceModule(&SetupResourceModule());
    framework::ResetMessageState();
}

CHostTestEnvironment::~CHostTestEnvironment() {
    framework::ResetMessageState();
    MSG quit;
    while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    AfxSetResourceModule(m_previousResources);
}

INT_PTR RunDialog(CWin32Host& host, CDialog& dialog, std::vector<Step> steps) {
    CRun run;
    run.host = &host;
    run.steps = std::move(steps);
    g_run = &run;
    run.stepTimer = ::SetTimer(nullptr, 0, kStepPeriodMs, StepTick);
    const INT_PTR result = dialog.DoModal();
    if (run.stepTimer != 0) {
        ::KillTimer(nullptr, run.stepTimer);
    }
    if (run.watchdog != 0) {
        ::KillTimer(nullptr, run.watchdog);
    }
    g_run = nullptr;
    return result;
}

HWND Control(HWND dialog, int id) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id) {
            return child;
        }
    }
    return nullptr;
}

void PressKey(HWND dialog, HWND control, UINT virtualKey) {
    (void)dialog;
    ::SetFocus(control);
    HWND focus = ::GetFocus();  // a combo box's edit field takes the focus for it
    ::PostMessageA(focus, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageA(focus, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

std::string NativeText(HWND window) {
    char text[1024] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string NativeEntry(HWND combo, int index) {
    char text[256] = {};
    if (::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >=
        static_cast<LRESULT>(sizeof text)) {
        return "(too long)";
    }
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

namespace {
CBoxAnswerer* g_answerer = nullptr;
}  // namespace

CBoxAnswerer::CBoxAnswerer(CWin32Host& host)
    : m_host(host),
      m_hook(::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId())),
      m_positionHook(
          ::SetWindowsHookExA(WH_CALLWNDPROCRET, PositionHook, nullptr, ::GetCurrentThreadId())) {
    g_answerer = this;
}

CBoxAnswerer::~CBoxAnswerer() {
    ::UnhookWindowsHookEx(m_positionHook);
    ::UnhookWindowsHookEx(m_hook);
    g_answerer = nullptr;
}

LRESULT CALLBACK CBoxAnswerer::PositionHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_answerer != nullptr && message->message == WM_WINDOWPOSCHANGED &&
        g_answerer->m_host.OwnsDialogWindow(message->hwnd)) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(message->lParam);
        if ((position->flags & SWP_SHOWWINDOW) != 0) {
            ++g_answerer->dialogShows;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_answerer != nullptr) {
        g_answerer->Seen(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CBoxAnswerer::Seen(HWND window) {
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770") {
        return;
    }
    if (m_host.OwnsDialogWindow(window)) {
        return;
    }
    CSeenBox box;
    box.caption = NativeText(window);
    box.ownedByDialog = m_host.OwnsDialogWindow(::GetWindow(window, GW_OWNER));
    bool hasOk = false;
    bool hasYes = false;
    bool hasNo = false;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::GetClassNameA(child, className, sizeof className);
        const int id = ::GetDlgCtrlID(child);
        // The box is not on screen yet: its buttons' own style says which it shows.
        const bool shown = (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (::lstrcmpiA(className, "Button") == 0 && shown) {
            hasOk = hasOk || id == IDOK;
            hasYes = hasYes || id == IDYES;
            hasNo = hasNo || id == IDNO;
        } else if (::lstrcmpiA(className, "Static") == 0) {
            if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                HICON icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
                if (icon == ::LoadIconA(nullptr, IDI_INFORMATION)) {
                    box.type |= MB_ICONINFORMATION;
                } else if (icon == ::LoadIconA(nullptr, IDI_QUESTION)) {
                    box.type |= MB_ICONQUESTION;
                } else if (icon == ::LoadIconA(nullptr, IDI_EXCLAMATION)) {
                    box.type |= MB_ICONEXCLAMATION;
                } else if (icon == ::LoadIconA(nullptr, IDI_HAND)) {
                    box.type |= MB_ICONSTOP;
                }
            } else if (box.text.empty()) {
                box.text = NativeText(child);
            }
        }
    }
    int answer = IDOK;
    if (hasYes && hasNo) {
        box.type |= MB_YESNO;
        answer = IDNO;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
    } else if (!hasOk) {
        box.type |= 0xF;  // a kind of box these tests do not expect
    }
    boxes.push_back(box);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

}  // namespace win32_testing
