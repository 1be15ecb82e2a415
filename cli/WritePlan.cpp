#include "cli/WritePlan.h"

std::vector<int> PlanWrites(const std::uint8_t (&card)[EEPROM_SIZE],
                            const std::uint8_t (&image)[EEPROM_SIZE], bool all) {
    std::vector<int> addresses;
    for (int address = 0; address < EEPROM_SIZE; ++address) {
        if (all || card[address] != image[address]) {
            addresses.push_back(address);
        }
    }
    return addresses;
}
