#pragma once

#include <cstdint>

// Sizes of the card's EEPROM and of the records that model it.
constexpr int EEPROM_SIZE = 2048;
constexpr int MAX_LOGICAL_DEVICES = 10;     // records the reader may fill
constexpr int WRITTEN_LOGICAL_DEVICES = 6;  // device slots the writer emits
constexpr int IDENTIFIER_DATA_SIZE = 80;
constexpr int FIRST_DEVICE_SEARCH_START = 36;  // no Logical Device ID stands before this offset
constexpr int CHECKSUM_START = 32;             // the checksum covers the image from here on

// ISA Plug and Play items. A small item's tag byte holds its item number in bits 6 to 3 and the
// length of its data in bits 2 to 0, so the tag tells the item's whole size; a large item's tag
// has bit 7 set and the item number below it, and a 16-bit length follows.
constexpr std::uint8_t SmallItemTag(int item, int dataLength) {
    return static_cast<std::uint8_t>((item << 3) | dataLength);
}
constexpr int SmallItemSize(std::uint8_t tag) {
    return 1 + (tag & 0x07);
}
constexpr std::uint8_t LargeItemTag(int item) {
    return static_cast<std::uint8_t>(0x80 | item);
}

// The tags the program knows.
constexpr std::uint8_t TAG_LOGICAL_DEVICE_ID = SmallItemTag(2, 5);
constexpr std::uint8_t TAG_IRQ_FORMAT = SmallItemTag(4, 2);
constexpr std::uint8_t TAG_DMA_FORMAT = SmallItemTag(5, 2);
constexpr std::uint8_t TAG_START_DEPENDENT = SmallItemTag(6, 1);  // with its priority byte
constexpr std::uint8_t TAG_END_DEPENDENT = SmallItemTag(7, 0);
constexpr std::uint8_t TAG_IO_PORT = SmallItemTag(8, 7);
constexpr std::uint8_t TAG_END = SmallItemTag(15, 1);            // its one byte is the checksum
constexpr std::uint8_t TAG_IDENTIFIER_STRING = LargeItemTag(2);  // ANSI

// The bytes as they stand on a card, for anyone comparing with a dump.
static_assert(TAG_LOGICAL_DEVICE_ID == 0x15 && TAG_IRQ_FORMAT == 0x22 && TAG_DMA_FORMAT == 0x2A &&
              TAG_START_DEPENDENT == 0x31 && TAG_END_DEPENDENT == 0x38 && TAG_IO_PORT == 0x47 &&
              TAG_END == 0x79 && TAG_IDENTIFIER_STRING == 0x82);

// Bytes in the image of each item, tag included.
constexpr int LOGICAL_DEVICE_ID_SIZE = SmallItemSize(TAG_LOGICAL_DEVICE_ID);
constexpr int IRQ_DESCRIPTOR_SIZE = SmallItemSize(TAG_IRQ_FORMAT);
constexpr int DMA_DESCRIPTOR_SIZE = SmallItemSize(TAG_DMA_FORMAT);
constexpr int START_DEPENDENT_SIZE = SmallItemSize(TAG_START_DEPENDENT);
constexpr int END_DEPENDENT_SIZE = SmallItemSize(TAG_END_DEPENDENT);
constexpr int IO_PORT_DESCRIPTOR_SIZE = SmallItemSize(TAG_IO_PORT);
constexpr int END_TAG_SIZE = SmallItemSize(TAG_END);

// An identifier string item: tag, 16-bit length (low byte first), text.
constexpr int IDENTIFIER_LENGTH_LOW = 1;
constexpr int IDENTIFIER_LENGTH_HIGH = 2;
constexpr int IDENTIFIER_HEADER_SIZE = 3;
constexpr int IDENTIFIER_TEXT_START = IDENTIFIER_HEADER_SIZE;

// What one dependent function record can hold.
constexpr int MAX_IO_PORTS = 4;
constexpr int MAX_DMA_CHANNELS = 3;
constexpr int MAX_IRQS = 2;
constexpr int MAX_DEPENDENT_FUNCTIONS = 3;

// DMA information byte the program writes: type A timing, count by byte, 8-bit transfers.
constexpr std::uint8_t DMA_FLAGS_8BIT_TYPE_A = 0x28;
