#include "framework/Wnd.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/ControlState.h"
#include "framework/DialogTemplate.h"
#include "framework/Host.h"
#include "framework/MessageBox.h"
#include "framework/MessageQueue.h"
#include "framework/WinApp.h"

namespace {

struct CurrentMessage {
    UINT message = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
CurrentMessage g_currentMessage;

struct HandleObject {
    framework::WindowState* window;
    std::unique_ptr<CWnd> handle;
};
std::vector<HandleObject>& HandleObjects() {
    static std::vector<HandleObject> objects;
    return objects;
}

framework::WindowState* Live(framework::WindowState* window) {
    return framework::LiveWindow(window);
}

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    Detach();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;  // never leave the application pointing at a dead window
    }
}

HWND CWnd::GetSafeHwnd() const {
    framework::WindowState* window = Live(m_pState);
    return window != nullptr ? window->nativeHandle : nullptr;
}

void CWnd::SetWindowText(LPCSTR text) {
    if (Live(m_pState) != nullptr) {
        SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
    }
}

int CWnd::GetWindowText(LPSTR buffer, int maxCount) const {
    if (buffer == nullptr || maxCount <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return 0;
    }
    return static_cast<int>(framework::DefaultWindowProc(
        *window, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int CWnd::GetWindowTextLength() const {
    framework::WindowState* window = Live(m_pState);
    return window != nullptr ? static_cast<int>(window->text.size()) : 0;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return FALSE;
    }
    return framework::SetEnabled(*window, enable != FALSE);
}

BOOL CWnd::IsWindowEnabled() const {
    framework::WindowState* window = Live(m_pState);
    return window != nullptr && window->enabled ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return FALSE;
    }
    // Visible only when its dialog is visible too, as Windows answers.
    for (const framework::WindowState* w = window; w != nullptr; w = w->parent) {
        if (!w->visible) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CWnd::IsIconic() const {
    framework::WindowState* window = Live(m_pState);
    return window != nullptr && window->IsDialog() && window->minimized ? TRUE : FALSE;
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    *rect = RECT{0, 0, 0, 0};
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return;
    }
    if (window->IsDialog()) {
        rect->right = window->clientWidth;
        rect->bottom = window->clientHeight;
    } else {
        rect->right = dialog_units::ToPixelsX(window->cx);
        rect->bottom = dialog_units::ToPixelsY(window->cy);
    }
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return 0;
    }
    return framework::SendToWindow(*window, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return FALSE;
    }
    framework::PostToWindow(*window, message, wParam, lParam);
    return TRUE;
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    return framework::ShowMessageBox(Live(m_pState), text,
                                     caption != nullptr ? caption : AfxGetAppName(), type);
}

CWnd* CWnd::GetDlgItem(int id) const {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return nullptr;
    }
    framework::WindowState* control = window->FindChild(id);
    if (control == nullptr) {
        return nullptr;
    }
    if (control->attached != nullptr) {
        return control->attached;
    }
    auto& objects = HandleObjects();
    for (HandleObject& object : objects) {
        if (object.window == control) {
            return object.handle.get();
        }
    }
    auto handle = std::make_unique<CWnd>();
    handle->m_pState = control;  // a plain handle: does not bind, so DDX_Control still can
    objects.push_back({control, std::move(handle)});
    return objects.back().handle.get();
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return 0;
    }
    framework::Host& host = framework::CurrentHost();
    const UINT_PTR result = framework::StartTimer(*window, id, elapse, timerProc, host.NowMs());
    if (result != 0) {
        host.TimerSet(*window, id, elapse);
    }
    return result;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr || !framework::StopTimer(*window, id)) {
        return FALSE;
    }
    framework::CurrentHost().TimerKilled(*window, id);
    return TRUE;
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return nullptr;
    }
    return bigIcon ? window->bigIcon : window->smallIcon;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    if (Live(m_pState) == nullptr) {
        return FALSE;
    }
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange* pDX) {
    (void)pDX;
}

LRESULT CWnd::Default() {
    return DefWindowProc(g_currentMessage.message, g_currentMessage.wParam,
                         g_currentMessage.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage previous = g_currentMessage;
    g_currentMessage = {message, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result) &&
        !RouteUnhandled(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    g_currentMessage = previous;
    return result;
}

BOOL CWnd::RouteUnhandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    framework::WindowState* window = Live(m_pState);
    if (window == nullptr) {
        return 0;
    }
    return framework::DefaultWindowProc(*window, message, wParam, lParam);
}

BOOL CWnd::Attach(framework::WindowState& window) {
    if (m_pState != nullptr || window.attached != nullptr) {
        return FALSE;
    }
    m_pState = &window;
    window.attached = this;
    return TRUE;
}

void CWnd::Detach() {
    framework::WindowState* window = Live(m_pState);
    if (window != nullptr && window->attached == this) {
        window->attached = nullptr;
    }
    m_pState = nullptr;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (pDX == nullptr || pDX->m_pDlgWnd == nullptr || control.GetState() != nullptr) {
        return;
    }
    framework::WindowState* dialog = framework::LiveWindow(pDX->m_pDlgWnd->GetState());
    if (dialog == nullptr) {
        return;
    }
    framework::WindowState* window = dialog->FindChild(id);
    if (window != nullptr) {
        control.Attach(*window);
    }
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    if (icon == nullptr || m_window == nullptr || framework::LiveWindow(m_window) == nullptr) {
        return FALSE;
    }
    framework::CurrentHost().DrawIcon(*m_window, m_hDC, x, y, icon);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* wnd) {
    framework::WindowState* window =
        wnd != nullptr ? framework::LiveWindow(wnd->GetState()) : nullptr;
    if (window != nullptr) {
        m_window = window;
        m_hDC = framework::CurrentHost().BeginPaint(*window);
    }
}

CPaintDC::~CPaintDC() {
    if (m_window != nullptr && framework::LiveWindow(m_window) != nullptr) {
        framework::CurrentHost().EndPaint(*m_window, m_hDC);
    }
}

namespace framework {
void ReleaseHandleObjects(const WindowState& dialog) {
    auto& objects = HandleObjects();
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [&dialog](const HandleObject& object) {
                                     return object.window->parent == &dialog;
                                 }),
                  objects.end());
}
}  // namespace framework
