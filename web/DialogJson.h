#pragma once

#include <string>

#include "framework/WindowState.h"

// A dialog and its controls as the page draws them: the template's rectangles in dialog units
// and each control's state (text, entries and selection, enabled, visible, progress), as JSON.
std::string DialogJson(const framework::WindowState& dialog);
