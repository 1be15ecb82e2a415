// The contract cases against the test double, so that what a unit test learns on the double
// holds on the card: the double stands in place of the system's services for the whole run and
// is prepared by filling its bytes.
#include <algorithm>
#include <cstring>

#include "driver/testing/DeviceDouble.h"
#include "driver/tests/ContractCard.h"

namespace {
CDeviceDouble g_card;
}

int PrepareContractCard(const std::uint8_t* bytes, int size) {
    std::memset(g_card.eeprom, 0, sizeof g_card.eeprom);
    std::memcpy(g_card.eeprom, bytes, static_cast<std::size_t>(std::min(size, CNF_EEPROM_SIZE)));
    g_card.fileSize = size;
    g_card.oneOpenAtATime = true;  // as the card is held by a program
    return 1;
}

int ReadContractCard(std::uint8_t* bytes, int size) {
    const int held = std::min(size, CNF_EEPROM_SIZE);
    std::memcpy(bytes, g_card.eeprom, static_cast<std::size_t>(held));
    return held;
}

void CloseContractHandle(HANDLE device) {
    g_card.CloseDevice(device);
}

void RemoveContractCard() {
    g_card.fileSize = 0;
}

const CContractDifferences& ContractDifferences() {
    // Every answer is the emulated card's, the system's texts included.
    static const CContractDifferences asTheEmulatedCard{
        ERROR_INVALID_DATA, false,
        "The process cannot access the file because it is being used by another process.\r\n"};
    return asTheEmulatedCard;
}
