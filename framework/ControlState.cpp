#include "framework/ControlState.h"

#include <algorithm>
#include <cstring>

#include "framework/Host.h"
#include "framework/Wnd.h"

namespace framework {
namespace {

void Notify(const WindowState& window, WindowChange change) {
    CurrentHost().WindowChanged(window, change);
}

bool IsCombo(const WindowState& window) {
    return window.kind == WindowKind::ComboBox;
}

bool ValidIndex(const WindowState& combo, int index) {
    return index >= 0 && index < static_cast<int>(combo.entries.size());
}

const char* TextOf(LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return text != nullptr ? text : "";
}

// Copies text into a caller's buffer of size characters, cut to fit; returns the length copied.
LRESULT CopyText(const std::string& text, char* buffer, WPARAM size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<LRESULT>(length);
}

void HandleClose(WindowState& dialog) {
    const WindowState* cancel = dialog.FindChild(IDCANCEL);
    if (cancel != nullptr && !cancel->enabled) {
        return;  // a disabled Cancel button also refuses the close box
    }
    SendToWindow(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel != nullptr ? cancel->nativeHandle : nullptr));
}

}  // namespace

void SetText(WindowState& window, const char* text) {
    window.text = text != nullptr ? text : "";
    if (IsCombo(window) && window.curSel != -1) {
        window.curSel = -1;
        Notify(window, WindowChange::Selection);
    }
    Notify(window, WindowChange::Text);
}

BOOL SetEnabled(WindowState& window, bool enabled) {
    const BOOL wasDisabled = window.enabled ? FALSE : TRUE;
    if (window.enabled != enabled) {
        window.enabled = enabled;
        Notify(window, WindowChange::Enabled);
    }
    return wasDisabled;
}

void SetVisible(WindowState& window, bool visible) {
    if (window.visible != visible) {
        window.visible = visible;
        Notify(window, WindowChange::Visible);
    }
}

void SetFocusTo(WindowState& dialog, int controlId) {
    if (dialog.focusId != controlId) {
        dialog.focusId = controlId;
        Notify(dialog, WindowChange::Focus);
    }
}

int ComboInsertString(WindowState& combo, int index, const char* text) {
    const int count = static_cast<int>(combo.entries.size());
    if (index < -1 || index > count) {
        return CB_ERR;
    }
    const int at = index == -1 ? count : index;
    combo.entries.insert(combo.entries.begin() + at, ComboEntry{text != nullptr ? text : "", 0});
    if (combo.curSel >= at) {
        ++combo.curSel;  // the selected entry stays selected
    }
    Notify(combo, WindowChange::Entries);
    return at;
}

int ComboSetItemData(WindowState& combo, int index, DWORD_PTR data) {
    if (!ValidIndex(combo, index)) {
        return CB_ERR;
    }
    combo.entries[static_cast<std::size_t>(index)].data = data;
    Notify(combo, WindowChange::ItemData);
    return TRUE;
}

DWORD_PTR ComboGetItemData(const WindowState& combo, int index) {
    if (!ValidIndex(combo, index)) {
        return static_cast<DWORD_PTR>(CB_ERR);
    }
    return combo.entries[static_cast<std::size_t>(index)].data;
}

int ComboSetCurSel(WindowState& combo, int index) {
    if (!ValidIndex(combo, index)) {
        combo.curSel = -1;
        combo.text.clear();
        Notify(combo, WindowChange::Selection);
        return CB_ERR;
    }
    combo.curSel = index;
    combo.text = combo.entries[static_cast<std::size_t>(index)].text;
    Notify(combo, WindowChange::Selection);
    return index;
}

void ComboResetContent(WindowState& combo) {
    combo.entries.clear();
    combo.curSel = -1;
    combo.text.clear();
    Notify(combo, WindowChange::Entries);
}

LRESULT ProgressSetRange(WindowState& progress, int low, int high) {
    const LRESULT previous = MAKELONG(progress.rangeLow, progress.rangeHigh);
    progress.rangeLow = low;
    progress.rangeHigh = high;
    progress.pos = std::clamp(progress.pos, std::min(low, high), std::max(low, high));
    Notify(progress, WindowChange::ProgressRange);
    return previous;
}

