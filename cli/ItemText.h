#pragma once

#include <cstdint>
#include <string>

#include "pnp/ResourceDecoder.h"

// One decoded item of the resource data in words, as `vymcnf info` and `vymcnf diff` show it:
// "IRQ 5, information 0x01 (high-true edge)", "I/O 0x534, 4 ports (alignment 4, 16-bit decode)".
// Identifiers are eight hexadecimal digits, addresses hexadecimal, IRQ and DMA numbers decimal,
// text printable (see PrintableText). An item whose length its kind never has is shown as its
// kind and its bytes.
std::string ItemText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem& item);

// What is wrong with where an item stands or with its length; "" for nothing.
std::string ItemProblemText(const CResourceItem& item);

// The name of an item kind in JSON: "ioPort", "identifierUnicode".
const char* ItemKindName(ResourceItemKind kind);

// The item's bytes, tag included: "0x47 0x01 0x34 0x05 ...".
std::string ItemBytesText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem& item);

// Where the walk broke, as a sentence: "The item at 0x0F8 (tag 0xFF) claims 65538 bytes, which
// run past the end of the image; the walk goes on at the next Logical Device ID, 0x120."
std::string BreakText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceBreak& found);

// A device of the decoding by its index, as the listings name it: device 0 (0x0E63A800 "Codec").
std::string DeviceLabel(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceDecoding& decoding,
                        int device);
