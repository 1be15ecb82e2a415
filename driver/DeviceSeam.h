#pragma once

#include "driver/Win32Api.h"

// The Kernel32 services the card channel and the write loop use, with Windows' signatures.
// The channel calls them through this table so that the same code runs on the real driver
// (Windows), on the emulated card (everywhere else) and on a test double.
// One service a line: the formatter would split each signature off its name.
// clang-format off
struct CDeviceApi {
    HANDLE (*CreateFileA)(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile);
    BOOL (*DeviceIoControl)(HANDLE device, DWORD ioControlCode, LPVOID inBuffer,
                            DWORD inBufferSize, LPVOID outBuffer, DWORD outBufferSize,
                            LPDWORD bytesReturned, LPOVERLAPPED overlapped);
    DWORD (*GetLastError)();
    DWORD (*FormatMessageA)(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                            LPSTR buffer, DWORD size, va_list* arguments);
    HLOCAL (*LocalFree)(HLOCAL memory);
    void (*Sleep)(DWORD milliseconds);
};
// clang-format on

// Kernel32 on Windows, the emulated card elsewhere.
const CDeviceApi& SystemDeviceApi();

// The table in use: the system's unless a test or a front end has put another in its place.
const CDeviceApi& CurrentDeviceApi();

// Puts api in place for the life of this object (tests, the unattended runner's counting).
class CScopedDeviceApi {
public:
    explicit CScopedDeviceApi(const CDeviceApi& api);
    ~CScopedDeviceApi();
    CScopedDeviceApi(const CScopedDeviceApi&) = delete;
    CScopedDeviceApi& operator=(const CScopedDeviceApi&) = delete;

private:
    const CDeviceApi* m_previous;
};
