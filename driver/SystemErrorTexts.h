#pragma once

#include "wintypes/WinTypes.h"

// The English system texts of the Windows error codes that the emulated card and the test
// double can produce, each ending in "\r\n" as the system's own do. nullptr for any other code.
const char* EnglishSystemErrorText(DWORD code);

// Every code the table knows, in ascending order (for tests and for listing).
int EnglishSystemErrorCodes(const DWORD** codes);
