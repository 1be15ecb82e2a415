#pragma once

#include <memory>

#include "framework/Wnd.h"

// A modal dialog built from a dialog template of the registered resource module.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the dialog's windows, runs it through the host until EndDialog or a quit, and
    // destroys the windows again. The owner is the parent given, else the application's main
    // window; it is disabled while the dialog runs. Returns the EndDialog value; -1 when a quit
    // ended the dialog, when the template is not registered, or when the object runs already.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Runs the data exchange (which binds the member controls); TRUE lets the framework give
    // the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    // OK: save the data exchange, then end with IDOK. Cancel: end with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    // EndDialog has been called in the current run.
    bool IsEnding() const { return m_ending; }
    INT_PTR GetModalResult() const { return m_result; }

protected:
    BOOL RouteUnhandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    DECLARE_MESSAGE_MAP()

private:
    UINT m_templateId;
    CWnd* m_pParentWnd;
    std::unique_ptr<framework::WindowState> m_window;
    bool m_ending = false;
    INT_PTR m_result = -1;
};

namespace framework {
// WM_INITDIALOG: OnInitDialog, then the focus to the first tab stop when it returned TRUE.
// The generic loop calls it; the Win32 host calls it from the native WM_INITDIALOG and returns
// its result there.
BOOL InitDialog(CDialog& dialog);
}  // namespace framework
