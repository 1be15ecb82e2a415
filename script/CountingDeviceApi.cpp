#include "script/CountingDeviceApi.h"

#include "driver/ConfigDriver.h"

namespace {

// The table holds plain function pointers, so the counts live beside them; one runner a
// process puts the table in place.
long long g_writes = 0;
bool g_pacing = true;
const CDeviceApi* g_next = nullptr;  // the services that were in place before

HANDLE ForwardCreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile) {
    return g_next->CreateFileA(fileName, desiredAccess, shareMode, securityAttributes,
                               creationDisposition, flagsAndAttributes, templateFile);
}

BOOL CountDeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                          LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                          LPOVERLAPPED overlapped) {
    if (ioControlCode == IOCTL_CNF_WRITE_BYTE) {
        ++g_writes;
    }
    return g_next->DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                                   outBufferSize, bytesReturned, overlapped);
}

DWORD ForwardGetLastError() {
    return g_next->GetLastError();
}

DWORD ForwardFormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                            LPSTR buffer, DWORD size, va_list* arguments) {
    return g_next->FormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
}

HLOCAL ForwardLocalFree(HLOCAL memory) {
    return g_next->LocalFree(memory);
}

void PacedSleep(DWORD milliseconds) {
    if (g_pacing) {
        g_next->Sleep(milliseconds);
    }
}

const CDeviceApi kCountingApi = {
    ForwardCreateFileA,    CountDeviceIoControl, ForwardGetLastError,
    ForwardFormatMessageA, ForwardLocalFree,     PacedSleep,
};

}  // namespace

CCountingDeviceApi::CCountingDeviceApi()
    : m_next(CurrentDeviceApi()), m_outerNext(g_next), m_scope(kCountingApi) {
    g_next = &m_next;
    g_writes = 0;
    g_pacing = true;
}

CCountingDeviceApi::~CCountingDeviceApi() {
    g_next = m_outerNext;
}

long long CCountingDeviceApi::Writes() const {
    return g_writes;
}

void CCountingDeviceApi::ResetWrites() {
    g_writes = 0;
}

void CCountingDeviceApi::SetPacing(bool on) {
    g_pacing = on;
}

bool CCountingDeviceApi::Pacing() const {
    return g_pacing;
}
