#include "driver/CardReadBack.h"

int ReadBackAndCompare(CConfigDriver& driver, const std::uint8_t* expected, int count,
                       CReadBack* result) {
    *result = CReadBack{};
    for (int address = 0; address < count && address < CNF_EEPROM_SIZE; ++address) {
        std::uint8_t value = 0;
        if (driver.ReadByte(static_cast<std::uint16_t>(address), &value) != 1) {
            result->failedRead = address;
            result->readError = driver.LastError();
            return 0;
        }
        if (value != expected[address]) {
            if (result->differences == 0) {
                result->firstDifference = address;
            }
            ++result->differences;
        }
    }
    return result->differences == 0 ? 1 : 0;
}