int ProgressSetPos(WindowState& progress, int pos) {
    const int previous = progress.pos;
    const int low = std::min(progress.rangeLow, progress.rangeHigh);
    const int high = std::max(progress.rangeLow, progress.rangeHigh);
    progress.pos = std::clamp(pos, low, high);
    Notify(progress, WindowChange::ProgressPos);
    return previous;
}

LRESULT DefaultWindowProc(WindowState& window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            SetText(window, TextOf(lParam));
            return TRUE;
        case WM_GETTEXT:
            return CopyText(window.text, reinterpret_cast<char*>(lParam), wParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window.text.size());
        default:
            break;
    }
    if (window.IsDialog()) {
        switch (message) {
            case WM_SETICON: {
                HICON icon = reinterpret_cast<HICON>(lParam);
                HICON& slot = wParam == ICON_BIG ? window.bigIcon : window.smallIcon;
                HICON previous = slot;
                slot = icon;
                Notify(window, WindowChange::Icon);
                return reinterpret_cast<LRESULT>(previous);
            }
            case WM_GETICON:
                return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? window.bigIcon
                                                                    : window.smallIcon);
            case WM_PAINT:
                CurrentHost().DefaultPaint(window);
                return 0;
            case WM_ICONERASEBKGND:
                CurrentHost().EraseIconBackground(window, reinterpret_cast<HDC>(wParam));
                return TRUE;
            case WM_CLOSE:
                HandleClose(window);
                return 0;
            case DM_GETDEFID:
                return MAKELONG(window.DefaultButtonId(), DC_HASDEFID);
            default:
                return 0;
        }
    }
    if (IsCombo(window)) {
        switch (message) {
            case CB_INSERTSTRING:
                return ComboInsertString(window, static_cast<int>(static_cast<INT_PTR>(wParam)),
                                         TextOf(lParam));
            case CB_SETITEMDATA:
                return ComboSetItemData(window, static_cast<int>(static_cast<INT_PTR>(wParam)),
                                        static_cast<DWORD_PTR>(lParam));
            case CB_GETITEMDATA:
                return static_cast<LRESULT>(
                    ComboGetItemData(window, static_cast<int>(static_cast<INT_PTR>(wParam))));
            case CB_GETCOUNT:
                return static_cast<LRESULT>(window.entries.size());
            case CB_SETCURSEL:
                return ComboSetCurSel(window, static_cast<int>(static_cast<INT_PTR>(wParam)));
            case CB_GETCURSEL:
                return window.curSel;
            case CB_GETLBTEXTLEN: {
                const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
                if (!ValidIndex(window, index)) {
                    return CB_ERR;
                }
                return static_cast<LRESULT>(
                    window.entries[static_cast<std::size_t>(index)].text.size());
            }
            case CB_RESETCONTENT:
                ComboResetContent(window);
                return 0;
            default:
                return 0;
        }
    }
    if (window.kind == WindowKind::Progress) {
        switch (message) {
            case PBM_SETRANGE:
                return ProgressSetRange(window, LOWORD(lParam), HIWORD(lParam));
            case PBM_SETPOS:
                return ProgressSetPos(window, static_cast<int>(static_cast<INT_PTR>(wParam)));
            case PBM_DELTAPOS:
                return ProgressSetPos(window,
                                      window.pos + static_cast<int>(static_cast<INT_PTR>(wParam)));
            case PBM_GETPOS:
                return window.pos;
            default:
                return 0;
        }
    }
    return 0;
}

LRESULT SendToWindow(const WindowState& window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* live = LiveWindow(&window);
    if (live == nullptr) {
        return 0;
    }
    if (live->attached != nullptr) {
        return live->attached->WindowProc(message, wParam, lParam);
    }
    return DefaultWindowProc(*live, message, wParam, lParam);
}

}  // namespace framework
