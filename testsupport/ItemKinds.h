#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "testsupport/CardImage.h"

// The ISA Plug and Play items the card itself never holds, appended to a card image as they
// stand on other cards, for the tests of the decoder and of what vymcnf says of them.

// The 9-byte serial identifier: card ID, serial number and the right check byte.
void AppendSerialIdentifier(CCardImage& card, std::uint32_t cardId, std::uint32_t serial);
void AppendVersion(CCardImage& card, std::uint8_t version, std::uint8_t vendorVersion);
void AppendCompatibleId(CCardImage& card, std::uint32_t id);
// The three-byte IRQ form, with its information byte.
void AppendIrqWithInfo(CCardImage& card, std::uint16_t mask, std::uint8_t info);
// Start of a dependent function without its priority byte.
void AppendStartDependentBare(CCardImage& card);
void AppendFixedIo(CCardImage& card, std::uint16_t base, std::uint8_t length);
void AppendVendorSmall(CCardImage& card, std::initializer_list<std::uint8_t> data);
void AppendLarge(CCardImage& card, std::uint8_t tag, std::initializer_list<std::uint8_t> data);
// A 24-bit memory range: bases, alignment and length in the item's own units.
void AppendMemoryRange(CCardImage& card, std::uint8_t info, std::uint16_t minBase,
                       std::uint16_t maxBase, std::uint16_t alignment, std::uint16_t length);
void AppendMemory32Range(CCardImage& card, std::uint8_t info, std::uint32_t minBase,
                         std::uint32_t maxBase, std::uint32_t alignment, std::uint32_t length);
void AppendFixedMemory32(CCardImage& card, std::uint8_t info, std::uint32_t base,
                         std::uint32_t length);
// A Unicode identifier string: country code, then the text as UTF-16 little-endian.
void AppendUnicodeIdentifier(CCardImage& card, std::uint16_t country, std::u16string_view text);

// A card with every item kind the decoder knows, each where it may stand, and both checks good:
// the factory's serial identifier and version, an identifier, a device with a compatible ID, a
// vendor item, a Unicode name and two dependent functions (priority byte and none) holding a
// three-byte IRQ, fixed I/O, memory of both widths and a 32-bit fixed range, a second device,
// a reserved item of each size and the End tag.
CCardImage EveryItemKindCard();
