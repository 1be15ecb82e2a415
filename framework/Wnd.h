#pragma once

#include "framework/CmdTarget.h"
#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

class CDataExchange;

// A rectangle with the class library's helpers.
class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator LPRECT() { return this; }
};

// A window: a thin handle on the framework's window state. Before its window exists (a member
// control before the dialog runs, or after it ended) every call is harmless: setters do
// nothing, queries answer as for an empty, disabled, hidden window.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND GetSafeHwnd() const;
    framework::WindowState* GetState() const { return m_pState; }

    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR buffer, int maxCount) const;  // copies at most maxCount-1 chars
    int GetWindowTextLength() const;
    BOOL EnableWindow(BOOL enable = TRUE);  // TRUE when the window was disabled before
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;  // pixels, origin 0,0

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Caption nullptr: the application's name (AfxGetAppName).
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

    // The control with that ID in this dialog: the bound member object, else a handle the
    // framework keeps for the dialog's life; nullptr when there is none.
    CWnd* GetDlgItem(int id) const;

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    HICON GetIcon(BOOL bigIcon) const;

    // Runs DoDataExchange; FALSE when the window does not exist.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // The message in progress handed to the default behaviour.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds this object to an existing window (DDX_Control does it); FALSE when either is
    // bound already.
    BOOL Attach(framework::WindowState& window);
    void Detach();

protected:
    // Where a message goes that no entry of the window's map takes, before the default
    // behaviour; FALSE to go on to the default.
    virtual BOOL RouteUnhandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    framework::WindowState* m_pState = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The dialog and the direction of a data exchange.
class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds control (a member CComboBox or CProgressCtrl) to the dialog's control with ID id the
// first time; later exchanges leave it bound.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// A device context for painting one window.
class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT point, HICON icon) { return DrawIcon(point.x, point.y, icon); }

    HDC m_hDC = nullptr;

protected:
    const framework::WindowState* m_window = nullptr;
};

// Painting of a window between the host's begin and end of painting.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
};

namespace framework {
// The framework's own handle objects of unbound controls go with their dialog.
void ReleaseHandleObjects(const WindowState& dialog);
}  // namespace framework
