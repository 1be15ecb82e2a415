#include "framework/Dialog.h"

#include "framework/ControlState.h"
#include "framework/Host.h"
#include "framework/MessageQueue.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    if (m_pState != nullptr) {
        return -1;
    }
    const CResourceModule* module = AfxGetResourceModule();
    const CDialogTemplate* dialogTemplate =
        module != nullptr ? module->FindDialog(static_cast<int>(m_templateId)) : nullptr;
    if (dialogTemplate == nullptr) {
        return -1;
    }

    CWnd* owner = m_pParentWnd;
    if (owner == nullptr) {
        CWinApp* app = AfxGetApp();
        owner = app != nullptr && app->m_pMainWnd != this ? app->m_pMainWnd : nullptr;
    }
    framework::WindowState* ownerWindow =
        owner != nullptr ? framework::LiveWindow(owner->GetState()) : nullptr;

    m_window = framework::BuildDialogWindows(*dialogTemplate, this);
    framework::WindowState& window = *m_window;
    window.nativeHandle = reinterpret_cast<HWND>(&window);
    for (auto& child : window.children) {
        child->nativeHandle = reinterpret_cast<HWND>(child.get());
    }
    framework::RegisterWindows(window);
    Attach(window);
    m_ending = false;
    m_result = -1;

    const bool disabledOwner = ownerWindow != nullptr && ownerWindow->enabled;
    if (disabledOwner) {
        framework::SetEnabled(*ownerWindow, false);
    }

    framework::Host& host = framework::CurrentHost();
    framework::PushModal(*this);
    host.DialogCreated(window);
    const INT_PTR result = host.RunModalDialog(*this);
    framework::PopModal(*this);

    if (disabledOwner && framework::LiveWindow(ownerWindow) != nullptr) {
        framework::SetEnabled(*ownerWindow, true);
    }

    // Destruction: timers and posted messages go, bound members lose their windows, and the
    // application stops calling this its main window.
    framework::ForgetWindows(window);
    host.DialogDestroyed(window);
    for (auto& child : window.children) {
        if (child->attached != nullptr) {
            child->attached->Detach();
        }
    }
    framework::ReleaseHandleObjects(window);
    Detach();
    framework::UnregisterWindows(window);
    m_window.reset();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
    }
    return result;
}

void CDialog::EndDialog(int result) {
    framework::WindowState* window = framework::LiveWindow(m_pState);
    if (window == nullptr) {
        return;
    }
    m_ending = true;
    m_result = result;
    framework::CurrentHost().DialogEnded(*window, result);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::RouteUnhandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // A command no handler of the dialog takes goes on to the application object (ID_HELP).
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->OnWndMsg(message, wParam, lParam, result) : FALSE;
}

namespace framework {

BOOL InitDialog(CDialog& dialog) {
    WindowState* window = LiveWindow(dialog.GetState());
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL result = dialog.OnInitDialog();
    window = LiveWindow(dialog.GetState());
    if (result && window != nullptr) {
        for (const auto& child : window->children) {
            if (child->IsFocusable()) {
                SetFocusTo(*window, child->id);
                break;
            }
        }
    }
    return result;
}

}  // namespace framework
