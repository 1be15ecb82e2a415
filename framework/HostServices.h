#pragma once

#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

// What a front end calls in the framework besides the user's input (UserInput.h): the state of
// the modal loops, a message box's safe answer, and messages forwarded from native windows.
// The rest of the framework's message and window machinery is its own.
namespace framework {

// PostQuitMessage: every running modal loop ends (the innermost first, then each outer one as
// control returns to it), and DoModal returns -1 in each. The quit stays pending until
// AfxWinMain returns; a dialog started while it is pending ends right after OnInitDialog.
void PostQuit(int exitCode);
bool QuitPending();

// The innermost running dialog's window, nullptr when none runs.
const WindowState* ActiveDialog();

// The answer a box of this type gives when it cannot ask: OK for MB_OK, Cancel where the box
// has a Cancel button, No for MB_YESNO, Abort for MB_ABORTRETRYIGNORE. Saying no to a
// question is the answer that changes nothing.
int SafeAnswer(UINT type);

// Sends a message the way SendMessage does: to the bound C++ object's message map first, then
// to the default behaviour. Hosts use it to forward native messages.
LRESULT SendToWindow(const WindowState& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace framework
