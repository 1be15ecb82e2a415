#pragma once

#include "wintypes/WinTypes.h"

// The Kernel32 services the card channel and the write loop use, with Windows' signatures.
// The channel calls them through this interface so that the same code runs on the real driver
// (Windows), on the emulated card (everywhere else) and on a test double; a wrapper that changes
// one service derives from CForwardingDeviceApi and overrides just that one.
class CDeviceApi {
public:
    virtual HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                               LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                               DWORD flagsAndAttributes, HANDLE templateFile) = 0;
    virtual BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer,
                                 DWORD inBufferSize, LPVOID outBuffer, DWORD outBufferSize,
                                 LPDWORD bytesReturned, LPOVERLAPPED overlapped) = 0;
    virtual DWORD GetLastError() = 0;
    virtual DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                 LPSTR buffer, DWORD size, va_list* arguments) = 0;
    virtual HLOCAL LocalFree(HLOCAL memory) = 0;
    // The pause after a byte written to the EEPROM: returns no sooner than milliseconds after
    // it was called, measured on a clock that never jumps.
    virtual void Sleep(DWORD milliseconds) = 0;
    // Not a Kernel32 service: whether device, opened for reading and writing, reads only
    // because the card's file may not be written (the emulated card on a read-only file).
    // The driver grants both or fails the open, so by default a card is never read-only.
    virtual BOOL IsReadOnlyCard(HANDLE /*device*/) { return FALSE; }

protected:
    ~CDeviceApi() = default;
};

// Passes every service on to the services below it unchanged.
class CForwardingDeviceApi : public CDeviceApi {
public:
    explicit CForwardingDeviceApi(CDeviceApi& next) : m_next(next) {}

    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile) override;
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) override;
    DWORD GetLastError() override;
    DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments) override;
    HLOCAL LocalFree(HLOCAL memory) override;
    void Sleep(DWORD milliseconds) override;
    BOOL IsReadOnlyCard(HANDLE device) override;

protected:
    ~CForwardingDeviceApi() = default;

private:
    CDeviceApi& m_next;
};

// Kernel32 on Windows, the emulated card elsewhere.
CDeviceApi& SystemDeviceApi();

// The services in use: the system's unless a test or a front end has put others in their place.
CDeviceApi& CurrentDeviceApi();

// Puts api in place for the life of this object, and what was there before back at its end.
class CScopedDeviceApi {
public:
    explicit CScopedDeviceApi(CDeviceApi& api);
    ~CScopedDeviceApi();
    CScopedDeviceApi(const CScopedDeviceApi&) = delete;
    CScopedDeviceApi& operator=(const CScopedDeviceApi&) = delete;

private:
    CDeviceApi* m_previous;
};

// A wrapper of the services in use, in place for its own life: what a front end or a test puts
// in front of the card. Derive and override the services that change.
class CScopedForwardingDeviceApi : public CForwardingDeviceApi {
public:
    CScopedForwardingDeviceApi() : CForwardingDeviceApi(CurrentDeviceApi()), m_scope(*this) {}
    CScopedForwardingDeviceApi(const CScopedForwardingDeviceApi&) = delete;
    CScopedForwardingDeviceApi& operator=(const CScopedForwardingDeviceApi&) = delete;

protected:
    ~CScopedForwardingDeviceApi() = default;

private:
    CScopedDeviceApi m_scope;
};
