#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Framework.h"
#include "framework/Host.h"
#include "win32/Win32Host.h"

// What the Win32 host's tests share: the program's resources and a Win32 host installed for a
// test, a dialog run with steps that act on its native windows as the user would, and message
// boxes seen and answered as the user would.
namespace win32_testing {

class CHostTestEnvironment {
public:
    CHostTestEnvironment();
    ~CHostTestEnvironment();
    CHostTestEnvironment(const CHostTestEnvironment&) = delete;
    CHostTestEnvironment& operator=(const CHostTestEnvironment&) = delete;

    CWin32Host host;

private:
    const CResourceModule* m_previousResources;
    framework::CScopedHost m_scopedHost;
};

// One step, run from a timer of the thread while the dialog's real modal loop runs; the native
// window of the innermost running dialog is given. Input a step posts is taken by the system's
// loop (and its dialog manager) before the next step runs.
using Step = std::function<void(HWND dialog)>;

// Runs dialog modally with the steps; the last step must end it. A dialog still running a few
// seconds after the last step is ended with kStuck, so a broken test fails instead of hanging.
constexpr INT_PTR kStuck = -1000;
INT_PTR RunDialog(CWin32Host& host, CDialog& dialog, std::vector<Step> steps);

// The control with that ID in a native dialog, in template order among equal IDs.
HWND Control(HWND dialog, int id);
// A key as the user types it at the focused control.
void PressKey(HWND dialog, HWND control, UINT virtualKey);
std::string NativeText(HWND window);
std::string NativeEntry(HWND combo, int index);

// A message box as the user saw it.
struct CSeenBox {
    std::string caption;
    std::string text;
    UINT type = 0;  // buttons and icon, rebuilt from what the box shows
    bool ownedByDialog = false;
};

// Sees every message box of the thread and answers it: OK boxes with OK, questions with the
// next queued answer (No when none is queued).
class CBoxAnswerer {
public:
    explicit CBoxAnswerer(CWin32Host& host);
    ~CBoxAnswerer();
    CBoxAnswerer(const CBoxAnswerer&) = delete;
    CBoxAnswerer& operator=(const CBoxAnswerer&) = delete;

    std::vector<CSeenBox> boxes;
    std::deque<int> answers;  // IDYES, IDNO

    // Times a dialog of the host was put on screen.
    int dialogShows = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PositionHook(int code, WPARAM wParam, LPARAM lParam);
    void Seen(HWND window);

    CWin32Host& m_host;
    HHOOK m_hook;
    HHOOK m_positionHook;
};

}  // namespace win32_testing
