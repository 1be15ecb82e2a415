#include "driver/Kernel32DeviceApi.h"

#include "driver/CardFileChoice.h"
#include "driver/EmulatedCard.h"

// On Windows the channel talks to the real configuration driver through Kernel32.
namespace {

class CKernel32DeviceApi final : public CDeviceApi {
public:
    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile) override {
        return ::CreateFileA(fileName, desiredAccess, shareMode, securityAttributes,
                             creationDisposition, flagsAndAttributes, templateFile);
    }

    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) override {
        return ::DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                                 outBufferSize, bytesReturned, overlapped);
    }

    DWORD GetLastError() override { return ::GetLastError(); }

    DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments) override {
        return ::FormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
    }

    HLOCAL LocalFree(HLOCAL memory) override { return ::LocalFree(memory); }

    // The system's Sleep counts in ticks of the system clock and may come back a little early;
    // the performance counter tells when the whole pause has passed.
    void Sleep(DWORD milliseconds) override {
        LARGE_INTEGER frequency;
        LARGE_INTEGER start;
        if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
            !::QueryPerformanceCounter(&start)) {
            ::Sleep(milliseconds + 1);  // no counter: one more millisecond covers an early tick
            return;
        }
        const LONGLONG wanted = frequency.QuadPart * milliseconds / 1000;
        for (DWORD rest = milliseconds; rest > 0;) {
            ::Sleep(rest);
            LARGE_INTEGER now;
            ::QueryPerformanceCounter(&now);
            const LONGLONG left = wanted - (now.QuadPart - start.QuadPart);
            rest = left > 0 ? static_cast<DWORD>((left * 1000 + frequency.QuadPart - 1) /
                                                 frequency.QuadPart)
                            : 0;
        }
    }
};

}  // namespace

CDeviceApi& Kernel32DeviceApi() {
    static CKernel32DeviceApi kernel32;
    return kernel32;
}

// The configuration driver, unless the user named a card file: then the emulated card over it.
CDeviceApi& SystemDeviceApi() {
    return SelectedCardFile() != nullptr ? EmulatedCardApi() : Kernel32DeviceApi();
}
