#pragma once

#include <cstdint>

// Who each logical device says it is: its EISA compressed device identifier (three 5-bit
// letters and four hexadecimal digits; every device of the card has the vendor part 0x0E63)
// and its identifier text. The switchable devices carry one identity while enabled and
// another while switched off.
struct CDeviceIdentity {
    std::uint32_t id;
    const char* text;
};

constexpr std::uint32_t VENDOR_PART = 0x0E630000;

constexpr CDeviceIdentity IDENTITY_CODEC{0x0E63A800, "Codec"};
constexpr CDeviceIdentity IDENTITY_CODEC_DISABLED{0x0E63A8A0, "Disabled [CoDec]"};
constexpr CDeviceIdentity IDENTITY_GAME_PORT{0x0E63A801, "Game Port"};
constexpr CDeviceIdentity IDENTITY_GAME_PORT_DISABLED{0x0E63A8A1, "Disabled [Game Port]"};
constexpr CDeviceIdentity IDENTITY_CONTROL{0x0E63A810, "Control"};
constexpr CDeviceIdentity IDENTITY_MIDI2{0x0E63A803, "MIDI-2"};
constexpr CDeviceIdentity IDENTITY_MIDI2_DISABLED{0x0E63A8A3, "Disabled [MIDI-2]"};
// The factory calls the first MIDI port "Midi Port": no identifier text may hold the byte 0x31
// ("1"), which ends identifier data when the card is read back.
constexpr CDeviceIdentity IDENTITY_MIDI1{0x0E63A802, "Midi Port"};
constexpr CDeviceIdentity IDENTITY_DIGITAL_CONTROL{0x0E63A804, "Digital Control"};

// A Control device that was never configured; writing repairs it to IDENTITY_CONTROL.
constexpr std::uint32_t CONTROL_UNCONFIGURED_ID = 0x0E63A8AA;

// The card as a whole, in its serial identifier.
constexpr std::uint32_t CARD_ID = 0x0E63A8F0;

constexpr bool HasVendorPart(std::uint32_t id) {
    return (id & 0xFFFF0000u) == VENDOR_PART;
}
static_assert(HasVendorPart(IDENTITY_CODEC.id) && HasVendorPart(IDENTITY_CODEC_DISABLED.id) &&
              HasVendorPart(IDENTITY_GAME_PORT.id) &&
              HasVendorPart(IDENTITY_GAME_PORT_DISABLED.id) && HasVendorPart(IDENTITY_CONTROL.id) &&
              HasVendorPart(IDENTITY_MIDI2.id) && HasVendorPart(IDENTITY_MIDI2_DISABLED.id) &&
              HasVendorPart(IDENTITY_MIDI1.id) && HasVendorPart(IDENTITY_DIGITAL_CONTROL.id) &&
              HasVendorPart(CONTROL_UNCONFIGURED_ID) && HasVendorPart(CARD_ID));
