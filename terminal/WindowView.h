#pragma once

#include "framework/WindowState.h"
#include "terminal/DialogView.h"

// The terminal's view of a dialog the framework keeps: every control in template order with its
// current text, list, selection, enabled and visible state, and the focus.
CDialogView ViewOfDialog(const framework::WindowState& dialog);

// The dialog's control at a view index (the same order), or nullptr.
const framework::WindowState* ControlAt(const framework::WindowState& dialog, int index);
