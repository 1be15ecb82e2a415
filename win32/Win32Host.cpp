#include "win32/Win32Host.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/HostServices.h"
#include "framework/UserInput.h"
#include "win32/DialogTemplateBuilder.h"
#include "win32/IconFile.h"
#include "win32/NativeControlSync.h"

using framework::WindowChange;
using framework::WindowKind;
using framework::WindowState;

// One running native dialog.
struct CWin32Host::CNativeDialog {
    CWin32Host* host = nullptr;
    CDialog* dialog = nullptr;
    HWND window = nullptr;
    CNativeDialog* outer = nullptr;
    bool linked = false;
    bool initializing = false;
    bool ended = false;
    bool endedUnshown = false;  // ended by a quit before it was shown
    INT_PTR result = -1;
    // WM_PAINT in progress: whether the program painted or handed it to the default.
    bool painted = false;
    bool defaultPaint = false;
    PAINTSTRUCT paint = {};
};

namespace {

// "FILE - caption" in the title bar; the caption alone when the two do not fit.
void ShowTitleFile(HWND window, const char* fileName) {
    char caption[256];
    char title[MAX_PATH + sizeof caption + 4];
    const int length = ::GetWindowTextA(window, caption, sizeof caption);
    if (length <= 0 ||
        std::strlen(fileName) + 3 + static_cast<std::size_t>(length) >= sizeof title) {
        return;
    }
    std::strcpy(title, fileName);
    std::strcat(title, " - ");
    std::strcat(title, caption);
    ::SetWindowTextA(window, title);
}

// Counts the host as mirroring for the life of the object.
class CMirroring {
public:
    explicit CMirroring(int& depth) : m_depth(depth) { ++m_depth; }
    ~CMirroring() { --m_depth; }
    CMirroring(const CMirroring&) = delete;
    CMirroring& operator=(const CMirroring&) = delete;

private:
    int& m_depth;
};

// Templates are small (template 102 takes under 2 KB); this leaves room for any of ours.
constexpr int kTemplateBufferBytes = 64 * 1024;

const WindowState* ChildWithHandle(const WindowState& dialog, HWND native, int id) {
    for (const auto& child : dialog.children) {
        if (native != nullptr ? child->nativeHandle == native : child->id == id) {
            return child.get();
        }
    }
    return nullptr;
}

}  // namespace

namespace {
CWin32Host* g_hostWithHook = nullptr;
}  // namespace

CWin32Host::CWin32Host(HINSTANCE instance) : m_instance(instance) {
    if (g_hostWithHook == nullptr) {
        m_retrievalHook =
            ::SetWindowsHookExA(WH_GETMESSAGE, MessageRetrieved, nullptr, ::GetCurrentThreadId());
        g_hostWithHook = this;
    }
}

CWin32Host::~CWin32Host() {
    if (g_hostWithHook == this) {
        ::UnhookWindowsHookEx(m_retrievalHook);
        g_hostWithHook = nullptr;
    }
    for (const CLoadedIcon& loaded : m_icons) {
        ::DestroyIcon(loaded.icon);
    }
}

LRESULT CALLBACK CWin32Host::MessageRetrieved(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_hostWithHook != nullptr) {
        ++g_hostWithHook->m_inputSerial;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

CWin32Host::CNativeDialog* CWin32Host::DialogOf(const WindowState& window) {
    const WindowState* dialog = &window;
    while (dialog->parent != nullptr) {
        dialog = dialog->parent;
    }
    auto* native = static_cast<CNativeDialog*>(dialog->hostData);
    return native != nullptr && native->linked ? native : nullptr;
}

HWND CWin32Host::ActiveDialogWindow() const {
    return m_innermost != nullptr ? m_innermost->window : nullptr;
}

bool CWin32Host::OwnsDialogWindow(HWND window) const {
    for (const CNativeDialog* native = m_innermost; native != nullptr; native = native->outer) {
        if (native->window == window) {
            return true;
        }
    }
    return false;
}

INT_PTR CWin32Host::RunModalDialog(CDialog& dialog) {
    WindowState* state = framework::LiveWindow(dialog.GetState());
    if (state == nullptr || state->dialogTemplate == nullptr) {
        return -1;
    }
    std::vector<DWORD> buffer(kTemplateBufferBytes / sizeof(DWORD));
    if (BuildDialogTemplateEx(*state->dialogTemplate,
                              reinterpret_cast<std::uint8_t*>(buffer.data()),
                              kTemplateBufferBytes) < 0) {
        return -1;
    }

    CNativeDialog native;
    native.host = this;
    native.dialog = &dialog;
    native.outer = m_innermost;
    // The owner is the dialog that runs now (the setup dialog for the progress dialog); the
    // system disables it while this one runs, as the framework does with its own state.
    HWND owner = m_innermost != nullptr ? m_innermost->window : nullptr;
    m_innermost = &native;
    const INT_PTR nativeResult =
        ::DialogBoxIndirectParamA(m_instance, reinterpret_cast<LPCDLGTEMPLATEA>(buffer.data()),
                                  owner, DialogProc, reinterpret_cast<LPARAM>(&native));
    m_innermost = native.outer;

    if (WindowState* live = framework::LiveWindow(state)) {
        framework::SetHostData(*live, nullptr);
        for (auto& child : live->children) {
            framework::SetHostData(*child, nullptr);
        }
    }
    if (nativeResult == -1 && !native.linked) {
        return -1;  // the system could not create the dialog
    }
    if (native.ended) {
        return native.result;
    }
    // The system's modal loop ended on a quit (it leaves the quit in the queue for the loops
    // outside it): the framework ends its own loops the same way.
    MSG quit;
    if (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        const int code = static_cast<int>(quit.wParam);
        if (framework::QuitPending()) {
            ::PostQuitMessage(code);
        } else {
            framework::PostQuit(code);
        }
    }
    return -1;
}

int CWin32Host::RunMessageLoop() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    const int code = static_cast<int>(message.wParam);
    if (!framework::QuitPending()) {
        framework::PostQuit(code);
    }
    return code;
}

