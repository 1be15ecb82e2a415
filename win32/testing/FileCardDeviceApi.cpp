#include "win32/testing/FileCardDeviceApi.h"

#include <cstring>

#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"

namespace {

BOOL SeekToAddress(HANDLE file, const CNF_BYTE_REQUEST& request) {
    const int address = request.addressLow | (request.addressHigh << 8);
    if (address >= CNF_EEPROM_SIZE) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    LARGE_INTEGER offset = {};
    offset.QuadPart = address;
    return ::SetFilePointerEx(file, offset, nullptr, FILE_BEGIN);
}

}  // namespace

HANDLE CFileCardDeviceApi::CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                       LPSECURITY_ATTRIBUTES securityAttributes,
                                       DWORD creationDisposition, DWORD flagsAndAttributes,
                                       HANDLE templateFile) {
    if (fileName == nullptr || std::strcmp(fileName, CNF_DEVICE_PATH) != 0) {
        return CForwardingDeviceApi::CreateFileA(fileName, desiredAccess, shareMode,
                                                 securityAttributes, creationDisposition,
                                                 flagsAndAttributes, templateFile);
    }
    char path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("VYMCNF_EEPROM", path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file = ::CreateFileA(path, desiredAccess, shareMode, securityAttributes,
                                creationDisposition, flagsAndAttributes, templateFile);
    if (file == INVALID_HANDLE_VALUE) {
        return file;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart != CNF_EEPROM_SIZE) {
        ::CloseHandle(file);
        ::SetLastError(ERROR_FILE_INVALID);
        return INVALID_HANDLE_VALUE;
    }
    m_cardFile = file;
    return file;
}

BOOL CFileCardDeviceApi::DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer,
                                         DWORD inBufferSize, LPVOID outBuffer, DWORD outBufferSize,
                                         LPDWORD bytesReturned, LPOVERLAPPED overlapped) {
    if (device == INVALID_HANDLE_VALUE || device != m_cardFile) {
        return CForwardingDeviceApi::DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize,
                                                     outBuffer, outBufferSize, bytesReturned,
                                                     overlapped);
    }
    if (bytesReturned != nullptr) {
        *bytesReturned = 0;
    }
    if (inBuffer == nullptr || inBufferSize != sizeof(CNF_BYTE_REQUEST)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CNF_BYTE_REQUEST request;
    std::memcpy(&request, inBuffer, sizeof request);
    DWORD transferred = 0;
    if (ioControlCode == IOCTL_CNF_READ_BYTE) {
        if (outBuffer == nullptr || outBufferSize != sizeof(CNF_BYTE_REQUEST)) {
            ::SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (!SeekToAddress(m_cardFile, request) ||
            !::ReadFile(m_cardFile, &request.value, 1, &transferred, nullptr) || transferred != 1) {
            ::SetLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        std::memcpy(outBuffer, &request, sizeof request);
        if (bytesReturned != nullptr) {
            *bytesReturned = sizeof request;
        }
        return TRUE;
    }
    if (ioControlCode == IOCTL_CNF_WRITE_BYTE) {
        if (outBuffer != nullptr || outBufferSize != 0) {
            ::SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        // A byte acknowledged is a byte on disk, as an EEPROM cell keeps it.
        if (!SeekToAddress(m_cardFile, request) ||
            !::WriteFile(m_cardFile, &request.value, 1, &transferred, nullptr) ||
            transferred != 1 || !::FlushFileBuffers(m_cardFile)) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        return TRUE;
    }
    ::SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
}
