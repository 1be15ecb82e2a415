#pragma once

#include <cstdint>

#include "framework/HostServices.h"
#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

class CDialog;

namespace framework {

// The one thread's message state: posted messages, the pending quit, the timers and the stack
// of running modal dialogs.

// The quit (PostQuit, QuitPending: HostServices.h) and its code.
int QuitCode();

// Forgets posted messages, timers and a pending quit (AfxWinMain starts and ends with it; test
// hosts call it so one test cannot leak into the next).
void ResetMessageState();

void PostToWindow(const WindowState& window, UINT message, WPARAM wParam, LPARAM lParam);
// Dispatches the oldest posted message; false when none is waiting.
bool DispatchOnePosted();

// Timers: SetTimer with the same ID on the same window restarts it.
UINT_PTR StartTimer(const WindowState& window, UINT_PTR id, UINT milliseconds, TIMERPROC proc,
                    std::uint64_t now);
bool StopTimer(const WindowState& window, UINT_PTR id);
// Fires the timer due earliest at now (one WM_TIMER); false when none is due.
bool FireDueTimer(std::uint64_t now);
// Milliseconds from now to the next timer, 0 when one is due, -1 when no timer runs.
int TimeToNextTimer(std::uint64_t now);
int TimerCount();
// Every posted message and timer of dialog's windows goes with the dialog.
void ForgetWindows(const WindowState& dialog);

// The running modal dialogs, innermost last.
void PushModal(CDialog& dialog);
void PopModal(CDialog& dialog);
CDialog* ActiveModalDialog();

}  // namespace framework
