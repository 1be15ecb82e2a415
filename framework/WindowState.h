#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/DialogTemplate.h"
#include "wintypes/WinTypes.h"

class CWnd;
class CDialog;

namespace framework {

enum class WindowKind { Dialog, Button, GroupBox, ComboBox, Static, Progress, Other };

// What changed in a window, as hosts are told of it.
enum class WindowChange {
    Text,
    Entries,  // a combo box entry was inserted or the list emptied
    ItemData,
    Selection,  // combo box selection (its shown text changed with it)
    Enabled,
    Visible,
    ProgressRange,
    ProgressPos,
    Icon,   // the dialog's big or small icon
    Focus,  // the dialog's focused control
    Minimized,
    ClientSize,
};

struct ComboEntry {
    std::string text;
    DWORD_PTR data = 0;
};

// The state of one window: a dialog or one of its controls. The framework owns and changes it;
// hosts read it (they get it as const) and change it only through the calls in UserInput.h and
// Host.h, which tell everybody of the change. A dialog lists its controls in template order,
// hidden ones included.
class WindowState {
public:
    WindowKind kind = WindowKind::Other;
    std::string className;
    int id = -1;
    std::string text;  // caption, label, or the combo box's shown text
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units, relative to the dialog's client area
    bool visible = false;
    bool enabled = true;

    // Combo box.
    std::vector<ComboEntry> entries;
    int curSel = -1;

    // Progress bar.
    int rangeLow = 0;
    int rangeHigh = 100;
    int pos = 0;

    // Dialog.
    const CDialogTemplate* dialogTemplate = nullptr;
    std::vector<std::unique_ptr<WindowState>> children;  // template order = tab order
    bool minimized = false;
    int clientWidth = 0;  // pixels
    int clientHeight = 0;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    int focusId = 0;  // control with the focus, 0 for none

    WindowState* parent = nullptr;
    CWnd* attached = nullptr;     // the C++ object bound to this window, if any
    HWND nativeHandle = nullptr;  // the Win32 host's window; a unique stand-in elsewhere
    void* hostData = nullptr;     // for the host's own use

    bool IsDialog() const { return kind == WindowKind::Dialog; }
    bool IsPushButton() const;
    bool IsDefaultPushButton() const;
    // A control the user can reach with Tab: visible, enabled, tab stop, in an enabled dialog.
    bool IsFocusable() const;
    // Accepts user input: enabled, and its dialog enabled too.
    bool AcceptsInput() const;
    const WindowState* FindChild(int controlId) const;
    WindowState* FindChild(int controlId);
    const WindowState& Dialog() const;
    // The ID Enter acts on: the focused push button, else the default push button, else IDOK.
    int DefaultButtonId() const;
};

// Builds the window of a dialog and its controls from a template (every item: visible from
// WS_VISIBLE, enabled from !WS_DISABLED); the client size comes from the dialog units at the
// base units of an 8-point dialog font (6 x 13 pixels per 4 x 8 units).
std::unique_ptr<WindowState> BuildDialogWindows(const CDialogTemplate& dialogTemplate,
                                                CDialog* dialog);

WindowKind KindOfClass(const char* className, std::uint32_t style);

// The live windows: those built and not yet destroyed. A pointer a host kept past a dialog's
// end is simply not found.
void RegisterWindows(WindowState& dialog);
void UnregisterWindows(WindowState& dialog);
WindowState* LiveWindow(const WindowState* window);

}  // namespace framework
