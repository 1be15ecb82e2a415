#pragma once

#include <cstdint>

#include "pnp/ResourceTags.h"

// Every item of the card's resource data, walked by the items' own lengths from offset 0: the
// serial identifier, then the small and large items of ISA Plug and Play up to the End tag.
// Unlike the setup dialog's reader it knows every item kind, keeps nothing but where each item
// stands, and says where and why the data breaks. It reads the 2048 bytes it is given and
// nothing beyond them, and allocates nothing.

enum class ResourceItemKind : std::uint8_t {
    SerialIdentifier,  // the 9 bytes at offset 0, not an item of its own kind
    // Small items.
    PnpVersion,
    LogicalDeviceId,
    CompatibleDeviceId,
    Irq,
    Dma,
    StartDependent,
    EndDependent,
    IoPort,
    FixedIo,
    VendorSmall,
    ReservedSmall,
    End,
    // Large items.
    MemoryRange,
    IdentifierAnsi,
    IdentifierUnicode,
    VendorLarge,
    Memory32Range,
    FixedMemory32Range,
    ReservedLarge,
};

// What is wrong with an item that is read all the same.
enum class ResourceItemProblem : std::uint8_t {
    None,
    WrongLength,      // its length is not one its kind has; its data is not decoded
    VersionNotFirst,  // a version item anywhere but right after the serial identifier
    OutsideDevice,    // a device's item before the first Logical Device ID
    EndDependentWithoutStart,
    InsideDependentFunction,  // an identifier or compatible ID among the resources
    DependentFunctionsOpen,   // a device or the End tag while dependent functions are not closed
};

struct CResourceItem {
    ResourceItemKind kind = ResourceItemKind::SerialIdentifier;
    ResourceItemProblem problem = ResourceItemProblem::None;
    std::uint8_t tag = 0;         // the tag byte (0 for the serial identifier)
    std::int16_t offset = 0;      // where its first byte stands
    std::int16_t dataOffset = 0;  // where its data begins, after the tag and a large length
    std::int16_t dataLength = 0;  // bytes of data
    std::int16_t device = -1;     // the logical device it belongs to, -1 for the card's own
    std::int16_t function = -1;   // its dependent function in that device, -1 for none

    int End() const { return dataOffset + dataLength; }  // one past its last byte
};

// Where the walk could not go on by an item's length, or ended without an End tag.
enum class ResourceBreakReason : std::uint8_t {
    RunsPastImage,  // the item's length takes it past the end of the image
    NoEndTag,       // the image ended, or the walk could not go on, before an End tag
};

struct CResourceBreak {
    ResourceBreakReason reason = ResourceBreakReason::NoEndTag;
    std::int16_t offset = 0;      // the item that runs past the image, or where the walk ended
    std::int32_t length = 0;      // RunsPastImage: the whole size the item claims
    std::int16_t resumedAt = -1;  // the next Logical Device ID the walk went on from, or -1
};

// One of the two checks over the image: a stored byte and the one the rule gives.
struct CResourceCheck {
    bool present = false;      // the stored byte exists (for the End tag: an End tag was found)
    std::int16_t offset = -1;  // where the stored byte stands
    std::uint8_t stored = 0;
    std::uint8_t expected = 0;

    bool Holds() const { return present && stored == expected; }
};

struct CResourceDecoding {
    // Every item takes at least one byte.
    static constexpr int kMaxItems = EEPROM_SIZE;
    static constexpr int kMaxBreaks = 16;

    CResourceItem items[kMaxItems];
    int itemCount = 0;
    CResourceBreak breaks[kMaxBreaks];
    int breakCount = 0;  // breaks kept; more than kMaxBreaks are counted in lostBreaks
    int lostBreaks = 0;
    int deviceCount = 0;    // Logical Device IDs found
    int endTagOffset = -1;  // -1 when no End tag was found
    // The serial identifier's check byte, and the End tag's checksum under the card's rule:
    // offsets 32 through the checksum byte add up to 0 modulo 256 (a checksum byte before
    // offset 32 must be 0 alone).
    CResourceCheck serialCheck;
    CResourceCheck endChecksum;
};

// Walks image into decoding (whatever it held is replaced).
void DecodeResourceData(const std::uint8_t (&image)[EEPROM_SIZE], CResourceDecoding& decoding);

// The item whose bytes hold offset, or nullptr (before the walk's end nothing is outside an
// item but bytes skipped after a break).
const CResourceItem* ItemAt(const CResourceDecoding& decoding, int offset);

// Whether length is one that items of kind have.
bool IsSoundLength(ResourceItemKind kind, int length);
