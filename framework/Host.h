#pragma once

#include <cstdint>

#include "framework/Resources.h"
#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

class CDialog;

namespace framework {

// A front end: it presents the windows the framework keeps and turns the user's input into the
// calls of UserInput.h. Install one with CScopedHost (AfxWinMain does it for the host it is
// given). Every hook runs on the one thread of the program, inside a framework call.
//
// Two ways to run dialogs:
//   - derive from GenericHost (terminal, unattended runner, test host): the framework runs the
//     modal loops and asks the host for input between posted messages and timers;
//   - derive from Host and implement RunModalDialog (the native Windows host): run a real
//     dialog, call InitDialog from its WM_INITDIALOG, forward WM_COMMAND, WM_TIMER, WM_PAINT and
//     WM_QUERYDRAGICON with SendToWindow, mirror WindowChanged into the native controls, end the
//     native dialog from DialogEnded, and report a native pick with UserPick.
class Host {
public:
    virtual ~Host() = default;

    // Runs dialog, whose windows exist (DialogCreated came first), until EndDialog or a quit;
    // returns what DoModal returns: the EndDialog value, or -1 when a quit ended the loop.
    virtual INT_PTR RunModalDialog(CDialog& dialog) = 0;
    // CWinApp::Run, for an application whose InitInstance returns TRUE: pumps posted messages
    // and timers until a quit; returns the quit code.
    virtual int RunMessageLoop() = 0;

    // A modal message box; returns IDOK, IDCANCEL, IDYES, IDNO, ... as fits type (MB_OK,
    // MB_YESNO, ... with MB_ICON* bits). owner is the window the box belongs to, or nullptr.
    // An answer that type does not offer is taken as the box's safe answer (see MessageBox.h).
    virtual int MessageBox(const WindowState* owner, const char* text, const char* caption,
                           UINT type) = 0;

    // Presentation hooks; the defaults do nothing.
    virtual void DialogCreated(const WindowState& dialog) { (void)dialog; }
    virtual void DialogShown(const WindowState& dialog) { (void)dialog; }  // after OnInitDialog
    virtual void DialogEnded(const WindowState& dialog, INT_PTR result) {  // EndDialog called
        (void)dialog;
        (void)result;
    }
    virtual void DialogDestroyed(const WindowState& dialog) { (void)dialog; }
    // The program wrote and closed a file (the diagnostic dump): its native path and size.
    virtual void FileWritten(const char* path, long size) {
        (void)path;
        (void)size;
    }
    // A write of the card is about to begin (see WriteNotice.h): 1 lets it begin. The default
    // has nowhere to tell and lets it.
    virtual int WriteStarting(const char* backupPath) {
        (void)backupPath;
        return 1;
    }
    virtual void WindowChanged(const WindowState& window, WindowChange change) {
        (void)window;
        (void)change;
    }

    // Painting: a CPaintDC begins and ends, DrawIcon draws on it, DefaultPaint paints a dialog
    // the ordinary way (the Win32 host's default processing), WM_ICONERASEBKGND's default erases
    // the background below a minimised window's icon.
    virtual HDC BeginPaint(const WindowState& window);
    virtual void EndPaint(const WindowState& window, HDC dc) {
        (void)window;
        (void)dc;
    }
    virtual void DrawIcon(const WindowState& window, HDC dc, int x, int y, HICON icon) {
        (void)window, (void)dc, (void)x, (void)y, (void)icon;
    }
    virtual void DefaultPaint(const WindowState& window) { (void)window; }
    virtual void EraseIconBackground(const WindowState& window, HDC dc) {
        (void)window;
        (void)dc;
    }

    // The handle of an icon resource at size x size pixels. The default is a handle that stands
    // for the resource (IconResourceOf gives it back); the Win32 host makes a real icon.
    virtual HICON LoadIcon(const CIconResource& icon, int size);

    // Timers of the framework's windows (the Win32 host starts native ones; the generic loop
    // needs nothing of the host).
    virtual void TimerSet(const WindowState& window, UINT_PTR id, UINT milliseconds) {
        (void)window, (void)id, (void)milliseconds;
    }
    virtual void TimerKilled(const WindowState& window, UINT_PTR id) {
        (void)window;
        (void)id;
    }

    virtual void QuitPosted(int exitCode) { (void)exitCode; }
    // The clock the framework's timers run on, in milliseconds. The default is the system's
    // steady clock; a host may drive its own (the unattended runner and the test host do not
    // wait for real).
    virtual std::uint64_t NowMs();
    // CWinApp::OnHelp: the help key; active is the innermost running dialog, if any.
    virtual void Help(const WindowState* active) { (void)active; }
    // GetSystemMetrics outside Windows: SM_CXICON/SM_CYICON 32, SM_CXSMICON/SM_CYSMICON 16.
    virtual int SystemMetric(int index);
};

// A host whose dialogs run in the framework's own modal loop. Each pass of the loop: end when
// the dialog ended or a quit is pending; else dispatch one posted message; else fire the timer
// that is due; else ask the host for input.
class GenericHost : public Host {
public:
    INT_PTR RunModalDialog(CDialog& dialog) override;
    int RunMessageLoop() override;

    // Waits up to timeoutMs (-1: no timer runs, wait as long as it takes) for the user and
    // delivers what the user did through UserInput.h, or returns having delivered nothing when
    // the time is up. active is the innermost running dialog (nullptr in RunMessageLoop).
    // Returns false when no input will ever come again (the script or the terminal ended): the
    // framework then ends every loop as PostQuitMessage(kInputEndedExitCode) does.
    virtual bool WaitForInput(const WindowState* active, int timeoutMs) = 0;
};

constexpr int kInputEndedExitCode = 1;

// The installed host; a silent stand-in when none is installed (it answers every message box
// with its safe answer, does not sleep, and ends every dialog as a quit would).
Host& CurrentHost();
Host* InstalledHost();

// Installs a host for the life of this object, putting the previous one back afterwards.
class CScopedHost {
public:
    explicit CScopedHost(Host& host);
    ~CScopedHost();
    CScopedHost(const CScopedHost&) = delete;
    CScopedHost& operator=(const CScopedHost&) = delete;

private:
    Host* m_previous;
};

}  // namespace framework
