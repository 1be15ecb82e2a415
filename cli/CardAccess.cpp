#include "cli/CardAccess.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "driver/CardIdentity.h"

int CCardAccess::Open() {
    if (m_driver.Open() == 1) {
        return 1;
    }
    // The card's own words (its file, its size, who holds it) over the system's text.
    const std::string problem = CardOpenProblem(m_driver.LastError());
    std::snprintf(m_reason, sizeof m_reason, "%s", problem.c_str());
    return 0;
}

int CCardAccess::ReadImage(std::uint8_t (&image)[EEPROM_SIZE]) {
    // Byte by byte, as the channel reads the image, but knowing where it failed.
    for (int address = 0; address < EEPROM_SIZE; ++address) {
        if (m_driver.ReadByte(static_cast<std::uint16_t>(address), &image[address]) != 1) {
            m_failedAddress = address;
            TakeLastError();
            return 0;
        }
    }
    return 1;
}

int CCardAccess::WriteByte(int address, std::uint8_t value) {
    if (m_driver.WriteByte(static_cast<std::uint16_t>(address), value) != 1) {
        m_failedAddress = address;
        TakeLastError();
        return 0;
    }
    return 1;
}

void CCardAccess::TakeLastError() {
    TakeReason(m_driver.LastError());
}

const char* CCardAccess::TakeReason(DWORD code) {
    SystemErrorText(code, m_reason, sizeof m_reason);
    // The system's texts end in a line end; here they stand inside a sentence.
    std::size_t length = std::strlen(m_reason);
    while (length > 0 && (m_reason[length - 1] == '\n' || m_reason[length - 1] == '\r' ||
                          m_reason[length - 1] == ' ')) {
        m_reason[--length] = '\0';
    }
    if (length == 0) {
        std::strcpy(m_reason, "the system gives no reason");
    }
    return m_reason;
}
