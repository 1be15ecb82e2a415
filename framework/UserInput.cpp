#include "framework/UserInput.h"

#include "framework/ControlState.h"
#include "framework/Host.h"
#include "framework/MessageQueue.h"

namespace framework {
namespace {

// The window, when the user can reach it now: live, in the innermost running dialog, enabled.
WindowState* Reachable(const WindowState& window) {
    WindowState* live = LiveWindow(&window);
    if (live == nullptr || &live->Dialog() != ActiveDialog() || !live->AcceptsInput()) {
        return nullptr;
    }
    return live;
}

WindowState& DialogOf(WindowState& window) {
    WindowState* dialog = &window;
    while (dialog->parent != nullptr) {
        dialog = dialog->parent;
    }
    return *dialog;
}

LPARAM HandleParam(const WindowState* window) {
    return reinterpret_cast<LPARAM>(window != nullptr ? window->nativeHandle : nullptr);
}

int SendCommand(WindowState& dialog, int id, UINT code, const WindowState* control) {
    SendToWindow(dialog, WM_COMMAND, MAKEWPARAM(id, code), HandleParam(control));
    return 1;
}

// The dialog a key meant for the whole dialog acts on: live and taking input, or null.
WindowState* LiveDialog(const WindowState& dialog) {
    WindowState* live = Reachable(dialog);
    return live != nullptr && live->IsDialog() ? live : nullptr;
}

// A disabled button cannot be pressed by its key either; a dialog without it can be.
bool ButtonTakesInput(const WindowState& dialog, int id) {
    const WindowState* button = dialog.FindChild(id);
    return button == nullptr || button->enabled;
}

}  // namespace

int UserPick(const WindowState& combo, int index) {
    WindowState* live = Reachable(combo);
    if (live == nullptr || live->kind != WindowKind::ComboBox || index < 0 ||
        index >= static_cast<int>(live->entries.size())) {
        return 0;
    }
    WindowState& dialog = DialogOf(*live);
    ComboSetCurSel(*live, index);
    if (live->IsFocusable()) {
        SetFocusTo(dialog, live->id);
    }
    return SendCommand(dialog, live->id, CBN_SELCHANGE, live);
}

int UserClick(const WindowState& button) {
    WindowState* live = Reachable(button);
    if (live == nullptr || live->kind != WindowKind::Button) {
        return 0;
    }
    WindowState& dialog = DialogOf(*live);
    if (live->IsFocusable() && live->IsPushButton()) {
        SetFocusTo(dialog, live->id);
    }
    return SendCommand(dialog, live->id, BN_CLICKED, live);
}

int UserEnter(const WindowState& dialog) {
    WindowState* live = LiveDialog(dialog);
    if (live == nullptr) {
        return 0;
    }
    const int id = live->DefaultButtonId();
    if (!ButtonTakesInput(*live, id)) {
        return 0;
    }
    return SendCommand(*live, id, BN_CLICKED, live->FindChild(id));
}

int UserEscape(const WindowState& dialog) {
    WindowState* live = LiveDialog(dialog);
    if (live == nullptr || !ButtonTakesInput(*live, IDCANCEL)) {
        return 0;
    }
    return SendCommand(*live, IDCANCEL, BN_CLICKED, live->FindChild(IDCANCEL));
}

int UserClose(const WindowState& dialog) {
    WindowState* live = LiveDialog(dialog);
    if (live == nullptr || !ButtonTakesInput(*live, IDCANCEL)) {
        return 0;
    }
    SendToWindow(*live, WM_CLOSE, 0, 0);
    return 1;
}

int UserHelp(const WindowState& dialog) {
    WindowState* live = LiveDialog(dialog);
    if (live == nullptr) {
        return 0;
    }
    return SendCommand(*live, ID_HELP, BN_CLICKED, nullptr);
}

int UserFocus(const WindowState& control) {
    WindowState* live = Reachable(control);
    if (live == nullptr || !live->IsFocusable()) {
        return 0;
    }
    SetFocusTo(DialogOf(*live), live->id);
    return 1;
}

int UserType(const WindowState& combo, const char* text) {
    WindowState* live = Reachable(combo);
    if (live == nullptr || live->kind != WindowKind::ComboBox) {
        return 0;
    }
    SetText(*live, text != nullptr ? text : "");
    return 1;
}

int UserPaint(const WindowState& dialog) {
    WindowState* live = LiveWindow(&dialog);
    if (live == nullptr || !live->IsDialog()) {
        return 0;
    }
    SendToWindow(*live, WM_PAINT, 0, 0);
    return 1;
}

int SetMinimized(const WindowState& dialog, bool minimized) {
    WindowState* live = LiveWindow(&dialog);
    if (live == nullptr || !live->IsDialog()) {
        return 0;
    }
    if (live->minimized != minimized) {
        live->minimized = minimized;
        CurrentHost().WindowChanged(*live, WindowChange::Minimized);
    }
    return 1;
}

int SetClientSize(const WindowState& dialog, int width, int height) {
    WindowState* live = LiveWindow(&dialog);
    if (live == nullptr || !live->IsDialog() || width < 0 || height < 0) {
        return 0;
    }
    live->clientWidth = width;
    live->clientHeight = height;
    CurrentHost().WindowChanged(*live, WindowChange::ClientSize);
    return 1;
}

void SetNativeHandle(const WindowState& window, HWND handle) {
    WindowState* live = LiveWindow(&window);
    if (live != nullptr) {
        live->nativeHandle = handle;
    }
}

void SetHostData(const WindowState& window, void* data) {
    WindowState* live = LiveWindow(&window);
    if (live != nullptr) {
        live->hostData = data;
    }
}

}  // namespace framework
