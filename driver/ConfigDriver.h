#pragma once

#include <cstdint>

#include "protocol/CnfProtocol.h"
#include "wintypes/WinTypes.h"

// The setup dialog, which owns its channel, tells the user why the device could not be opened.
// Other users of the channel set no owner and ask LastError() after a failed Open.
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
    int ReadImage(std::uint8_t* destination);  // CNF_EEPROM_SIZE bytes

    // The calling thread's last error, as the card's services left it after a failed open or
    // request.
    DWORD LastError() const;
    // The pause that gives the EEPROM its write cycle after a byte: through the card's services
    // (so a runner can set the pace), never shorter than milliseconds.
    void PauseAfterWrite(DWORD milliseconds) const;
    // 1 when the open card can be read but not written (its file may not be written).
    int IsReadOnly() const;

    CConfigDriverOwner* m_pOwner = nullptr;
    HANDLE m_hDevice = INVALID_HANDLE_VALUE;
};

// The system's text for an error code, copied into buffer (cut at a character boundary when
// it does not fit, "" when the system has none). Returns buffer.
const char* SystemErrorText(DWORD code, char* buffer, int size);
