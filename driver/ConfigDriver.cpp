#include "driver/ConfigDriver.h"

#include "driver/DeviceSeam.h"
#include "pnp/ResourceTags.h"

// ReadImage fills the dialog's image buffers (EEPROM_SIZE bytes, the card's size as the records
// know it) through every address the driver serves: the two must be one size.
static_assert(CNF_EEPROM_SIZE == EEPROM_SIZE, "the driver's EEPROM is the image the records read");

namespace {

CNF_BYTE_REQUEST MakeRequest(std::uint16_t address, std::uint8_t value) {
    CNF_BYTE_REQUEST request;
    request.addressLow = static_cast<std::uint8_t>(address & 0xFF);
    request.addressHigh = static_cast<std::uint8_t>(address >> 8);
    request.value = value;
    request.reserved = 0;
    return request;
}

// Length of the UTF-8 character that starts with lead; a stray byte counts as one character,
// so a text that is not UTF-8 is still cut somewhere sensible.
int CharacterLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    return 1;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

int CConfigDriver::Open() {
    m_hDevice = CurrentDeviceApi().CreateFileA(CNF_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0,
                                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_hDevice != INVALID_HANDLE_VALUE) {
        return 1;
    }
    // Without an owner there is nobody to tell; the failure is still reported by the result.
    if (m_pOwner != nullptr) {
        m_pOwner->GetLastErrorText(TRUE);
    }
    return 0;
}

int CConfigDriver::ReadByte(std::uint16_t address, std::uint8_t* destination) {
    if (destination == nullptr) {
        return 0;
    }
    CNF_BYTE_REQUEST request = MakeRequest(address, 0);
    DWORD bytesReturned = 0;  // not examined: byte 2 is taken as the driver left it
    const BOOL succeeded = CurrentDeviceApi().DeviceIoControl(
        m_hDevice, IOCTL_CNF_READ_BYTE, &request, sizeof(request), &request, sizeof(request),
        &bytesReturned, nullptr);
    if (!succeeded) {
        return 0;
    }
    *destination = request.value;
    return 1;
}

int CConfigDriver::WriteByte(std::uint16_t address, std::uint8_t value) {
    CNF_BYTE_REQUEST request = MakeRequest(address, value);
    DWORD bytesReturned = 0;
    const BOOL succeeded =
        CurrentDeviceApi().DeviceIoControl(m_hDevice, IOCTL_CNF_WRITE_BYTE, &request,
                                           sizeof(request), nullptr, 0, &bytesReturned, nullptr);
    return succeeded ? 1 : 0;
}

DWORD CConfigDriver::LastError() const {
    return CurrentDeviceApi().GetLastError();
}

void CConfigDriver::PauseAfterWrite(DWORD milliseconds) const {
    CurrentDeviceApi().Sleep(milliseconds);
}

int CConfigDriver::IsReadOnly() const {
    return CurrentDeviceApi().IsReadOnlyCard(m_hDevice) ? 1 : 0;
}

int CConfigDriver::ReadImage(std::uint8_t* destination) {
    if (destination == nullptr) {
        return 0;
    }
    for (int address = 0; address < CNF_EEPROM_SIZE; ++address) {
        if (ReadByte(static_cast<std::uint16_t>(address), destination + address) != 1) {
            return 0;
        }
    }
    return 1;
}

const char* SystemErrorText(DWORD code, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return buffer;
    }
    buffer[0] = '\0';

    CDeviceApi& api = CurrentDeviceApi();
    char* systemText = nullptr;
    const DWORD length = api.FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<LPSTR>(&systemText), 0, nullptr);
    if (length == 0 || systemText == nullptr) {
        return buffer;  // the system has no text for this code
    }

    // Copy whole characters only, so a cut text never ends in half a multi-byte character.
    const int room = size - 1;
    int copied = 0;
    while (static_cast<DWORD>(copied) < length && systemText[copied] != '\0') {
        const unsigned char lead = static_cast<unsigned char>(systemText[copied]);
        int characterLength = CharacterLength(lead);
        for (int i = 1; i < characterLength; ++i) {
            const DWORD next = static_cast<DWORD>(copied + i);
            if (next >= length || !IsContinuation(static_cast<unsigned char>(systemText[next]))) {
                characterLength = 1;  // a broken sequence: its lead byte stands alone
                break;
            }
        }
        if (copied + characterLength > room) {
            break;
        }
        for (int i = 0; i < characterLength; ++i) {
            buffer[copied + i] = systemText[copied + i];
        }
        copied += characterLength;
    }
    buffer[copied] = '\0';
    api.LocalFree(systemText);
    return buffer;
}
