#pragma once

#include "driver/DeviceSeam.h"

// For test builds of the Windows program on machines without the card: the configuration
// device is served from a 2048-byte EEPROM image file, the file that VYMCNF_EEPROM names,
// through the real Kernel32 file services. Every other name and handle goes to the system's
// services as it is, and so do the error services and the pause, so a missing file shows the
// system's own text.
class CFileCardDeviceApi final : public CForwardingDeviceApi {
public:
    CFileCardDeviceApi() : CForwardingDeviceApi(SystemDeviceApi()) {}

    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile) override;
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) override;

private:
    HANDLE m_cardFile = INVALID_HANDLE_VALUE;  // the program opens the card once, never closes it
};
