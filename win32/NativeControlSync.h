#pragma once

#include <windows.h>

#include <string>

#include "framework/WindowState.h"

// Makes a native control show what the framework's window state says. The framework's state
// is the program's truth; the native control follows it after every change the program makes.
// None of these calls makes the native control notify its dialog in a way the program could
// take for the user's input: the host ignores notifications while it syncs.

// What a native window shows as its text.
std::string NativeWindowText(HWND native);

// Entries with their item data, then the selection and the shown text of a combo box.
void SyncComboToNative(const framework::WindowState& combo, HWND native);

// The window text of any other control or of a dialog.
void SyncTextToNative(const framework::WindowState& window, HWND native);

void SyncEnabledToNative(const framework::WindowState& window, HWND native);
void SyncVisibleToNative(const framework::WindowState& window, HWND native);
void SyncProgressToNative(const framework::WindowState& progress, HWND native);
void SyncIconsToNative(const framework::WindowState& dialog, HWND native);

// Everything of one control at once: used when the native dialog has just been created.
void SyncControlToNative(const framework::WindowState& control, HWND native);
