#include "driver/DeviceSeam.h"

// On Windows the channel talks to the real configuration driver through Kernel32. Each
// service is wrapped so that the table's plain function types never depend on the system's
// calling convention.
namespace {

HANDLE SystemCreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                         LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                         DWORD flagsAndAttributes, HANDLE templateFile) {
    return ::CreateFileA(fileName, desiredAccess, shareMode, securityAttributes,
                         creationDisposition, flagsAndAttributes, templateFile);
}

BOOL SystemDeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                           LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                           LPOVERLAPPED overlapped) {
    return ::DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                             outBufferSize, bytesReturned, overlapped);
}

DWORD SystemGetLastError() {
    return ::GetLastError();
}

DWORD SystemFormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                           LPSTR buffer, DWORD size, va_list* arguments) {
    return ::FormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
}

HLOCAL SystemLocalFree(HLOCAL memory) {
    return ::LocalFree(memory);
}

void SystemSleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

constexpr CDeviceApi kKernel32Api = {
    SystemCreateFileA,    SystemDeviceIoControl, SystemGetLastError,
    SystemFormatMessageA, SystemLocalFree,       SystemSleep,
};

}  // namespace

const CDeviceApi& SystemDeviceApi() {
    return kKernel32Api;
}