INT_PTR CALLBACK CWin32Host::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* native = reinterpret_cast<CNativeDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(native));
        native->window = window;
    }
    auto* native = reinterpret_cast<CNativeDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (native == nullptr) {
        return FALSE;
    }
    return native->host->HandleMessage(*native, message, wParam, lParam);
}

BOOL CWin32Host::LinkWindows(CNativeDialog& native) {
    WindowState* state = framework::LiveWindow(native.dialog->GetState());
    if (state == nullptr) {
        return FALSE;
    }
    // The dialog manager creates the controls in template order, each below the one before,
    // so the child windows in z-order are the template's items in order.
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(native.window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    if (children.size() != state->children.size()) {
        return FALSE;
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (::GetDlgCtrlID(children[i]) != state->children[i]->id) {
            return FALSE;
        }
    }
    framework::SetNativeHandle(*state, native.window);
    framework::SetHostData(*state, &native);
    for (std::size_t i = 0; i < children.size(); ++i) {
        framework::SetNativeHandle(*state->children[i], children[i]);
        framework::SetHostData(*state->children[i], &native);
    }
    native.linked = true;

    // The native controls start from the template as the framework's do; make sure of it.
    CMirroring mirroring(m_mirroring);
    for (const auto& child : state->children) {
        SyncControlToNative(*child, child->nativeHandle);
    }
    SyncEnabledToNative(*state, native.window);
    SyncIconsToNative(*state, native.window);
    return TRUE;
}

INT_PTR CWin32Host::HandleMessage(CNativeDialog& native, UINT message, WPARAM wParam,
                                  LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        if (!LinkWindows(native)) {
            ::EndDialog(native.window, -1);
            return FALSE;
        }
        native.initializing = true;
        const BOOL result = framework::InitDialog(*native.dialog);
        native.initializing = false;
        if (native.outer == nullptr && m_titleFile != nullptr) {
            ShowTitleFile(native.window, m_titleFile);
        }
        // A quit posted by the initialisation (the card could not be opened) ends the dialog
        // before the system shows it; the quit stays for the loops outside.
        MSG quit;
        if (!native.ended && ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            ::PostQuitMessage(static_cast<int>(quit.wParam));
            native.endedUnshown = true;
            ::EndDialog(native.window, -1);
        }
        return result;
    }
    if (!native.linked) {
        return FALSE;
    }
    WindowState* state = framework::LiveWindow(native.dialog->GetState());
    if (state == nullptr) {
        return FALSE;
    }

    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const UINT code = HIWORD(wParam);
            const WindowState* control =
                ChildWithHandle(*state, reinterpret_cast<HWND>(lParam), id);
            if (m_mirroring > 0) {
                ++m_droppedNotifications;
                return TRUE;
            }
            if (control != nullptr && control->kind == WindowKind::ComboBox) {
                HandleComboNotification(*control, code);
                return TRUE;
            }
            // Buttons, Enter (IDOK or the focused button), Escape and the close box (IDCANCEL):
            // the dialog manager has made them commands already.
            framework::SendToWindow(
                *state, WM_COMMAND, wParam,
                reinterpret_cast<LPARAM>(control != nullptr ? control->nativeHandle
                                                            : reinterpret_cast<HWND>(lParam)));
            return TRUE;
        }
        case WM_TIMER:
            framework::SendToWindow(*state, WM_TIMER, wParam, lParam);
            return TRUE;
        case WM_PAINT: {
            native.painted = false;
            native.defaultPaint = false;
            framework::SendToWindow(*state, WM_PAINT, wParam, lParam);
            const bool handled = native.painted && !native.defaultPaint;
            native.painted = false;
            native.defaultPaint = false;
            return handled ? TRUE : FALSE;
        }
        case WM_QUERYDRAGICON:
            // One of the messages whose result a dialog procedure returns itself.
            return static_cast<INT_PTR>(framework::SendToWindow(*state, WM_QUERYDRAGICON, 0, 0));
        case WM_WINDOWPOSCHANGING:
            // A dialog that ended in its initialisation (a quit posted there, the card not
            // found) is never shown: the dialog manager would show it before its loop ends.
            if (native.ended || native.endedUnshown) {
                auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
                position->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
                position->flags |= SWP_NOACTIVATE;
            }
            return FALSE;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                framework::SetMinimized(*state, true);
            } else if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
                framework::SetMinimized(*state, false);
                framework::SetClientSize(*state, LOWORD(lParam), HIWORD(lParam));
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void CWin32Host::HandleComboNotification(const WindowState& combo, UINT code) {
    HWND native = combo.nativeHandle;
    const int selection = static_cast<int>(::SendMessageA(native, CB_GETCURSEL, 0, 0));
    switch (code) {
        case CBN_SELCHANGE:
            // The user's pick: the framework selects and tells the dialog once. The system
            // may report one key press twice (Wine's combo box does for the arrow keys); the
            // same selection reported again for the same input is no second pick.
            if (selection >= 0) {
                if (m_lastPick.combo == &combo && m_lastPick.index == selection &&
                    m_lastPick.inputSerial == m_inputSerial) {
                    ++m_repeatedSelectionChanges;
                    break;
                }
                Pick(combo, selection);
            }
            break;
        case CBN_SELENDOK:
        case CBN_CLOSEUP:
            // A pick that reached the native list without a selection change notification
            // (the list took the typed text's entry when it dropped down) is a pick all the
            // same; one already taken is not taken again.
            if (selection >= 0 && selection != combo.curSel) {
                Pick(combo, selection);
            }
            break;
        case CBN_SELENDCANCEL: {
            // The user left the list without picking: the native control shows the
            // framework's choice again.
            CMirroring mirroring(m_mirroring);
            SyncComboToNative(combo, native);
            break;
        }
        case CBN_EDITCHANGE:
            TakeTypedText(combo);
            break;
        default:
            break;
    }
}

