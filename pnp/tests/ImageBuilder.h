#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "pnp/LogicalDevice.h"

// Puts EEPROM images together item by item for the tests. Unwritten bytes are erased (0xFF).
class ImageBuilder {
public:
    ImageBuilder();

    ImageBuilder& Bytes(std::initializer_list<std::uint8_t> bytes);
    ImageBuilder& Byte(std::uint8_t byte);
    // A card-level header of the given length with no Logical Device ID tag from offset 36 on.
    ImageBuilder& Header(int length);
    ImageBuilder& DeviceId(std::uint32_t id, std::uint8_t flags = 0);
    // Identifier string item as the program writes it: length n + 1, text, terminator.
    ImageBuilder& Identifier(std::string_view text);
    ImageBuilder& StartDependent(std::uint8_t priority = 0);
    ImageBuilder& Io(std::uint16_t minBase, std::uint16_t maxBase, std::uint8_t alignment,
                     std::uint8_t length, std::uint8_t info = 1);
    ImageBuilder& Irq(std::uint16_t mask);
    ImageBuilder& Dma(std::uint8_t mask, std::uint8_t flags = 0x28);
    ImageBuilder& EndDependent();
    // End tag and the checksum over offsets 32 up to it.
    ImageBuilder& EndTagWithChecksum();

    int Position() const { return position_; }
    const std::uint8_t (&Image() const)[EEPROM_SIZE] { return image_; }
    std::uint8_t (&Image())[EEPROM_SIZE] { return image_; }

private:
    std::uint8_t image_[EEPROM_SIZE];
    int position_ = 0;
};

// The buffers and records the setup dialog owns, as the reader and writer see them.
struct CardBuffers {
    std::uint8_t header[EEPROM_SIZE] = {};
    std::int32_t headerLength = 0;
    CLogicalDevice devices[MAX_LOGICAL_DEVICES];
    std::uint8_t writeImage[EEPROM_SIZE] = {};
    std::int32_t imageLength = 0;

    int Locate(const std::uint8_t (&image)[EEPROM_SIZE]);
    int Build();
};

// Sum of writeImage[32] through the last byte written, modulo 256.
std::uint8_t ChecksumRangeSum(const std::uint8_t* image, int length);

// A card whose six devices already have the writer's layout: rebuilt byte for byte.
ImageBuilder CanonicalCard();
