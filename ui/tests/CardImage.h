#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "pnp/ResourceTags.h"

using CEepromBytes = std::array<std::uint8_t, EEPROM_SIZE>;

// Writes an EEPROM image item by item. Bytes never written hold 0xFF, as an erased EEPROM does.
class CCardImage {
public:
    CCardImage();

    // A card-level header of length bytes (at least 36) holding no Logical Device ID tag.
    CCardImage& Header(int length = 36);
    CCardImage& Bytes(std::initializer_list<std::uint8_t> bytes);
    CCardImage& Device(std::uint32_t id, std::string_view identifier);
    CCardImage& StartFunction(std::uint8_t priority = 0);
    CCardImage& Io(std::uint16_t minBase, std::uint16_t maxBase, std::uint8_t alignment,
                   std::uint8_t length);
    CCardImage& Irq(std::uint16_t mask);
    CCardImage& Dma(std::uint8_t mask, std::uint8_t flags = 0x28);
    CCardImage& EndFunctions();
    CCardImage& EndTag();  // End tag and the checksum over offsets 32 up to it

    int Length() const { return m_position; }
    const CEepromBytes& Image() const { return m_image; }

private:
    CEepromBytes m_image;
    int m_position = 0;
};

// What the six devices of a card hold in their one dependent function. The defaults are a
// card set to fixed values everywhere.
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

// Six devices in the layout the program writes, so the card survives a rewrite unchanged.
CCardImage StandardCard(const CCardSettings& settings = {});
