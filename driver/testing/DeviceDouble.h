#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "driver/DeviceSeam.h"
#include "protocol/CnfProtocol.h"

// A configuration driver for tests: serves the card's two requests from eeprom by the card's own
// rules (driver/CardRequestRule.h), records every call and fails the open, a read or a write
// where a test asks it to. It puts itself in place of the device services for its lifetime.
class CDeviceDouble final : public CDeviceApi {
public:
    CDeviceDouble();
    ~CDeviceDouble();
    CDeviceDouble(const CDeviceDouble&) = delete;
    CDeviceDouble& operator=(const CDeviceDouble&) = delete;

    std::uint8_t eeprom[CNF_EEPROM_SIZE] = {};  // the card's bytes

    struct CRequest {
        DWORD code;
        std::uint8_t input[4];  // the first bytes of the input buffer (zero past inputSize)
        DWORD inputSize;
        bool hasOutput;
        DWORD outputSize;
        bool outputIsInput;  // the same buffer passed as input and output
        bool hasBytesReturned;
        bool hasOverlapped;
    };
    std::vector<CRequest> requests;  // every DeviceIoControl, in order

    struct COpen {
        std::string fileName;
        DWORD desiredAccess;
        DWORD shareMode;
        bool hasSecurityAttributes;
        DWORD creationDisposition;
        DWORD flagsAndAttributes;
        bool hasTemplateFile;
    };
    std::vector<COpen> opens;  // every CreateFileA, in order
    int openCount = 0;         // CreateFileA calls

    std::vector<DWORD> sleeps;  // every Sleep(ms); the double does not really sleep

    // System texts handed out and not yet given back with LocalFree.
    int unreleasedTexts = 0;

    void FailOpen(DWORD error);  // CreateFileA fails with this last error
    void FailReadAt(int address, DWORD error = ERROR_READ_FAULT);
    void FailWriteAt(int address, DWORD error = ERROR_WRITE_FAULT);
    // A write to address is acknowledged, but the cell then holds stored instead of the byte
    // sent: a worn or stuck EEPROM cell.
    void StoreOtherValueAt(int address, std::uint8_t stored);
    void LeaveReadValueUnfilled(bool leave);  // the read succeeds without filling byte 2
    // The card opens for reading only, as the emulated card does on a file it may not write:
    // writes are refused with ERROR_ACCESS_DENIED and IsReadOnlyCard says so.
    bool readOnly = false;
    // The length of the file behind the card: the card refuses a file of any other length at
    // the open, as the emulated card does.
    long long fileSize = CNF_EEPROM_SIZE;

    // FormatMessageA gives text for code instead of the system's English text.
    void SetSystemText(DWORD code, const std::string& text);

    // One open at a time, as the driver serves the card: a second open before CloseDevice is a
    // sharing violation. Off unless a test asks, because a test runs program after program
    // against one double, and no program closes the card (its process ending does). Without
    // it the latest open's access is the one in force.
    bool oneOpenAtATime = false;

    // The handle a successful open returns; any other is refused as invalid.
    static HANDLE DeviceHandle();
    int CloseDevice(HANDLE device);  // 1 when device was the open handle

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
    void Sleep(DWORD milliseconds) override;  // recorded, not waited
    BOOL IsReadOnlyCard(HANDLE device) override;

private:
    // A request the card's rules let through.
    BOOL Read(LPCVOID inBuffer, LPVOID outBuffer, LPDWORD bytesReturned);
    BOOL Write(LPCVOID inBuffer, LPDWORD bytesReturned);

    bool m_failOpen = false;
    DWORD m_openError = ERROR_SUCCESS;
    std::map<int, DWORD> m_readFailures;
    std::map<int, DWORD> m_writeFailures;
    std::map<int, std::uint8_t> m_otherValues;
    bool m_leaveReadValueUnfilled = false;
    bool m_held = false;  // the open in force, with the access it was given
    bool m_canRead = false;
    bool m_canWrite = false;
    std::map<DWORD, std::string> m_systemTexts;

    CScopedDeviceApi m_scope{*this};
};
