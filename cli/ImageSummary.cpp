#include "cli/ImageSummary.h"

#include <span>

#include "cli/PrintableText.h"
#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"

namespace {

constexpr int kEndItem = 0x0F;  // the End tag's small item number

int StoredFunctions(const CLogicalDevice& device) {
    // dependentCount starts at 1 and grows by one for each of the first three parsed.
    if (device.hasDependentFunctions == 0) {
        return 0;
    }
    const int parsed = device.dependentCount - 1;
    return parsed < 0 ? 0 : (parsed > MAX_DEPENDENT_FUNCTIONS ? MAX_DEPENDENT_FUNCTIONS : parsed);
}

std::string IdentifierText(const CLogicalDevice& device) {
    const int length = device.identifierData[IDENTIFIER_LENGTH_LOW];
    const int room = IDENTIFIER_DATA_SIZE - IDENTIFIER_TEXT_START;
    int end = IDENTIFIER_TEXT_START;
    // The program writes the text with its terminator counted; a text stops at its first zero.
    while (end - IDENTIFIER_TEXT_START < length && end - IDENTIFIER_TEXT_START < room &&
           device.identifierData[end] != 0) {
        ++end;
    }
    return PrintableText(device.identifierData + IDENTIFIER_TEXT_START,
                         static_cast<std::size_t>(end - IDENTIFIER_TEXT_START));
}

}  // namespace

CChecksum CheckChecksum(const std::uint8_t (&image)[EEPROM_SIZE], int start) {
    CChecksum checksum;
    int position = start;
    while (position >= 0 && position < EEPROM_SIZE) {
        const std::uint8_t tag = image[position];
        int size = 0;
        if ((tag & 0x80) != 0) {
            if (position + 2 >= EEPROM_SIZE) {
                break;
            }
            size = 3 + (image[position + 1] | (image[position + 2] << 8));
        } else {
            if (((tag >> 3) & 0x0F) == kEndItem) {
                if ((tag & 0x07) == 0 || position + 1 >= EEPROM_SIZE) {
                    break;  // an End tag without its checksum byte
                }
                checksum.endTagOffset = position;
                checksum.stored = image[position + 1];
                checksum.expected = ImageChecksum(std::span<const std::uint8_t>(image).subspan(
                    CHECKSUM_START, static_cast<std::size_t>(position + 1 - CHECKSUM_START)));
                checksum.state = checksum.stored == checksum.expected ? ChecksumState::Valid
                                                                      : ChecksumState::Bad;
                return checksum;
            }
            size = SmallItemSize(tag);
        }
        position += size;
    }
    return checksum;
}

std::vector<int> MaskBits(unsigned mask, int bits) {
    std::vector<int> set;
    for (int bit = 0; bit < bits; ++bit) {
        if ((mask >> bit) & 1u) {
            set.push_back(bit);
        }
    }
    return set;
}

CImageSummary SummarizeImage(const std::uint8_t (&image)[EEPROM_SIZE]) {
    CImageSummary summary;
    std::uint8_t header[EEPROM_SIZE];
    std::int32_t headerLength = 0;
    CLogicalDevice devices[MAX_LOGICAL_DEVICES];
    const int parsed = LocateDevices(image, header, headerLength, devices);
    if (parsed == 0 && headerLength < FIRST_DEVICE_SEARCH_START) {
        return summary;  // no Logical Device ID at all
    }
    summary.headerLength = headerLength;

    // The reader tells how many devices it parsed, not where each began: the same walk with
    // records of its own gives the offsets, and the device it failed on.
    const std::span<const std::uint8_t> bytes(image);
    int position = headerLength;
    for (int slot = 0; slot < MAX_LOGICAL_DEVICES; ++slot) {
        CLogicalDevice walked;
        const int consumed = walked.Parse(bytes.subspan(static_cast<std::size_t>(position)));
        if (consumed < 0) {
            summary.malformedSlot = slot;
            summary.malformedOffset = position;
            break;
        }
        CDeviceSummary device;
        device.slot = slot;
        device.offset = position;
        // The reader's record when it kept one; the walk's, the same bytes, when it failed.
        device.record = parsed > 0 ? devices[slot] : walked;
        device.id = device.record.GetDeviceId();
        device.hasIdentifier = device.record.identifierData[0] == TAG_IDENTIFIER_STRING;
        device.identifier = device.hasIdentifier ? IdentifierText(device.record) : std::string();
        device.functionCount = StoredFunctions(device.record);
        summary.devices.push_back(device);
        position += consumed;
        if (position >= EEPROM_SIZE || image[position] != TAG_LOGICAL_DEVICE_ID) {
            break;
        }
    }
    summary.checksum = CheckChecksum(image, headerLength);
    return summary;
}
