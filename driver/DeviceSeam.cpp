#include "driver/DeviceSeam.h"

#include <atomic>

namespace {
// nullptr means the system's services; an atomic so that a reader on another thread never sees
// half a pointer while a test puts its services in place.
std::atomic<CDeviceApi*> g_currentApi{nullptr};
}  // namespace

HANDLE CForwardingDeviceApi::CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                         LPSECURITY_ATTRIBUTES securityAttributes,
                                         DWORD creationDisposition, DWORD flagsAndAttributes,
                                         HANDLE templateFile) {
    return m_next.CreateFileA(fileName, desiredAccess, shareMode, securityAttributes,
                              creationDisposition, flagsAndAttributes, templateFile);
}

BOOL CForwardingDeviceApi::DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer,
                                           DWORD inBufferSize, LPVOID outBuffer,
                                           DWORD outBufferSize, LPDWORD bytesReturned,
                                           LPOVERLAPPED overlapped) {
    return m_next.DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                                  outBufferSize, bytesReturned, overlapped);
}

DWORD CForwardingDeviceApi::GetLastError() {
    return m_next.GetLastError();
}

DWORD CForwardingDeviceApi::FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId,
                                           DWORD languageId, LPSTR buffer, DWORD size,
                                           va_list* arguments) {
    return m_next.FormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
}

HLOCAL CForwardingDeviceApi::LocalFree(HLOCAL memory) {
    return m_next.LocalFree(memory);
}

void CForwardingDeviceApi::Sleep(DWORD milliseconds) {
    m_next.Sleep(milliseconds);
}

BOOL CForwardingDeviceApi::IsReadOnlyCard(HANDLE device) {
    return m_next.IsReadOnlyCard(device);
}

CDeviceApi& CurrentDeviceApi() {
    CDeviceApi* api = g_currentApi.load();
    return api != nullptr ? *api : SystemDeviceApi();
}

CScopedDeviceApi::CScopedDeviceApi(CDeviceApi& api) : m_previous(g_currentApi.load()) {
    g_currentApi.store(&api);
}

CScopedDeviceApi::~CScopedDeviceApi() {
    g_currentApi.store(m_previous);
}
