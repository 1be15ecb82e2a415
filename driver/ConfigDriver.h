#pragma once

#include <cstdint>

#include "driver/Win32Api.h"

// The 4-byte buffer exchanged with the configuration driver for both requests.
struct CNF_BYTE_REQUEST {
    std::uint8_t addressLow;
    std::uint8_t addressHigh;
    std::uint8_t value;     // read: the byte read, on return; write: the byte to write
    std::uint8_t reserved;  // always sent as 0
};
static_assert(sizeof(CNF_BYTE_REQUEST) == 4);

// CTL_CODE(0x9C40, function, METHOD_BUFFERED, access)
constexpr DWORD IOCTL_CNF_READ_BYTE = 0x9C406450;   // function 0x914, FILE_READ_ACCESS
constexpr DWORD IOCTL_CNF_WRITE_BYTE = 0x9C40A44C;  // function 0x913, FILE_WRITE_ACCESS

constexpr const char* CONFIG_DEVICE_NAME = "\\\\.\\VymCnf";
constexpr int CONFIG_EEPROM_SIZE = 2048;

// Whoever owns the channel tells the user why the device could not be opened.
class CConfigDriverOwner {
public:
    // Shows (when showMessage) and returns the system's text for the calling thread's last
    // error.
    virtual const char* GetLastErrorText(BOOL showMessage) = 0;

protected:
    ~CConfigDriverOwner() = default;
};

// The program's whole channel to the card: one driver request per EEPROM byte.
class CConfigDriver {
public:
    // The handle is never closed: it stays open until the process ends.
    virtual ~CConfigDriver() = default;

    int Open();
    int ReadByte(std::uint16_t address, std::uint8_t* destination);
    int WriteByte(std::uint16_t address, std::uint8_t value);
    int ReadImage(std::uint8_t* destination);  // CONFIG_EEPROM_SIZE bytes

    CConfigDriverOwner* m_pOwner = nullptr;
    HANDLE m_hDevice = INVALID_HANDLE_VALUE;
};

// The system's text for an error code, copied into buffer (cut at a character boundary when
// it does not fit, "" when the system has none). Returns buffer.
const char* SystemErrorText(DWORD code, char* buffer, int size);
