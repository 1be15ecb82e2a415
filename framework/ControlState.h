#pragma once

#include "framework/HostServices.h"
#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

namespace framework {

// What a window does with a message when no handler of its own takes it: the behaviour of the
// standard controls and of a dialog. Every change tells the host (WindowChanged); none sends a
// notification to the dialog, since only the user's input does that (UserInput.h).
LRESULT DefaultWindowProc(WindowState& window, UINT message, WPARAM wParam, LPARAM lParam);

// Window text; in a combo box, setting it removes the selection.
void SetText(WindowState& window, const char* text);
// Returns TRUE when the window was disabled before.
BOOL SetEnabled(WindowState& window, bool enabled);
void SetVisible(WindowState& window, bool visible);
void SetFocusTo(WindowState& dialog, int controlId);

// Combo box list: index -1 appends; entries keep the order they were inserted in, whatever the
// sort style. Results as the CB_ messages give them (CB_ERR for a bad index).
int ComboInsertString(WindowState& combo, int index, const char* text);
int ComboSetItemData(WindowState& combo, int index, DWORD_PTR data);
DWORD_PTR ComboGetItemData(const WindowState& combo, int index);
// index in the list: selects it and shows its text; -1 or out of range: no selection, no text.
int ComboSetCurSel(WindowState& combo, int index);
void ComboResetContent(WindowState& combo);

// Progress bar: returns the previous range as MAKELONG(low, high), the previous position.
LRESULT ProgressSetRange(WindowState& progress, int low, int high);
int ProgressSetPos(WindowState& progress, int pos);

}  // namespace framework
