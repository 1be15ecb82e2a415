#pragma once

#include "protocol/CnfRequestRule.h"
#include "wintypes/WinTypes.h"

// The card's rules as a program meets them through Kernel32, in Windows error codes: one copy
// for every stand-in of the driver (the emulated card and the test double), judged as the
// driver judges (protocol/CnfRequestRule.h), so each fails a bad open or request alike.

// Why fileName does not open the card, ERROR_SUCCESS when it names it: the object manager
// compares names without regard to case, the device has nothing below it, and this machine has
// no other device.
DWORD CardNameError(LPCSTR fileName);

// Why a file cannot serve as the card, ERROR_SUCCESS when it can: only a regular file of exactly
// the EEPROM's size is a card, so a truncated dump or a wrong file is never half read and then
// rewritten.
DWORD CardFileError(bool regularFile, long long size);

// Why the card refuses a request on a handle opened with the given access, ERROR_SUCCESS when
// it serves it. The access the code asks for is checked before the buffers, as the system does
// before the driver sees the request.
DWORD CardRequestError(DWORD code, bool canRead, bool canWrite, LPCVOID input, DWORD inputSize,
                       LPCVOID output, DWORD outputSize);
