#pragma once

#include "framework/HostServices.h"
#include "framework/WindowState.h"
#include "wintypes/WinTypes.h"

// A modal message box owned by the innermost running dialog (none when no dialog runs),
// captioned with the application's name (AfxGetAppName). helpContext is accepted and unused:
// there is no help file.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpContext = 0);

namespace framework {

// Whether a box of this type offers answer.
bool OffersAnswer(UINT type, int answer);

// Shows a box through the host. While a quit is pending no box is shown (as Windows does) and
// the safe answer is returned; an answer the type does not offer becomes the safe answer too.
int ShowMessageBox(const WindowState* owner, const char* text, const char* caption, UINT type);

}  // namespace framework
