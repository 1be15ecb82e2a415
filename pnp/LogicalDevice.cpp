#include "pnp/LogicalDevice.h"

namespace {

constexpr int TEXT_AREA_SIZE = IDENTIFIER_DATA_SIZE - IDENTIFIER_TEXT_START;  // 77

// A text of this many characters makes the length byte wrap to 0 (terminator counted).
constexpr std::size_t WRAPPING_TEXT_LENGTH = 255;

// Counts characters up to the terminator but stops looking once the text is known to be
// longer than any length the identifier can take.
std::size_t BoundedTextLength(const char* text) {
    std::size_t length = 0;
    while (length <= WRAPPING_TEXT_LENGTH && text[length] != '\0') {
        ++length;
    }
    return length;
}

}  // namespace

void CLogicalDevice::SetEnabled(int flag) {
    hasDependentFunctions = flag;
    if (flag != 0) {
        dependentCount = 1;
    }
}

void CLogicalDevice::SetIdentifier(const char* text) {
    if (text == nullptr) {
        return;
    }
    const std::size_t length = BoundedTextLength(text);
    if (length == WRAPPING_TEXT_LENGTH) {
        // The counted terminator makes the length byte 0: an empty text.
        identifierData[IDENTIFIER_LENGTH_LOW] = 0;
        identifierData[IDENTIFIER_TEXT_START] = 0;
        return;
    }
    // The text, its terminator and one more zero must fit the text area; a longer text
    // leaves the identifier as it was rather than being cut to something the card never had.
    if (length + 2 > static_cast<std::size_t>(TEXT_AREA_SIZE)) {
        return;
    }
    identifierData[IDENTIFIER_LENGTH_LOW] = static_cast<std::uint8_t>(length + 1);
    for (std::size_t i = 0; i < length; ++i) {
        identifierData[IDENTIFIER_TEXT_START + i] = static_cast<std::uint8_t>(text[i]);
    }
    identifierData[IDENTIFIER_TEXT_START + length] = 0;
    identifierData[IDENTIFIER_TEXT_START + length + 1] = 0;
}

void CLogicalDevice::SetDeviceId(std::uint32_t id) {
    // The EISA identifier is the one big-endian field of the image.
    idDescriptor[1] = static_cast<std::uint8_t>(id >> 24);
    idDescriptor[2] = static_cast<std::uint8_t>(id >> 16);
    idDescriptor[3] = static_cast<std::uint8_t>(id >> 8);
    idDescriptor[4] = static_cast<std::uint8_t>(id);
}

std::uint32_t CLogicalDevice::GetDeviceId() const {
    return (static_cast<std::uint32_t>(idDescriptor[1]) << 24) |
           (static_cast<std::uint32_t>(idDescriptor[2]) << 16) |
           (static_cast<std::uint32_t>(idDescriptor[3]) << 8) |
           static_cast<std::uint32_t>(idDescriptor[4]);
}

int CLogicalDevice::Parse(std::span<const std::uint8_t> bytes) {
    // Every byte looked at below must lie inside bytes: a device cut off by the end of the
    // bytes is malformed.
    if (bytes.size() < static_cast<std::size_t>(LOGICAL_DEVICE_ID_SIZE + 1)) {
        return -1;
    }
    // The tag is not tested: the diagnostic dump parses whatever follows the previous device.
    for (int i = 0; i < LOGICAL_DEVICE_ID_SIZE; ++i) {
        idDescriptor[i] = bytes[i];
    }

    // The identifier data runs byte by byte up to the first dependent function or the next
    // device; its first byte is taken whatever its value.
    identifierData[0] = bytes[LOGICAL_DEVICE_ID_SIZE];
    int copied = 1;
    std::size_t position = LOGICAL_DEVICE_ID_SIZE + 1;
    // An identifier string's two length bytes are a count, not tags: the program's own
    // "Disabled [Game Port]" has the length byte 21, which is the Logical Device ID tag, and
    // taking it for one would shift every later device by a slot. Only the text is scanned.
    if (identifierData[0] == TAG_IDENTIFIER_STRING) {
        for (; copied < IDENTIFIER_HEADER_SIZE; ++copied, ++position) {
            if (position >= bytes.size()) {
                return -1;
            }
            identifierData[copied] = bytes[position];
        }
    }
    for (;;) {
        if (position >= bytes.size()) {
            return -1;
        }
        const std::uint8_t next = bytes[position];
        if (next == TAG_START_DEPENDENT) {
            hasDependentFunctions = 1;
            break;
        }
        if (next == TAG_LOGICAL_DEVICE_ID) {
            hasDependentFunctions = 0;
            break;
        }
        if (copied == IDENTIFIER_DATA_SIZE) {
            break;  // full: hasDependentFunctions stays as it was
        }
        identifierData[copied++] = next;
        ++position;
    }

    int count = LOGICAL_DEVICE_ID_SIZE + copied;
    if (bytes[position] != TAG_START_DEPENDENT) {
        return count;
    }

    // Up to three dependent functions are kept; a fourth is only stepped over.
    for (int slot = 0; slot <= MAX_DEPENDENT_FUNCTIONS; ++slot) {
        CDependentFunction skipped;
        CDependentFunction& target =
            slot < MAX_DEPENDENT_FUNCTIONS ? dependentFunctions[slot] : skipped;
        const int consumed = target.Parse(bytes.subspan(position));
        if (consumed < 0) {
            return -1;
        }
        count += consumed;
        position += static_cast<std::size_t>(consumed);
        if (slot == MAX_DEPENDENT_FUNCTIONS) {
            break;
        }
        ++dependentCount;
        if (position >= bytes.size()) {
            return -1;  // whether another dependent function follows cannot be told
        }
        if (bytes[position] != TAG_START_DEPENDENT) {
            break;
        }
    }
    return count;
}
