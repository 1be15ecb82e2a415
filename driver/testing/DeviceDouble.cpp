#include "driver/testing/DeviceDouble.h"

#include <cstdint>
#include <cstring>

#include "driver/CardRequestRule.h"
#include "driver/EmulatedFormatMessage.h"
#include "driver/EmulatedLastError.h"
#include "driver/SystemErrorTexts.h"

namespace {
BOOL Fail(DWORD error) {
    EmulatedSetLastError(error);
    return FALSE;
}

HANDLE FailOpenWith(DWORD error) {
    EmulatedSetLastError(error);
    return INVALID_HANDLE_VALUE;
}
}  // namespace

CDeviceDouble::CDeviceDouble() = default;

CDeviceDouble::~CDeviceDouble() = default;

HANDLE CDeviceDouble::DeviceHandle() {
    return reinterpret_cast<HANDLE>(std::uintptr_t{0xCA4D});
}

void CDeviceDouble::FailOpen(DWORD error) {
    m_failOpen = true;
    m_openError = error;
}

void CDeviceDouble::FailReadAt(int address, DWORD error) {
    m_readFailures[address] = error;
}

void CDeviceDouble::FailWriteAt(int address, DWORD error) {
    m_writeFailures[address] = error;
}

void CDeviceDouble::StoreOtherValueAt(int address, std::uint8_t stored) {
    m_otherValues[address] = stored;
}

void CDeviceDouble::LeaveReadValueUnfilled(bool leave) {
    m_leaveReadValueUnfilled = leave;
}

void CDeviceDouble::SetSystemText(DWORD code, const std::string& text) {
    m_systemTexts[code] = text;
}

int CDeviceDouble::CloseDevice(HANDLE device) {
    if (!m_held || device != DeviceHandle()) {
        return 0;
    }
    m_held = false;
    return 1;
}

HANDLE CDeviceDouble::CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                  LPSECURITY_ATTRIBUTES securityAttributes,
                                  DWORD creationDisposition, DWORD flagsAndAttributes,
                                  HANDLE templateFile) {
    ++openCount;
    opens.push_back(COpen{fileName != nullptr ? fileName : "", desiredAccess, shareMode,
                          securityAttributes != nullptr, creationDisposition, flagsAndAttributes,
                          templateFile != nullptr});
    if (m_failOpen) {
        return FailOpenWith(m_openError);
    }
    if (const DWORD notTheCard = CardNameError(fileName); notTheCard != ERROR_SUCCESS) {
        return FailOpenWith(notTheCard);
    }
    if (const DWORD notACard = CardFileError(true, fileSize); notACard != ERROR_SUCCESS) {
        return FailOpenWith(notACard);
    }
    if (m_held && oneOpenAtATime) {
        return FailOpenWith(ERROR_SHARING_VIOLATION);
    }
    m_held = true;
    m_canRead = (desiredAccess & (GENERIC_READ | GENERIC_ALL)) != 0;
    m_canWrite = (desiredAccess & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    return DeviceHandle();
}

BOOL CDeviceDouble::DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer,
                                    DWORD inBufferSize, LPVOID outBuffer, DWORD outBufferSize,
                                    LPDWORD bytesReturned, LPOVERLAPPED overlapped) {
    CRequest request{};
    request.code = ioControlCode;
    if (inBuffer != nullptr) {
        std::memcpy(request.input, inBuffer, inBufferSize < 4 ? inBufferSize : 4);
    }
    request.inputSize = inBufferSize;
    request.hasOutput = outBuffer != nullptr;
    request.outputSize = outBufferSize;
    request.outputIsInput = outBuffer != nullptr && outBuffer == inBuffer;
    request.hasBytesReturned = bytesReturned != nullptr;
    request.hasOverlapped = overlapped != nullptr;
    requests.push_back(request);

    if (!m_held || device != DeviceHandle()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    const DWORD refusal = CardRequestError(ioControlCode, m_canRead, m_canWrite && !readOnly,
                                           inBuffer, inBufferSize, outBuffer, outBufferSize);
    if (refusal != ERROR_SUCCESS) {
        return Fail(refusal);
    }
    return ioControlCode == IOCTL_CNF_READ_BYTE ? Read(inBuffer, outBuffer, bytesReturned)
                                                : Write(inBuffer, bytesReturned);
}

BOOL CDeviceDouble::IsReadOnlyCard(HANDLE device) {
    return readOnly && m_held && device == DeviceHandle() ? TRUE : FALSE;
}

BOOL CDeviceDouble::Read(LPCVOID inBuffer, LPVOID outBuffer, LPDWORD bytesReturned) {
    CNF_BYTE_REQUEST input;
    std::memcpy(&input, inBuffer, sizeof(input));
    const int address = static_cast<int>(CnfRequestAddress(&input));
    if (auto failure = m_readFailures.find(address); failure != m_readFailures.end()) {
        return Fail(failure->second);
    }
    if (!m_leaveReadValueUnfilled) {
        CNF_BYTE_REQUEST output = input;
        output.value = eeprom[address];
        output.reserved = 0;
        std::memcpy(outBuffer, &output, sizeof(output));
    }
    if (bytesReturned != nullptr) {
        *bytesReturned = sizeof(CNF_BYTE_REQUEST);
    }
    return TRUE;
}

BOOL CDeviceDouble::Write(LPCVOID inBuffer, LPDWORD bytesReturned) {
    CNF_BYTE_REQUEST input;
    std::memcpy(&input, inBuffer, sizeof(input));
    const int address = static_cast<int>(CnfRequestAddress(&input));
    if (auto failure = m_writeFailures.find(address); failure != m_writeFailures.end()) {
        return Fail(failure->second);
    }
    const auto other = m_otherValues.find(address);
    eeprom[address] = other != m_otherValues.end() ? other->second : input.value;
    if (bytesReturned != nullptr) {
        *bytesReturned = 0;
    }
    return TRUE;
}

DWORD CDeviceDouble::FormatMessageA(DWORD flags, LPCVOID /*source*/, DWORD messageId,
                                    DWORD /*languageId*/, LPSTR buffer, DWORD size,
                                    va_list* /*arguments*/) {
    const auto own = m_systemTexts.find(messageId);
    const char* text =
        own != m_systemTexts.end() ? own->second.c_str() : EnglishSystemErrorText(messageId);
    const DWORD length = FormatEmulatedMessage(text, flags, buffer, size);
    if (length != 0 && (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        ++unreleasedTexts;
    }
    return length;
}

HLOCAL CDeviceDouble::LocalFree(HLOCAL memory) {
    if (memory != nullptr) {
        --unreleasedTexts;
    }
    return EmulatedLocalFree(memory);
}

DWORD CDeviceDouble::GetLastError() {
    return EmulatedGetLastError();
}

void CDeviceDouble::Sleep(DWORD milliseconds) {
    sleeps.push_back(milliseconds);
}
