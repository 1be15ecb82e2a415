#pragma once

#include <windows.h>

#include <vector>

#include "framework/Framework.h"
#include "framework/Host.h"

// The framework's host on Windows: every dialog is a real dialog window made by the system's
// dialog manager from the template (an extended dialog template assembled in memory), with real
// BUTTON, STATIC, COMBOBOX and progress bar controls, run by the system's own modal loop.
//
// The framework's window state is the program's truth; the host keeps the native controls in
// step with it after every change the program makes (entries, item data, selection, text,
// enabled, visible, progress, icons), and turns what the user does to the native controls into
// the framework's user input: a pick in a combo box becomes the framework's pick, which sends
// the dialog exactly one CBN_SELCHANGE. Notifications that the native controls send while the
// host mirrors a change of the program's are dropped, so a selection the program makes never
// reaches a handler, whatever the system does.
class CWin32Host final : public framework::Host {
public:
    explicit CWin32Host(HINSTANCE instance);
    ~CWin32Host() override;
    CWin32Host(const CWin32Host&) = delete;
    CWin32Host& operator=(const CWin32Host&) = delete;

    INT_PTR RunModalDialog(CDialog& dialog) override;
    int RunMessageLoop() override;
    // The file the program works on, shown before the main dialog's caption ("FILE - caption").
    // fileName must live as long as the host.
    void SetTitleFile(const char* fileName) { m_titleFile = fileName; }
    int MessageBox(const framework::WindowState* owner, const char* text, const char* caption,
                   UINT type) override;

    void DialogEnded(const framework::WindowState& dialog, INT_PTR result) override;
    void DialogDestroyed(const framework::WindowState& dialog) override;
    void WindowChanged(const framework::WindowState& window,
                       framework::WindowChange change) override;

    HDC BeginPaint(const framework::WindowState& window) override;
    void EndPaint(const framework::WindowState& window, HDC dc) override;
    void DrawIcon(const framework::WindowState& window, HDC dc, int x, int y, HICON icon) override;
    void DefaultPaint(const framework::WindowState& window) override;
    void EraseIconBackground(const framework::WindowState& window, HDC dc) override;
    HICON LoadIcon(const CIconResource& icon, int size) override;

    void TimerSet(const framework::WindowState& window, UINT_PTR id, UINT milliseconds) override;
    void TimerKilled(const framework::WindowState& window, UINT_PTR id) override;
    void QuitPosted(int exitCode) override;
    int SystemMetric(int index) override;

    // Native notifications dropped because they came while the host mirrored a change of the
    // program's (tests look at it: on Windows and Wine it stays 0 for selections).
    int DroppedNotifications() const { return m_droppedNotifications; }
    // Selection changes that the system reported twice for one input of the user's and that
    // reached the dialog once.
    int RepeatedSelectionChanges() const { return m_repeatedSelectionChanges; }

    // Icons the program drew with DrawIcon (a minimised dialog paints its icon).
    int IconsDrawn() const { return m_iconsDrawn; }

    // The native window of the innermost running dialog, nullptr when none runs.
    HWND ActiveDialogWindow() const;
    // A window of one of the running dialogs (not a message box, for instance).
    bool OwnsDialogWindow(HWND window) const;

    struct CNativeDialog;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MessageRetrieved(int code, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(CNativeDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL LinkWindows(CNativeDialog& dialog);
    void HandleComboNotification(const framework::WindowState& combo, UINT code);
    void Pick(const framework::WindowState& combo, int index);
    void TakeTypedText(const framework::WindowState& combo);
    static CNativeDialog* DialogOf(const framework::WindowState& window);

    HINSTANCE m_instance;
    const char* m_titleFile = nullptr;
    CNativeDialog* m_innermost = nullptr;
    int m_mirroring = 0;
    int m_droppedNotifications = 0;
    int m_repeatedSelectionChanges = 0;
    int m_iconsDrawn = 0;
    // Counts the messages the thread's loops take from the queue, so that the notifications
    // one input of the user's causes can be told from those of the next.
    HHOOK m_retrievalHook = nullptr;
    unsigned m_inputSerial = 0;
    struct {
        const framework::WindowState* combo = nullptr;
        int index = -1;
        unsigned inputSerial = 0;
    } m_lastPick;
    // The icons loaded so far, one a resource and size; a handful, so a plain list (a tree would
    // bring the library's tree code, which the oldest CPUs cannot run).
    struct CLoadedIcon {
        int id;
        int size;
        HICON icon;
    };
    std::vector<CLoadedIcon> m_icons;
};
