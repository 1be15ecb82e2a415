#include "pnp/ResourceDecoder.h"

#include "pnp/SerialIdentifier.h"

namespace {

constexpr std::uint8_t kLargeItemBit = 0x80;
constexpr int kLargeItemHeader = 3;  // tag and a 16-bit length

ResourceItemKind SmallItemKind(int item) {
    switch (item) {
        case 0x1:
            return ResourceItemKind::PnpVersion;
        case 0x2:
            return ResourceItemKind::LogicalDeviceId;
        case 0x3:
            return ResourceItemKind::CompatibleDeviceId;
        case 0x4:
            return ResourceItemKind::Irq;
        case 0x5:
            return ResourceItemKind::Dma;
        case 0x6:
            return ResourceItemKind::StartDependent;
        case 0x7:
            return ResourceItemKind::EndDependent;
        case 0x8:
            return ResourceItemKind::IoPort;
        case 0x9:
            return ResourceItemKind::FixedIo;
        case 0xE:
            return ResourceItemKind::VendorSmall;
        case 0xF:
            return ResourceItemKind::End;
        default:
            return ResourceItemKind::ReservedSmall;
    }
}

ResourceItemKind LargeItemKind(int item) {
    switch (item) {
        case 0x01:
            return ResourceItemKind::MemoryRange;
        case 0x02:
            return ResourceItemKind::IdentifierAnsi;
        case 0x03:
            return ResourceItemKind::IdentifierUnicode;
        case 0x04:
            return ResourceItemKind::VendorLarge;
        case 0x05:
            return ResourceItemKind::Memory32Range;
        case 0x06:
            return ResourceItemKind::FixedMemory32Range;
        default:
            return ResourceItemKind::ReservedLarge;
    }
}

bool IsResource(ResourceItemKind kind) {
    switch (kind) {
        case ResourceItemKind::Irq:
        case ResourceItemKind::Dma:
        case ResourceItemKind::IoPort:
        case ResourceItemKind::FixedIo:
        case ResourceItemKind::MemoryRange:
        case ResourceItemKind::Memory32Range:
        case ResourceItemKind::FixedMemory32Range:
            return true;
        default:
            return false;
    }
}

// The walk's state between two items: whose items they are now.
struct CWalk {
    int device = -1;
    int function = -1;
    int functionsInDevice = 0;
    bool dependentOpen = false;

    // Places item in the device and function it belongs to and says what is wrong with where
    // it stands.
    ResourceItemProblem Place(CResourceItem& item, int itemIndex) {
        ResourceItemProblem problem = ResourceItemProblem::None;
        switch (item.kind) {
            case ResourceItemKind::PnpVersion:
                if (itemIndex != 1) {
                    problem = ResourceItemProblem::VersionNotFirst;
                }
                break;
            case ResourceItemKind::LogicalDeviceId:
                if (dependentOpen) {
                    problem = ResourceItemProblem::DependentFunctionsOpen;
                }
                ++device;
                function = -1;
                functionsInDevice = 0;
                dependentOpen = false;
                break;
            case ResourceItemKind::CompatibleDeviceId:
                if (device < 0) {
                    problem = ResourceItemProblem::OutsideDevice;
                } else if (function >= 0) {
                    problem = ResourceItemProblem::InsideDependentFunction;
                }
                break;
            case ResourceItemKind::IdentifierAnsi:
            case ResourceItemKind::IdentifierUnicode:
                if (function >= 0) {
                    problem = ResourceItemProblem::InsideDependentFunction;
                }
                break;
            case ResourceItemKind::StartDependent:
                if (device < 0) {
                    problem = ResourceItemProblem::OutsideDevice;
                    break;
                }
                function = functionsInDevice++;
                dependentOpen = true;
                break;
            case ResourceItemKind::EndDependent:
                if (!dependentOpen) {
                    problem = ResourceItemProblem::EndDependentWithoutStart;
                }
                function = -1;
                dependentOpen = false;
                break;
            case ResourceItemKind::End:
                if (dependentOpen) {
                    problem = ResourceItemProblem::DependentFunctionsOpen;
                }
                function = -1;
                break;
            default:
                if (IsResource(item.kind) && device < 0) {
                    problem = ResourceItemProblem::OutsideDevice;
                }
                break;
        }
        item.device = static_cast<std::int16_t>(device);
        item.function = static_cast<std::int16_t>(function);
        return problem;
    }

    // After a break nothing is known of the bytes skipped: the walk goes on in a new device.
    void Resume() {
        function = -1;
        dependentOpen = false;
    }
};

void AddBreak(CResourceDecoding& decoding, const CResourceBreak& found) {
    if (decoding.breakCount < CResourceDecoding::kMaxBreaks) {
        decoding.breaks[decoding.breakCount++] = found;
    } else {
        ++decoding.lostBreaks;
    }
}

int NextDeviceIdFrom(const std::uint8_t (&image)[EEPROM_SIZE], int offset) {
    for (int i = offset; i < EEPROM_SIZE; ++i) {
        if (image[i] == TAG_LOGICAL_DEVICE_ID) {
            return i;
        }
    }
    return -1;
}

void CheckEndTag(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem& end,
                 CResourceDecoding& decoding) {
    decoding.endTagOffset = end.offset;
    if (end.dataLength < 1) {
        return;  // an End tag without its checksum byte
    }
    const int checksumOffset = end.dataOffset;
    std::uint8_t sum = 0;
    for (int i = CHECKSUM_START; i < checksumOffset; ++i) {
        sum = static_cast<std::uint8_t>(sum + image[i]);
    }
    CResourceCheck& check = decoding.endChecksum;
    check.present = true;
    check.offset = static_cast<std::int16_t>(checksumOffset);
    check.stored = image[checksumOffset];
    check.expected = static_cast<std::uint8_t>(0x100 - sum);
}

}  // namespace

