#include "pnp/ImageWriter.h"

#include <array>

#include "pnp/DeviceSlots.h"

namespace {

// Length of a device's identifier string item as written: tag, both length bytes, text.
int IdentifierItemSize(const CLogicalDevice& device) {
    return IDENTIFIER_HEADER_SIZE + device.identifierData[IDENTIFIER_LENGTH_LOW];
}

bool WritesDependentFunction(const CLogicalDevice& device) {
    return device.hasDependentFunctions != 0 && device.dependentCount != 0;
}

bool WritesMidi2Irq(const CLogicalDevice& device) {
    return device.dependentFunctions[0].irqCount != 0;
}

// Bytes of the one dependent function each slot gets: start tag and priority, the slot's
// fixed descriptors, End dependent functions.
int DependentFunctionSize(int slot, const CLogicalDevice& device) {
    constexpr int frame = START_DEPENDENT_SIZE + END_DEPENDENT_SIZE;
    switch (slot) {
        case SLOT_CODEC:
            return frame + 2 * DMA_DESCRIPTOR_SIZE + IRQ_DESCRIPTOR_SIZE +
                   3 * IO_PORT_DESCRIPTOR_SIZE;
        case SLOT_MIDI2:
            return frame + (WritesMidi2Irq(device) ? IRQ_DESCRIPTOR_SIZE : 0) +
                   IO_PORT_DESCRIPTOR_SIZE;
        case SLOT_MIDI1:
            return frame + IRQ_DESCRIPTOR_SIZE + IO_PORT_DESCRIPTOR_SIZE;
        default:
            return frame + IO_PORT_DESCRIPTOR_SIZE;
    }
}

// Bytes the image will take, or -1 when it cannot be built: a header that was never
// saved, an identifier length that reaches past the identifier data, or more than the EEPROM.
int PlannedImageLength(std::int32_t headerLength,
                       const CLogicalDevice (&devices)[MAX_LOGICAL_DEVICES]) {
    // A saved header always reaches up to the first device at offset 36 or later, and the
    // checksum range starts inside it.
    if (headerLength < FIRST_DEVICE_SEARCH_START || headerLength > EEPROM_SIZE) {
        return -1;
    }
    int total = headerLength + END_TAG_SIZE;
    for (int slot = 0; slot < WRITTEN_LOGICAL_DEVICES; ++slot) {
        const CLogicalDevice& device = devices[slot];
        const int identifierSize = IdentifierItemSize(device);
        if (identifierSize > IDENTIFIER_DATA_SIZE) {
            return -1;
        }
        total += LOGICAL_DEVICE_ID_SIZE + identifierSize;
        if (WritesDependentFunction(device)) {
            total += DependentFunctionSize(slot, device);
        }
    }
    return total <= EEPROM_SIZE ? total : -1;
}

template <std::size_t Size>
void AppendDescriptor(std::span<std::uint8_t> image, const std::array<std::uint8_t, Size>& bytes,
                      int& position) {
    AppendBytes(image, bytes.data(), static_cast<int>(Size), position);
}

void AppendDependentFunction(std::span<std::uint8_t> image, int slot, const CLogicalDevice& device,
                             int& position) {
    const CDependentFunction& function = device.dependentFunctions[0];
    const std::uint8_t start[START_DEPENDENT_SIZE] = {function.startTag, function.priority};
    AppendBytes(image, start, START_DEPENDENT_SIZE, position);
    // The fixed descriptors of each slot are written whatever the counts say.
    switch (slot) {
        case SLOT_CODEC:
            AppendDescriptor(image, function.dmaChannels[0].Bytes(), position);
            AppendDescriptor(image, function.dmaChannels[1].Bytes(), position);
            AppendDescriptor(image, function.irqs[0].Bytes(), position);
            AppendDescriptor(image, function.ioPorts[0].Bytes(), position);
            AppendDescriptor(image, function.ioPorts[1].Bytes(), position);
            AppendDescriptor(image, function.ioPorts[2].Bytes(), position);
            break;
        case SLOT_MIDI2:
            if (WritesMidi2Irq(device)) {
                AppendDescriptor(image, function.irqs[0].Bytes(), position);
            }
            AppendDescriptor(image, function.ioPorts[0].Bytes(), position);
            break;
        case SLOT_MIDI1:
            AppendDescriptor(image, function.irqs[0].Bytes(), position);
            AppendDescriptor(image, function.ioPorts[0].Bytes(), position);
            break;
        default:
            AppendDescriptor(image, function.ioPorts[0].Bytes(), position);
            break;
    }
    const std::uint8_t end = TAG_END_DEPENDENT;
    AppendBytes(image, &end, 1, position);
}

}  // namespace

int AppendBytes(std::span<std::uint8_t> destination, const std::uint8_t* source, int count,
                int& position) {
    if (count <= 0) {
        return 1;
    }
    if (source == nullptr || position < 0 ||
        static_cast<std::size_t>(position) > destination.size() ||
        static_cast<std::size_t>(count) > destination.size() - static_cast<std::size_t>(position)) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        destination[static_cast<std::size_t>(position + i)] = source[i];
    }
    position += count;
    return 1;
}

std::uint8_t ImageChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes) {
        sum = static_cast<std::uint8_t>(sum + byte);
    }
    return static_cast<std::uint8_t>(0x100 - sum);
}

int BuildImage(const std::uint8_t (&header)[EEPROM_SIZE], std::int32_t headerLength,
               const CLogicalDevice (&devices)[MAX_LOGICAL_DEVICES],
               std::uint8_t (&writeImage)[EEPROM_SIZE], std::int32_t& imageLength) {
    imageLength = 0;
    // Everything is measured before the first byte is placed, so a refused image leaves
    // the buffer exactly as it was.
    const int planned = PlannedImageLength(headerLength, devices);
    if (planned < 0) {
        return 0;
    }

    const std::span<std::uint8_t> image(writeImage);
    int position = 0;
    AppendBytes(image, header, headerLength, position);
    for (int slot = 0; slot < WRITTEN_LOGICAL_DEVICES; ++slot) {
        const CLogicalDevice& device = devices[slot];
        AppendBytes(image, device.idDescriptor, LOGICAL_DEVICE_ID_SIZE, position);
        AppendBytes(image, device.identifierData, IdentifierItemSize(device), position);
        if (WritesDependentFunction(device)) {
            AppendDependentFunction(image, slot, device, position);
        }
    }
    const std::uint8_t endTag = TAG_END;
    AppendBytes(image, &endTag, 1, position);
    const std::uint8_t checksum =
        ImageChecksum(image.subspan(CHECKSUM_START, static_cast<std::size_t>(position) -
                                                        static_cast<std::size_t>(CHECKSUM_START)));
    AppendBytes(image, &checksum, 1, position);

    imageLength = position;
    return 1;
}
