#pragma once

#include <cstdint>

// Sizes of the card's EEPROM and of the records that model it.
constexpr int EEPROM_SIZE = 2048;
constexpr int MAX_LOGICAL_DEVICES = 10;     // records the reader may fill
constexpr int WRITTEN_LOGICAL_DEVICES = 6;  // device slots the writer emits
constexpr int IDENTIFIER_DATA_SIZE = 80;
constexpr int FIRST_DEVICE_SEARCH_START = 36;  // no Logical Device ID stands before this offset
constexpr int CHECKSUM_START = 32;             // the checksum covers the image from here on

// The ISA Plug and Play tag bytes the program knows.
constexpr std::uint8_t TAG_LOGICAL_DEVICE_ID = 0x15;
constexpr std::uint8_t TAG_IRQ_FORMAT = 0x22;
constexpr std::uint8_t TAG_DMA_FORMAT = 0x2A;
constexpr std::uint8_t TAG_START_DEPENDENT = 0x31;
constexpr std::uint8_t TAG_END_DEPENDENT = 0x38;
constexpr std::uint8_t TAG_IO_PORT = 0x47;
constexpr std::uint8_t TAG_END = 0x79;
constexpr std::uint8_t TAG_IDENTIFIER_STRING = 0x82;

// Bytes in the image of each item, tag included.
constexpr int LOGICAL_DEVICE_ID_SIZE = 6;
constexpr int IRQ_DESCRIPTOR_SIZE = 3;
constexpr int DMA_DESCRIPTOR_SIZE = 3;
constexpr int START_DEPENDENT_SIZE = 2;
constexpr int IO_PORT_DESCRIPTOR_SIZE = 8;
constexpr int IDENTIFIER_HEADER_SIZE = 3;  // tag and 16-bit length
constexpr int END_TAG_SIZE = 2;            // End tag and checksum

// What one dependent function record can hold.
constexpr int MAX_IO_PORTS = 4;
constexpr int MAX_DMA_CHANNELS = 3;
constexpr int MAX_IRQS = 2;
constexpr int MAX_DEPENDENT_FUNCTIONS = 3;

// DMA information byte the program writes: type A timing, count by byte, 8-bit transfers.
constexpr std::uint8_t DMA_FLAGS_8BIT_TYPE_A = 0x28;