bool IsSoundLength(ResourceItemKind kind, int length) {
    switch (kind) {
        case ResourceItemKind::SerialIdentifier:
            return length == SERIAL_IDENTIFIER_SIZE;
        case ResourceItemKind::PnpVersion:
            return length == 2;
        case ResourceItemKind::LogicalDeviceId:
            return length == 5 || length == 6;
        case ResourceItemKind::CompatibleDeviceId:
            return length == 4;
        case ResourceItemKind::Irq:
            return length == 2 || length == 3;
        case ResourceItemKind::Dma:
            return length == 2;
        case ResourceItemKind::StartDependent:
            return length == 0 || length == 1;
        case ResourceItemKind::EndDependent:
            return length == 0;
        case ResourceItemKind::IoPort:
            return length == 7;
        case ResourceItemKind::FixedIo:
            return length == 3;
        case ResourceItemKind::VendorSmall:
            return length >= 1;
        case ResourceItemKind::End:
            return length == 1;
        case ResourceItemKind::MemoryRange:
            return length == 9;
        case ResourceItemKind::IdentifierUnicode:
            return length >= 2;  // the country code comes first
        case ResourceItemKind::Memory32Range:
            return length == 17;
        case ResourceItemKind::FixedMemory32Range:
            return length == 9;
        case ResourceItemKind::ReservedSmall:
        case ResourceItemKind::IdentifierAnsi:
        case ResourceItemKind::VendorLarge:
        case ResourceItemKind::ReservedLarge:
            break;
    }
    return true;
}

void DecodeResourceData(const std::uint8_t (&image)[EEPROM_SIZE], CResourceDecoding& decoding) {
    decoding.itemCount = 0;
    decoding.breakCount = 0;
    decoding.lostBreaks = 0;
    decoding.deviceCount = 0;
    decoding.endTagOffset = -1;
    decoding.endChecksum = CResourceCheck{};

    CResourceItem& serial = decoding.items[decoding.itemCount++];
    serial = CResourceItem{};
    serial.dataLength = SERIAL_IDENTIFIER_SIZE;
    decoding.serialCheck.present = true;
    decoding.serialCheck.offset = SERIAL_CHECK_BYTE;
    decoding.serialCheck.stored = image[SERIAL_CHECK_BYTE];
    decoding.serialCheck.expected = SerialIdentifierChecksum(image);

    CWalk walk;
    int position = SERIAL_IDENTIFIER_SIZE;
    while (position < EEPROM_SIZE && decoding.itemCount < CResourceDecoding::kMaxItems) {
        const std::uint8_t tag = image[position];
        const bool large = (tag & kLargeItemBit) != 0;
        int headerSize = 1;
        int dataLength = tag & 0x07;
        if (large) {
            headerSize = kLargeItemHeader;
            dataLength =
                position + 2 < EEPROM_SIZE ? image[position + 1] | (image[position + 2] << 8) : 0;
        }
        const int size = headerSize + dataLength;
        if (size > EEPROM_SIZE - position) {
            CResourceBreak found;
            found.reason = ResourceBreakReason::RunsPastImage;
            found.offset = static_cast<std::int16_t>(position);
            found.length = size;
            const int resume = NextDeviceIdFrom(image, position + 1);
            found.resumedAt = static_cast<std::int16_t>(resume);
            AddBreak(decoding, found);
            if (resume < 0) {
                break;
            }
            walk.Resume();
            position = resume;
            continue;
        }

        CResourceItem& item = decoding.items[decoding.itemCount];
        item = CResourceItem{};
        item.kind = large ? LargeItemKind(tag & 0x7F) : SmallItemKind((tag >> 3) & 0x0F);
        item.tag = tag;
        item.offset = static_cast<std::int16_t>(position);
        item.dataOffset = static_cast<std::int16_t>(position + headerSize);
        item.dataLength = static_cast<std::int16_t>(dataLength);
        const ResourceItemProblem placed = walk.Place(item, decoding.itemCount);
        item.problem =
            IsSoundLength(item.kind, dataLength) ? placed : ResourceItemProblem::WrongLength;
        ++decoding.itemCount;
        if (item.kind == ResourceItemKind::LogicalDeviceId) {
            ++decoding.deviceCount;
        }
        position += size;
        if (item.kind == ResourceItemKind::End) {
            CheckEndTag(image, item, decoding);
            return;
        }
    }
    CResourceBreak found;
    found.reason = ResourceBreakReason::NoEndTag;
    found.offset = static_cast<std::int16_t>(position < EEPROM_SIZE ? position : EEPROM_SIZE);
    AddBreak(decoding, found);
}

const CResourceItem* ItemAt(const CResourceDecoding& decoding, int offset) {
    // Items stand in ascending order: the last one that starts at or before offset is the only
    // one that can hold it.
    int low = 0;
    int high = decoding.itemCount;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (decoding.items[middle].offset <= offset) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == 0) {
        return nullptr;
    }
    const CResourceItem& item = decoding.items[low - 1];
    return offset < item.End() ? &item : nullptr;
}
