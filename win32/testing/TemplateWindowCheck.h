#pragma once

#include <windows.h>

#include <string>

#include "framework/DialogTemplate.h"

// Compares a live dialog window with the template it was built from, as anybody can see it from
// outside the program: the dialog's caption and styles, and each direct child window in
// z-order (which is the template order and the tab order) with its class, ID, text, style,
// visibility and rectangle. Combo boxes are compared without their text (it is the entry the
// program selected) and without their height (the template's includes the dropped list).
//
// The system itself adjusts a few styles, on Windows as under Wine, and those adjustments are
// expected: a dialog gains WS_CLIPSIBLINGS and DS_3DLOOK and some extended styles, a combo box
// hands WS_VSCROLL to its list, a progress bar drops WS_BORDER for a border of its own.
//
// The caption is the template's, or "FILE - " and the template's when the program works on a
// card file (the title bar names it, as an editor's does).
//
// Returns the number of differences; each is described by one line appended to report.
int CheckDialogAgainstTemplate(HWND dialog, const CDialogTemplate& dialogTemplate,
                               std::string& report);

// Whether caption is the template's caption, alone or after "FILE - ".
bool IsTemplateCaption(const std::string& caption, const CDialogTemplate& dialogTemplate);

// The style that the system gives a control of that class created with templateStyle.
DWORD ExpectedNativeStyle(const char* className, DWORD templateStyle);