void CWin32Host::Pick(const WindowState& combo, int index) {
    m_lastPick.combo = &combo;
    m_lastPick.index = index;
    m_lastPick.inputSerial = m_inputSerial;
    if (!framework::UserPick(combo, index)) {
        // The framework refused it (the combo box cannot take input now): the native control
        // goes back to what the program's state says.
        if (WindowState* live = framework::LiveWindow(&combo)) {
            CMirroring mirroring(m_mirroring);
            SyncComboToNative(*live, live->nativeHandle);
        }
    }
}

void CWin32Host::TakeTypedText(const WindowState& combo) {
    // Typing in the edit field: the combo box shows the typed text and no longer a selection,
    // in the framework as it does there for a program's SetWindowText. Nothing is sent to the
    // dialog: the program does not read typed text.
    WindowState* live = framework::LiveWindow(&combo);
    if (live == nullptr) {
        return;
    }
    HWND native = live->nativeHandle;
    const std::string typed = NativeWindowText(native);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(native, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    framework::UserType(*live, typed.c_str());  // mirrored back through WindowChanged
    ::SendMessageA(native, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

int CWin32Host::MessageBox(const WindowState* owner, const char* text, const char* caption,
                           UINT type) {
    HWND ownerWindow = nullptr;
    if (owner != nullptr && DialogOf(*owner) != nullptr) {
        ownerWindow = owner->nativeHandle;
    }
    return ::MessageBoxA(ownerWindow, text, caption, type);
}

void CWin32Host::DialogEnded(const WindowState& dialog, INT_PTR result) {
    CNativeDialog* native = DialogOf(dialog);
    if (native == nullptr) {
        return;
    }
    native->ended = true;
    native->result = result;
    ::EndDialog(native->window, result);
}

void CWin32Host::DialogDestroyed(const WindowState& dialog) {
    (void)dialog;  // the system destroyed the native windows when its modal loop ended
}

void CWin32Host::WindowChanged(const WindowState& window, WindowChange change) {
    CNativeDialog* native = DialogOf(window);
    if (native == nullptr || window.nativeHandle == nullptr) {
        return;
    }
    HWND handle = window.nativeHandle;
    CMirroring mirroring(m_mirroring);
    switch (change) {
        case WindowChange::Text:
        case WindowChange::Entries:
        case WindowChange::ItemData:
        case WindowChange::Selection:
            if (window.kind == WindowKind::ComboBox) {
                SyncComboToNative(window, handle);
            } else {
                SyncTextToNative(window, handle);
            }
            break;
        case WindowChange::Enabled:
            SyncEnabledToNative(window, handle);
            break;
        case WindowChange::Visible:
            if (!window.IsDialog()) {
                SyncVisibleToNative(window, handle);
            }
            break;
        case WindowChange::ProgressRange:
        case WindowChange::ProgressPos:
            SyncProgressToNative(window, handle);
            break;
        case WindowChange::Icon:
            SyncIconsToNative(window, handle);
            break;
        case WindowChange::Focus: {
            // While the dialog initialises, the dialog manager gives the focus itself when
            // WM_INITDIALOG returns TRUE, to the same first tab stop.
            const WindowState* focused = window.FindChild(window.focusId);
            if (native->initializing || focused == nullptr) {
                break;
            }
            HWND current = ::GetFocus();
            if (current != focused->nativeHandle && !::IsChild(focused->nativeHandle, current)) {
                ::SetFocus(focused->nativeHandle);
            }
            break;
        }
        case WindowChange::Minimized:
            if ((::IsIconic(handle) != FALSE) != window.minimized) {
                ::ShowWindow(handle, window.minimized ? SW_MINIMIZE : SW_RESTORE);
            }
            break;
        case WindowChange::ClientSize:
            break;  // the system's to tell, not the program's
    }
}

HDC CWin32Host::BeginPaint(const WindowState& window) {
    CNativeDialog* native = DialogOf(window);
    if (native == nullptr) {
        return nullptr;
    }
    native->painted = true;
    return ::BeginPaint(window.nativeHandle, &native->paint);
}

void CWin32Host::EndPaint(const WindowState& window, HDC dc) {
    CNativeDialog* native = DialogOf(window);
    if (native == nullptr || dc == nullptr) {
        return;
    }
    ::EndPaint(window.nativeHandle, &native->paint);
}

void CWin32Host::DrawIcon(const WindowState& window, HDC dc, int x, int y, HICON icon) {
    (void)window;
    if (dc != nullptr && icon != nullptr && ::DrawIcon(dc, x, y, icon)) {
        ++m_iconsDrawn;
    }
}

void CWin32Host::DefaultPaint(const WindowState& window) {
    // Within WM_PAINT: the dialog procedure returns FALSE and the system paints.
    if (CNativeDialog* native = DialogOf(window)) {
        native->defaultPaint = true;
    }
}

void CWin32Host::EraseIconBackground(const WindowState& window, HDC dc) {
    // The window's default, not the dialog's: the dialog's would come back to this dialog.
    if (DialogOf(window) != nullptr) {
        ::DefWindowProcA(window.nativeHandle, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
}

HICON CWin32Host::LoadIcon(const CIconResource& icon, int size) {
    for (const CLoadedIcon& loaded : m_icons) {
        if (loaded.id == icon.id && loaded.size == size) {
            return loaded.icon;
        }
    }
    // The executable's own icon resource, as the resource script holds it.
    HICON loaded = static_cast<HICON>(::LoadImageA(m_instance, MAKEINTRESOURCEA(icon.id),
                                                   IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (loaded == nullptr) {
        // An executable without the resource (a test): the icon made from the same data.
        const CIconFrame* frame = icon.FrameNearest(size);
        if (frame != nullptr && icon.palette.size() == ICON_PALETTE_SIZE) {
            const CIconImage image = {frame->width, frame->height, frame->rows};
            std::vector<std::uint8_t> bytes(
                static_cast<std::size_t>(IconImageSize(image) > 0 ? IconImageSize(image) : 0));
            const int length = BuildIconImage(image, icon.palette.first<ICON_PALETTE_SIZE>(),
                                              bytes.data(), static_cast<int>(bytes.size()));
            if (length > 0) {
                loaded = ::CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(length), TRUE,
                                                    0x00030000, size, size, LR_DEFAULTCOLOR);
            }
        }
    }
    if (loaded != nullptr) {
        m_icons.push_back({icon.id, size, loaded});
    }
    return loaded;
}

void CWin32Host::TimerSet(const WindowState& window, UINT_PTR id, UINT milliseconds) {
    if (DialogOf(window) != nullptr) {
        ::SetTimer(window.nativeHandle, id, milliseconds, nullptr);
    }
}

void CWin32Host::TimerKilled(const WindowState& window, UINT_PTR id) {
    if (DialogOf(window) != nullptr) {
        ::KillTimer(window.nativeHandle, id);
    }
}

void CWin32Host::QuitPosted(int exitCode) {
    ::PostQuitMessage(exitCode);
}

int CWin32Host::SystemMetric(int index) {
    return ::GetSystemMetrics(index);
}
