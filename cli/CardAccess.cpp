#include "cli/CardAccess.h"

#include <cstring>

#include "driver/CardFileChoice.h"

CCardAccess::CCardAccess() {
    m_driver.m_pOwner = this;
}

int CCardAccess::Open() {
    return m_driver.Open();
}

int CCardAccess::ReadImage(std::uint8_t (&image)[EEPROM_SIZE]) {
    // Byte by byte, as the channel reads the image, but knowing where it failed.
    for (int address = 0; address < EEPROM_SIZE; ++address) {
        if (m_driver.ReadByte(static_cast<std::uint16_t>(address), &image[address]) != 1) {
            m_failedAddress = address;
            GetLastErrorText(FALSE);
            return 0;
        }
    }
    return 1;
}

int CCardAccess::WriteByte(int address, std::uint8_t value) {
    if (m_driver.WriteByte(static_cast<std::uint16_t>(address), value) != 1) {
        m_failedAddress = address;
        GetLastErrorText(FALSE);
        return 0;
    }
    return 1;
}

const char* CCardAccess::GetLastErrorText(BOOL /*showMessage*/) {
    return TakeReason(m_driver.LastError());
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

const char* CardName() {
    const char* file = SelectedCardFile();
    return file != nullptr ? file : CNF_DEVICE_PATH;
}
