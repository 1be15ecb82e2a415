#pragma once

#include <cstdint>

#include "driver/ConfigDriver.h"

// What reading the card back found, compared with the bytes it should hold.
struct CReadBack {
    int differences = 0;       // bytes that differ from what was expected
    int firstDifference = -1;  // the lowest address that differs, -1 when none does
    int failedRead = -1;       // the address whose read failed, -1 when every read succeeded
    DWORD readError = 0;       // the driver's error for that read
};

// Reads EEPROM addresses 0 to count - 1 back through driver, one request each in ascending
// order, and compares each with expected[address]. Stops at the first read that fails. Returns
// 1 when every byte was read and equals what was expected, 0 otherwise (see result).
int ReadBackAndCompare(CConfigDriver& driver, const std::uint8_t* expected, int count,
                       CReadBack* result);
