#pragma once

#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

// What a host calls when the user acts. Each call checks that the window still exists, belongs
// to the innermost running dialog and takes input (it and its dialog enabled); otherwise it
// does nothing and returns 0. Delivered input returns 1 after the dialog's handler has run.
namespace framework {

// A pick of entry index in a combo box: the selection and shown text change, then the dialog
// gets exactly one WM_COMMAND(CBN_SELCHANGE), also when that entry was selected already.
int UserPick(const WindowState& combo, int index);
// A click on a button: WM_COMMAND(BN_CLICKED). Hidden buttons can be clicked this way (a host or
// a script may send it), disabled ones cannot.
int UserClick(const WindowState& button);
// Enter: the focused push button, else the default push button, else IDOK; nothing when that
// button is disabled.
int UserEnter(const WindowState& dialog);
// Escape and the close box: IDCANCEL, unless the dialog's Cancel button is disabled.
int UserEscape(const WindowState& dialog);
int UserClose(const WindowState& dialog);
// The help key: WM_COMMAND(ID_HELP), which goes on to the application object.
int UserHelp(const WindowState& dialog);
// Moves the focus (Tab, a mouse click) to a control that can take it.
int UserFocus(const WindowState& control);
// Text typed into a combo box's edit field: it becomes the shown text and the selection goes,
// as a program's SetWindowText does. Nothing is sent to the dialog, which never reads typed
// text.
int UserType(const WindowState& combo, const char* text);

// Painting: WM_PAINT through the dialog's map (a host calls it whenever it draws the dialog;
// the default paints through Host::DefaultPaint).
int UserPaint(const WindowState& dialog);
// What the window manager tells: minimised or restored, the client area's size in pixels.
int SetMinimized(const WindowState& dialog, bool minimized);
int SetClientSize(const WindowState& dialog, int width, int height);

// The native window of a framework window (the Win32 host), and the host's own data.
void SetNativeHandle(const WindowState& window, HWND handle);
void SetHostData(const WindowState& window, void* data);

}  // namespace framework
