#pragma once

#include <cstdint>

#include "driver/ConfigDriver.h"
#include "pnp/ResourceTags.h"

// vymcnf's hold on the card: the driver channel, and the system's text for whatever failed
// last, to be told on the command line instead of in a message box.
class CCardAccess final : public CConfigDriverOwner {
public:
    CCardAccess();
    CCardAccess(const CCardAccess&) = delete;
    CCardAccess& operator=(const CCardAccess&) = delete;

    // 1 when the card is open; 0 with Reason() telling why not.
    int Open();
    // All of the card's bytes; 0 with FailedAddress() and Reason() when a read fails.
    int ReadImage(std::uint8_t (&image)[EEPROM_SIZE]);
    // One byte; 0 with Reason() when the driver refuses it.
    int WriteByte(int address, std::uint8_t value);

    CConfigDriver& Driver() { return m_driver; }
    int FailedAddress() const { return m_failedAddress; }
    const char* Reason() const { return m_reason; }

    // Takes the system's text for the calling thread's last error as the reason (and returns
    // it); nothing is shown: the command tells the user in its own words.
    const char* GetLastErrorText(BOOL showMessage) override;
    // The system's text for code as the reason.
    const char* TakeReason(DWORD code);

private:
    CConfigDriver m_driver;
    int m_failedAddress = -1;
    char m_reason[1024] = "";
};

// The card's name as the user knows it, for messages: the card file named with --card, or the
// configuration driver's device.
const char* CardName();
