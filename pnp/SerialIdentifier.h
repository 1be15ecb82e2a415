#pragma once

#include <cstdint>

// The card's 72-bit serial identifier at the start of the EEPROM, the one isolation reads: the
// card ID (most significant byte first), a 32-bit serial number (little-endian) and a check byte.
constexpr int SERIAL_IDENTIFIER_SIZE = 9;
constexpr int SERIAL_CHECK_BYTE = 8;
constexpr int SERIAL_NUMBER_START = 4;

// The check byte of a serial identifier: a linear feedback shift register run over its first
// 64 bits, least significant bit of each byte first.
constexpr std::uint8_t SerialIdentifierChecksum(const std::uint8_t* identifier) {
    std::uint8_t lfsr = 0x6A;
    for (int i = 0; i < SERIAL_CHECK_BYTE; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            const int input = (identifier[i] >> bit) & 1;
            const int feedback = ((lfsr ^ (lfsr >> 1)) & 1) ^ input;
            lfsr = static_cast<std::uint8_t>((feedback << 7) | (lfsr >> 1));
        }
    }
    return lfsr;
}
