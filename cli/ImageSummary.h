#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pnp/LogicalDevice.h"
#include "pnp/ResourceTags.h"

// What an EEPROM image holds, as the program's image reader sees it, for `vymcnf info`, the
// list of backups and the check before a write.

enum class ChecksumState {
    Valid,    // the bytes from offset 32 through the checksum add up to 0
    Bad,      // they do not: stored is not expected
    Missing,  // no End tag with its checksum byte follows the resource data
};

struct CChecksum {
    ChecksumState state = ChecksumState::Missing;
    int endTagOffset = -1;  // where the End tag stands, when it was found
    std::uint8_t stored = 0;
    std::uint8_t expected = 0;
};

struct CDeviceSummary {
    int slot = 0;
    int offset = 0;  // where its Logical Device ID stands in the image
    std::uint32_t id = 0;
    bool hasIdentifier = false;  // its identifier data is an identifier string item
    std::string identifier;      // the string's text, printable (see PrintableText)
    int functionCount = 0;       // dependent functions the record holds (at most three)
    CLogicalDevice record;
};

struct CImageSummary {
    int headerLength = 0;  // 0 when no Logical Device ID stands from offset 36 on
    std::vector<CDeviceSummary> devices;
    // Where the reader stopped on a malformed device: its slot and offset; -1 when it did not.
    int malformedSlot = -1;
    int malformedOffset = -1;
    CChecksum checksum;

    // The devices the reader parsed without a failure: what writing relies on.
    int ReadableDevices() const {
        return malformedSlot >= 0 ? 0 : static_cast<int>(devices.size());
    }
};

CImageSummary SummarizeImage(const std::uint8_t (&image)[EEPROM_SIZE]);

// The checksum state of the resource data that begins at offset start: its items are stepped
// over by their lengths to the End tag.
CChecksum CheckChecksum(const std::uint8_t (&image)[EEPROM_SIZE], int start);

// The IRQ lines of an IRQ mask, the channels of a DMA mask, lowest first.
std::vector<int> MaskBits(unsigned mask, int bits);
