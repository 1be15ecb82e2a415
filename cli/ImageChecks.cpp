#include "cli/ImageChecks.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/ImageSummary.h"
#include "cli/ItemText.h"
#include "cli/Messages.h"
#include "pnp/ResourceDecoder.h"
#include "pnp/SerialIdentifier.h"
#include "text/TextJoin.h"

namespace {

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::uint32_t CardId(const std::uint8_t* identifier) {
    return (static_cast<std::uint32_t>(identifier[0]) << 24) |
           (static_cast<std::uint32_t>(identifier[1]) << 16) |
           (static_cast<std::uint32_t>(identifier[2]) << 8) | identifier[3];
}

std::uint32_t SerialNumber(const std::uint8_t* identifier) {
    const std::uint8_t* serial = identifier + SERIAL_NUMBER_START;
    return static_cast<std::uint32_t>(serial[0]) | (static_cast<std::uint32_t>(serial[1]) << 8) |
           (static_cast<std::uint32_t>(serial[2]) << 16) |
           (static_cast<std::uint32_t>(serial[3]) << 24);
}

bool SerialIdentifierHolds(const std::uint8_t (&image)[EEPROM_SIZE]) {
    return SerialIdentifierChecksum(image) == image[SERIAL_CHECK_BYTE];
}

}  // namespace

std::string ImageRefusal(const std::string& file, const std::uint8_t (&image)[EEPROM_SIZE]) {
    // The setup dialog's reader first: it is what most often tells another image apart.
    const CImageSummary summary = SummarizeImage(image);
    if (summary.ReadableDevices() < WRITTEN_LOGICAL_DEVICES) {
        return JoinText(file, " does not look like an image of this card: the image reader finds ",
                        ReadableDevicesText(summary), ".");
    }
    auto decoding = std::make_unique<CResourceDecoding>();
    DecodeResourceData(image, *decoding);
    if (decoding->endTagOffset < 0) {
        const CResourceBreak& found = decoding->breaks[0];
        return JoinText(file, " has no End tag: ", BreakText(image, found));
    }
    const CResourceCheck& checksum = decoding->endChecksum;
    if (!checksum.present) {
        return JoinText(file, "'s End tag at ", AddressText(decoding->endTagOffset),
                        " has no checksum byte.");
    }
    if (!checksum.Holds()) {
        char text[96];
        std::snprintf(text, sizeof text,
                      "checksum byte at %s is 0x%02X, where its bytes need 0x%02X.",
                      AddressText(checksum.offset).c_str(), checksum.stored, checksum.expected);
        return JoinText(file, "'s End tag ", text);
    }
    return std::string();
}

std::string CardRefusal(const std::string& file, const std::uint8_t (&image)[EEPROM_SIZE],
                        const std::uint8_t (&card)[EEPROM_SIZE]) {
    if (!SerialIdentifierHolds(card) || std::memcmp(image, card, SERIAL_IDENTIFIER_SIZE) == 0) {
        return std::string();
    }
    const std::string start = JoinText(file, " belongs to another card: ");
    if (CardId(image) != CardId(card)) {
        return JoinText(start, "its card ID is ", Hex(CardId(image), 8), ", the card's ",
                        Hex(CardId(card), 8), ".");
    }
    if (SerialNumber(image) != SerialNumber(card)) {
        return JoinText(start, "its serial number is ", Hex(SerialNumber(image), 8),
                        ", the card's ", Hex(SerialNumber(card), 8), ".");
    }
    return JoinText(file, "'s serial identifier has the check byte ",
                    Hex(image[SERIAL_CHECK_BYTE], 2), ", the card's ",
                    Hex(card[SERIAL_CHECK_BYTE], 2), ".");
}

bool RestoreNeedsForce(const std::uint8_t (&before)[EEPROM_SIZE],
                       const std::uint8_t (&written)[EEPROM_SIZE]) {
    return !ImageRefusal("backup", before).empty() ||
           std::memcmp(before, written, SERIAL_IDENTIFIER_SIZE) != 0;
}
