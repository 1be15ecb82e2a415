#include "pnp/LogicalDevice.h"

namespace {

// Parses one descriptor into the next free entry of its array. -1 when the array is full
// (the record cannot hold more) or the descriptor is cut short.
template <typename Descriptor, int Capacity>
int ParseInto(Descriptor (&entries)[Capacity], std::int32_t& count,
              std::span<const std::uint8_t> bytes) {
    if (count < 0 || count >= Capacity) {
        return -1;
    }
    const int consumed = entries[count].Parse(bytes);
    if (consumed > 0) {
        ++count;
    }
    return consumed;
}

}  // namespace

int CDependentFunction::Parse(std::span<const std::uint8_t> bytes) {
    ioCount = 0;
    dmaCount = 0;
    irqCount = 0;
    if (bytes.size() < static_cast<std::size_t>(START_DEPENDENT_SIZE) ||
        bytes[0] != TAG_START_DEPENDENT) {
        return -1;
    }
    // The priority byte is not kept: the writer always emits priority 0.
    std::size_t position = START_DEPENDENT_SIZE;
    for (;;) {
        if (position >= bytes.size()) {
            return -1;  // no closing tag before the end of the bytes
        }
        const std::span<const std::uint8_t> rest = bytes.subspan(position);
        int consumed = -1;
        switch (rest[0]) {
            case TAG_IRQ_FORMAT:
                consumed = ParseInto(irqs, irqCount, rest);
                break;
            case TAG_DMA_FORMAT:
                consumed = ParseInto(dmaChannels, dmaCount, rest);
                break;
            case TAG_IO_PORT:
                consumed = ParseInto(ioPorts, ioCount, rest);
                break;
            case TAG_START_DEPENDENT:
                // The next dependent function begins here; it is not ours to consume.
                return static_cast<int>(position);
            case TAG_END_DEPENDENT:
                return static_cast<int>(position) + 1;
            default:
                return -1;
        }
        if (consumed < 0) {
            return -1;
        }
        position += static_cast<std::size_t>(consumed);
    }
}
