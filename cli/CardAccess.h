#pragma once

#include <cstdint>

#include "driver/ConfigDriver.h"
#include "pnp/ResourceTags.h"

// vymcnf's hold on the card: the driver channel, and the system's text for whatever failed
// last, to be told on the command line instead of in a message box. The channel has no owner
// here: nothing is shown when the open fails, the command asks for the error itself.
class CCardAccess final {
public:
    CCardAccess() = default;
    CCardAccess(const CCardAccess&) = delete;
    CCardAccess& operator=(const CCardAccess&) = delete;

    // 1 when the card is open; 0 with Reason() telling why not in plain words that name the
    // card (its file on the emulated card), without a full stop.
    int Open();
    // All of the card's bytes; 0 with FailedAddress() and Reason() when a read fails.
    int ReadImage(std::uint8_t (&image)[EEPROM_SIZE]);
    // One byte; 0 with Reason() when the driver refuses it.
    int WriteByte(int address, std::uint8_t value);

    CConfigDriver& Driver() { return m_driver; }
    int FailedAddress() const { return m_failedAddress; }
    const char* Reason() const { return m_reason; }

    // The system's text for code as the reason.
    const char* TakeReason(DWORD code);

private:
    // The system's text for the error the channel's last request left, as the reason.
    void TakeLastError();

    CConfigDriver m_driver;
    int m_failedAddress = -1;
    char m_reason[1024] = "";
};

// The driver's device. Messages name the card by CardName() (driver/CardIdentity.h): the
// emulated card's file where there is one.
constexpr const char* CARD_NAME = CNF_DEVICE_PATH;
