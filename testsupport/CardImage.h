#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "pnp/ResourceTags.h"

// Puts an EEPROM image together item by item, for the tests of every layer. Bytes never written
// hold 0xFF, as an erased EEPROM does; nothing is written past the EEPROM's end.
class CCardImage {
public:
    CCardImage();

    CCardImage& Byte(std::uint8_t byte);
    CCardImage& Bytes(std::initializer_list<std::uint8_t> bytes);
    // A card-level header of length bytes, all different from their neighbours so that a copy
    // one byte off shows, and with no Logical Device ID tag from offset 36 on.
    CCardImage& Header(int length = FIRST_DEVICE_SEARCH_START);
    CCardImage& DeviceId(std::uint32_t id, std::uint8_t flags = 0);
    // Identifier string item as the program writes it: length n + 1, the text, its terminator.
    CCardImage& Identifier(std::string_view text);
    CCardImage& Device(std::uint32_t id, std::string_view identifier) {
        return DeviceId(id).Identifier(identifier);
    }
    CCardImage& StartDependent(std::uint8_t priority = 0);
    CCardImage& Io(std::uint16_t minBase, std::uint16_t maxBase, std::uint8_t alignment,
                   std::uint8_t length, std::uint8_t info = 1);
    CCardImage& Irq(std::uint16_t mask);
    CCardImage& Dma(std::uint8_t mask, std::uint8_t flags = DMA_FLAGS_8BIT_TYPE_A);
    CCardImage& EndDependent();
    // End tag and the checksum over offsets 32 up to it.
    CCardImage& EndTag();

    int Length() const { return m_length; }
    const std::uint8_t (&Image() const)[EEPROM_SIZE] { return m_image; }
    std::uint8_t (&Image())[EEPROM_SIZE] { return m_image; }

private:
    std::uint8_t m_image[EEPROM_SIZE];
    int m_length = 0;
};

// Sum of image[32] through image[length - 1], modulo 256: 0 for a good checksum.
std::uint8_t ChecksumRangeSum(const std::uint8_t* image, int length);

// What the six devices of a card hold in their one dependent function. The defaults are a card
// set to fixed values everywhere.
struct CCardSettings {
    bool codecOn = true;
    std::uint16_t wssMin = 0x534, wssMax = 0x534;
    std::uint8_t playDmaMask = 0x02;    // channel 1
    std::uint8_t recordDmaMask = 0x01;  // channel 0
    std::uint16_t wssIrqMask = 0x0020;  // IRQ 5
    std::uint16_t fmMin = 0x388, fmMax = 0x388;
    std::uint16_t sbProMin = 0x220, sbProMax = 0x220;
    bool gamePortOn = true;
    std::uint16_t gameMin = 0x201, gameMax = 0x201;
    std::uint32_t controlId = 0x0E63A810;
    bool controlOn = true;
    std::uint16_t controlMin = 0x100, controlMax = 0x608;
    bool midi2On = true;
    bool midi2HasIrq = true;
    std::uint16_t midi2IrqMask = 0x0800;  // IRQ 11
    std::uint16_t midi2Min = 0x300, midi2Max = 0x300;
    std::uint16_t midi1IrqMask = 0x0200;  // IRQ 9
    std::uint16_t midi1Min = 0x330, midi1Max = 0x330;
    bool digControlOn = true;
    std::uint16_t digControlMin = 0x308, digControlMax = 0x308;
};

// Six devices in the layout the program writes, with their identities, so the card survives a
// rewrite unchanged.
CCardImage StandardCard(const CCardSettings& settings = {});

// A card whose six devices already have the writer's layout, with short names of its own and a
// 40-byte header: rebuilt byte for byte.
CCardImage CanonicalCard();
