#include "win32/NativeControlSync.h"

#include <commctrl.h>

#include <string>

namespace {

std::string NativeEntryText(HWND combo, int index) {
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return std::string();
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

bool SameEntry(HWND combo, int index, const framework::ComboEntry& entry) {
    const auto data = static_cast<DWORD_PTR>(
        ::SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    return data == entry.data && NativeEntryText(combo, index) == entry.text;
}

}  // namespace

std::string NativeWindowText(HWND native) {
    const int length = ::GetWindowTextLengthA(native);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(native, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void SyncComboToNative(const framework::WindowState& combo, HWND native) {
    // Entries: keep the agreeing front of the list, redo the rest. Entries go in by index, never
    // through CB_ADDSTRING, so the sort style reorders nothing, as in the framework.
    const int wanted = static_cast<int>(combo.entries.size());
    int count = static_cast<int>(::SendMessageA(native, CB_GETCOUNT, 0, 0));
    int agreeing = 0;
    while (agreeing < wanted && agreeing < count &&
           SameEntry(native, agreeing, combo.entries[static_cast<std::size_t>(agreeing)])) {
        ++agreeing;
    }
    for (; count > agreeing; --count) {
        ::SendMessageA(native, CB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    }
    for (int i = agreeing; i < wanted; ++i) {
        const framework::ComboEntry& entry = combo.entries[static_cast<std::size_t>(i)];
        const LRESULT at = ::SendMessageA(native, CB_INSERTSTRING, static_cast<WPARAM>(i),
                                          reinterpret_cast<LPARAM>(entry.text.c_str()));
        if (at >= 0) {
            ::SendMessageA(native, CB_SETITEMDATA, static_cast<WPARAM>(at),
                           static_cast<LPARAM>(entry.data));
        }
    }

    // Selection and shown text. Without a selection the edit field may still show a text of
    // its own (the program set one, or the user typed one).
    const int selection = static_cast<int>(::SendMessageA(native, CB_GETCURSEL, 0, 0));
    if (combo.curSel >= 0 && combo.curSel < wanted) {
        if (selection != combo.curSel) {
            ::SendMessageA(native, CB_SETCURSEL, static_cast<WPARAM>(combo.curSel), 0);
        }
    } else if (selection != CB_ERR) {
        ::SendMessageA(native, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    if (NativeWindowText(native) != combo.text) {
        ::SetWindowTextA(native, combo.text.c_str());
    }
}

void SyncTextToNative(const framework::WindowState& window, HWND native) {
    if (NativeWindowText(native) != window.text) {
        ::SetWindowTextA(native, window.text.c_str());
    }
}

void SyncEnabledToNative(const framework::WindowState& window, HWND native) {
    if ((::IsWindowEnabled(native) != FALSE) != window.enabled) {
        ::EnableWindow(native, window.enabled ? TRUE : FALSE);
    }
}

void SyncVisibleToNative(const framework::WindowState& window, HWND native) {
    const bool shown = (::GetWindowLongA(native, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != window.visible) {
        ::ShowWindow(native, window.visible ? SW_SHOWNA : SW_HIDE);
    }
}

void SyncProgressToNative(const framework::WindowState& progress, HWND native) {
    PBRANGE range = {};
    ::SendMessageA(native, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    if (range.iLow != progress.rangeLow || range.iHigh != progress.rangeHigh) {
        ::SendMessageA(native, PBM_SETRANGE32, static_cast<WPARAM>(progress.rangeLow),
                       static_cast<LPARAM>(progress.rangeHigh));
    }
    if (::SendMessageA(native, PBM_GETPOS, 0, 0) != progress.pos) {
        ::SendMessageA(native, PBM_SETPOS, static_cast<WPARAM>(progress.pos), 0);
    }
}

void SyncIconsToNative(const framework::WindowState& dialog, HWND native) {
    const struct {
        WPARAM which;
        HICON icon;
    } slots[] = {{ICON_BIG, dialog.bigIcon}, {ICON_SMALL, dialog.smallIcon}};
    for (const auto& slot : slots) {
        if (reinterpret_cast<HICON>(::SendMessageA(native, WM_GETICON, slot.which, 0)) !=
            slot.icon) {
            ::SendMessageA(native, WM_SETICON, slot.which, reinterpret_cast<LPARAM>(slot.icon));
        }
    }
}

void SyncControlToNative(const framework::WindowState& control, HWND native) {
    switch (control.kind) {
        case framework::WindowKind::ComboBox:
            SyncComboToNative(control, native);
            break;
        case framework::WindowKind::Progress:
            SyncProgressToNative(control, native);
            break;
        default:
            SyncTextToNative(control, native);
            break;
    }
    SyncEnabledToNative(control, native);
    SyncVisibleToNative(control, native);
}
