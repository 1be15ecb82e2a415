#pragma once

#include "wintypes/WinTypes.h"

// FormatMessageA for system messages, as far as the program uses it, over a given text:
// text is the message for messageId, or nullptr when the system has none. Honours
// FORMAT_MESSAGE_ALLOCATE_BUFFER (then buffer points to the char* that receives a block to be
// released with EmulatedLocalFree) and copies into the caller's buffer otherwise. Returns the
// characters stored without the terminator, or 0 with the thread's last error set.
DWORD FormatEmulatedMessage(const char* text, DWORD flags, LPSTR buffer, DWORD size);

// FormatMessageA with the English system texts of the emulation.
DWORD EmulatedFormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                             LPSTR buffer, DWORD size, va_list* arguments);

// LocalFree for the blocks EmulatedFormatMessageA allocates: nullptr on success, as the system's.
HLOCAL EmulatedLocalFree(HLOCAL memory);
