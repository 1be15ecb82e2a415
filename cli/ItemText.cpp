#include "cli/ItemText.h"

#include <cstdio>

#include "cli/Messages.h"
#include "cli/PrintableText.h"
#include "pnp/SerialIdentifier.h"
#include "text/TextJoin.h"

namespace {

constexpr int kIrqLines = 16;
constexpr int kDmaChannels = 8;
constexpr int kBytesShown = 16;  // of a long vendor or reserved item

std::string Hex(unsigned value, int digits = 0) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

// Little-endian fields of an item's data.
unsigned Word(const std::uint8_t* data) {
    return data[0] | (data[1] << 8);
}
std::uint32_t DoubleWord(const std::uint8_t* data) {
    return static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
           (static_cast<std::uint32_t>(data[2]) << 16) |
           (static_cast<std::uint32_t>(data[3]) << 24);
}
// Device identifiers stand most significant byte first.
std::uint32_t BigEndianId(const std::uint8_t* data) {
    return (static_cast<std::uint32_t>(data[0]) << 24) |
           (static_cast<std::uint32_t>(data[1]) << 16) |
           (static_cast<std::uint32_t>(data[2]) << 8) | data[3];
}

std::string Bits(unsigned mask, int bits) {
    std::string text;
    for (int bit = 0; bit < bits; ++bit) {
        if ((mask >> bit) & 1u) {
            text.append(text.empty() ? "" : ", ").append(std::to_string(bit));
        }
    }
    return text.empty() ? "none" : text;
}

// Words for the set bits of a flags byte, from a table of one word a bit.
std::string Flags(unsigned flags, const char* const (&names)[8]) {
    std::string text;
    for (int bit = 0; bit < 8; ++bit) {
        if (((flags >> bit) & 1u) && names[bit] != nullptr) {
            text.append(text.empty() ? "" : ", ").append(names[bit]);
        }
    }
    return text;
}

std::string RawBytes(const std::uint8_t* bytes, int count) {
    std::string text;
    for (int i = 0; i < count && i < kBytesShown; ++i) {
        text.append(i > 0 ? " " : "").append(Hex(bytes[i], 2));
    }
    if (count > kBytesShown) {
        text += " ...";
    }
    return text;
}

std::string IrqText(const std::uint8_t* data, int length) {
    std::string text = JoinText("IRQ ", Bits(Word(data), kIrqLines));
    if (length == 3) {
        static const char* const kSense[8] = {"high-true edge", "low-true edge", "high-true level",
                                              "low-true level", nullptr,         nullptr,
                                              nullptr,          nullptr};
        const std::string sense = Flags(data[2], kSense);
        text += JoinText(", information ", Hex(data[2], 2));
        if (!sense.empty()) {
            text += JoinText(" (", sense, ")");
        }
    }
    return text;
}

std::string DmaText(const std::uint8_t* data) {
    static const char* const kWidth[4] = {"8-bit", "8- and 16-bit", "16-bit", "reserved width"};
    static const char* const kSpeed[4] = {"compatibility timing", "type A", "type B", "type F"};
    const unsigned flags = data[1];
    std::string words = kWidth[flags & 0x03];
    if (flags & 0x04) {
        words += ", bus master";
    }
    if (flags & 0x08) {
        words += ", count by byte";
    }
    if (flags & 0x10) {
        words += ", count by word";
    }
    words += JoinText(", ", kSpeed[(flags >> 5) & 0x03]);
    return JoinText("DMA ", Bits(data[0], kDmaChannels), ", flags ", Hex(flags, 2), " (", words,
                    ")");
}

std::string PriorityText(const CResourceItem& item, const std::uint8_t* data) {
    if (item.dataLength == 0) {
        return "Start dependent function (no priority byte: acceptable)";
    }
    static const char* const kPriority[3] = {"good", "acceptable", "sub-optimal"};
    const std::string priority =
        data[0] < 3 ? std::string(kPriority[data[0]]) : JoinText("reserved ", Hex(data[0], 2));
    return JoinText("Start dependent function, priority ", priority);
}

std::string IoText(const std::uint8_t* data) {
    const unsigned minBase = Word(data + 1);
    const unsigned maxBase = Word(data + 3);
    std::string text = JoinText("I/O ", Hex(minBase));
    if (maxBase != minBase) {
        text += JoinText(" to ", Hex(maxBase));
    }
    return JoinText(text, ", ", std::to_string(data[6]), data[6] == 1 ? " port" : " ports",
                    " (alignment ", std::to_string(data[5]), ", ",
                    (data[0] & 0x01) ? "16-bit decode" : "10-bit decode", ")");
}

std::string FixedIoText(const std::uint8_t* data) {
    return JoinText("Fixed I/O ", Hex(Word(data) & 0x3FF), ", ", std::to_string(data[2]),
                    data[2] == 1 ? " port" : " ports", " (10-bit decode)");
}

std::string MemoryInfo(unsigned info) {
    static const char* const kControl[4] = {"8-bit", "16-bit", "8- and 16-bit", "32-bit"};
    static const char* const kFlags[8] = {nullptr, nullptr,      "high address decode", nullptr,
                                          nullptr, "shadowable", "expansion ROM",       nullptr};
    std::string text =
        JoinText((info & 0x01) ? "writable" : "read-only", ", ",
                 (info & 0x02) ? "cacheable" : "not cacheable", ", ", kControl[(info >> 3) & 0x03]);
    const std::string more = Flags(info, kFlags);
    return more.empty() ? text : JoinText(text, ", ", more);
}

std::string MemoryRangeText(const std::uint8_t* data) {
    // 24-bit addresses in 256-byte units; an alignment of 0 means 64 KB.
    const std::uint32_t minBase = static_cast<std::uint32_t>(Word(data + 1)) << 8;
    const std::uint32_t maxBase = static_cast<std::uint32_t>(Word(data + 3)) << 8;
    const std::uint32_t alignment = Word(data + 5) == 0 ? 0x10000u : Word(data + 5);
    const std::uint32_t length = static_cast<std::uint32_t>(Word(data + 7)) << 8;
    return JoinText("Memory ", Hex(minBase), " to ", Hex(maxBase), ", ", Hex(length),
                    " bytes (alignment ", Hex(alignment), ", ", MemoryInfo(data[0]), ")");
}

std::string Memory32RangeText(const std::uint8_t* data) {
    return JoinText("32-bit memory ", Hex(DoubleWord(data + 1)), " to ", Hex(DoubleWord(data + 5)),
                    ", ", Hex(DoubleWord(data + 13)), " bytes (alignment ",
                    Hex(DoubleWord(data + 9)), ", ", MemoryInfo(data[0]), ")");
}

std::string FixedMemory32Text(const std::uint8_t* data) {
    return JoinText("32-bit fixed memory ", Hex(DoubleWord(data + 1)), ", ",
                    Hex(DoubleWord(data + 5)), " bytes (", MemoryInfo(data[0]), ")");
}

// ANSI text up to its first zero; what follows the zero is not part of the name.
std::string AnsiText(const std::uint8_t* data, int length) {
    int end = 0;
    while (end < length && data[end] != 0) {
        ++end;
    }
    return PrintableText(data, static_cast<std::size_t>(end));
}

// UTF-16 little-endian text after the country code: printable ASCII as it is, anything else
// as \uNNNN, up to the first zero.
std::string UnicodeText(const std::uint8_t* data, int length) {
    std::string text;
    for (int i = 0; i + 1 < length; i += 2) {
        const unsigned unit = Word(data + i);
        if (unit == 0) {
            break;
        }
        if (unit >= 0x20 && unit < 0x7F && unit != '\\') {
            text += static_cast<char>(unit);
        } else if (unit == '\\') {
            text += "\\\\";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", unit);
            text += escape;
        }
    }
    return text;
}

std::string KindWords(ResourceItemKind kind) {
    switch (kind) {
        case ResourceItemKind::SerialIdentifier:
            return "Serial identifier";
        case ResourceItemKind::PnpVersion:
            return "Plug and Play version";
        case ResourceItemKind::LogicalDeviceId:
            return "Logical Device ID";
        case ResourceItemKind::CompatibleDeviceId:
            return "Compatible device ID";
        case ResourceItemKind::Irq:
            return "IRQ";
        case ResourceItemKind::Dma:
            return "DMA";
        case ResourceItemKind::StartDependent:
            return "Start dependent function";
        case ResourceItemKind::EndDependent:
            return "End dependent functions";
        case ResourceItemKind::IoPort:
            return "I/O";
        case ResourceItemKind::FixedIo:
            return "Fixed I/O";
        case ResourceItemKind::VendorSmall:
            return "Vendor-defined small item";
        case ResourceItemKind::ReservedSmall:
            return "Reserved small item";
        case ResourceItemKind::End:
            return "End tag";
        case ResourceItemKind::MemoryRange:
            return "Memory";
        case ResourceItemKind::IdentifierAnsi:
            return "Identifier string (ANSI)";
        case ResourceItemKind::IdentifierUnicode:
            return "Identifier string (Unicode)";
        case ResourceItemKind::VendorLarge:
            return "Vendor-defined large item";
        case ResourceItemKind::Memory32Range:
            return "32-bit memory";
        case ResourceItemKind::FixedMemory32Range:
            return "32-bit fixed memory";
        case ResourceItemKind::ReservedLarge:
            break;
    }
    return "Reserved large item";
}

std::string DecodedText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem& item) {
    const std::uint8_t* data = image + item.dataOffset;
    const int length = item.dataLength;
    switch (item.kind) {
        case ResourceItemKind::SerialIdentifier:
            return JoinText("Serial identifier: card ", Hex(BigEndianId(data), 8),
                            ", serial number ", Hex(DoubleWord(data + SERIAL_NUMBER_START), 8),
                            ", check byte ", Hex(data[SERIAL_CHECK_BYTE], 2));
        case ResourceItemKind::PnpVersion:
            return JoinText("Plug and Play version ", std::to_string(data[0] >> 4), ".",
                            std::to_string(data[0] & 0x0F), ", vendor version ", Hex(data[1], 2));
        case ResourceItemKind::LogicalDeviceId: {
            std::string text = JoinText("Logical Device ID ", Hex(BigEndianId(data), 8), ", flags ",
                                        Hex(data[4], 2));
            if (length == 6) {
                text += JoinText(" ", Hex(data[5], 2));
            }
            return (data[4] & 0x01) ? JoinText(text, " (boot device)") : text;
        }
        case ResourceItemKind::CompatibleDeviceId:
            return JoinText("Compatible device ID ", Hex(BigEndianId(data), 8));
        case ResourceItemKind::Irq:
            return IrqText(data, length);
        case ResourceItemKind::Dma:
            return DmaText(data);
        case ResourceItemKind::StartDependent:
            return PriorityText(item, data);
        case ResourceItemKind::EndDependent:
            return "End dependent functions";
        case ResourceItemKind::IoPort:
            return IoText(data);
        case ResourceItemKind::FixedIo:
            return FixedIoText(data);
        case ResourceItemKind::End:
            return JoinText("End tag, checksum ", Hex(data[0], 2));
        case ResourceItemKind::MemoryRange:
            return MemoryRangeText(data);
        case ResourceItemKind::IdentifierAnsi:
            return JoinText("Identifier string (ANSI) \"", AnsiText(data, length), "\"");
        case ResourceItemKind::IdentifierUnicode:
            return JoinText("Identifier string (Unicode, country code ", Hex(Word(data), 4), ") \"",
                            UnicodeText(data + 2, length - 2), "\"");
        case ResourceItemKind::Memory32Range:
            return Memory32RangeText(data);
        case ResourceItemKind::FixedMemory32Range:
            return FixedMemory32Text(data);
        case ResourceItemKind::VendorSmall:
        case ResourceItemKind::ReservedSmall:
        case ResourceItemKind::VendorLarge:
        case ResourceItemKind::ReservedLarge:
            break;
    }
    const bool reserved = item.kind == ResourceItemKind::ReservedSmall ||
                          item.kind == ResourceItemKind::ReservedLarge;
    std::string text = KindWords(item.kind);
    if (reserved) {
        text += JoinText(" ", Hex(item.tag, 2));
    }
    text += JoinText(", ", std::to_string(length), length == 1 ? " byte" : " bytes");
    return length > 0 ? JoinText(text, ": ", RawBytes(data, length)) : text;
}

}  // namespace

std::string ItemText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem& item) {
    if (item.problem == ResourceItemProblem::WrongLength) {
        return JoinText(KindWords(item.kind), " (tag ", Hex(item.tag, 2), ") with ",
                        std::to_string(item.dataLength),
                        " data bytes: ", RawBytes(image + item.dataOffset, item.dataLength));
    }
    return DecodedText(image, item);
}

std::string ItemProblemText(const CResourceItem& item) {
    switch (item.problem) {
        case ResourceItemProblem::None:
            break;
        case ResourceItemProblem::WrongLength:
            return "this kind of item never has that length; its data is not decoded";
        case ResourceItemProblem::VersionNotFirst:
            return "a version item stands only right after the serial identifier";
        case ResourceItemProblem::OutsideDevice:
            return "it stands before the first Logical Device ID, outside any device";
        case ResourceItemProblem::EndDependentWithoutStart:
            return "no dependent function is open here";
        case ResourceItemProblem::InsideDependentFunction:
            return "it stands among the resources of a dependent function";
        case ResourceItemProblem::DependentFunctionsOpen:
            return "the dependent functions before it were not closed by End dependent functions";
    }
    return "";
}

const char* ItemKindName(ResourceItemKind kind) {
    static const char* const kNames[] = {"serialIdentifier",
                                         "pnpVersion",
                                         "logicalDeviceId",
                                         "compatibleDeviceId",
                                         "irq",
                                         "dma",
                                         "startDependent",
                                         "endDependent",
                                         "ioPort",
                                         "fixedIo",
                                         "vendorSmall",
                                         "reservedSmall",
                                         "end",
                                         "memoryRange",
                                         "identifierAnsi",
                                         "identifierUnicode",
                                         "vendorLarge",
                                         "memory32Range",
                                         "fixedMemory32Range",
                                         "reservedLarge"};
    static_assert(sizeof kNames / sizeof kNames[0] ==
                  static_cast<int>(ResourceItemKind::ReservedLarge) + 1);
    return kNames[static_cast<int>(kind)];
}

std::string ItemBytesText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem& item) {
    std::string text;
    for (int i = item.offset; i < item.End(); ++i) {
        text.append(i > item.offset ? " " : "").append(Hex(image[i], 2));
    }
    return text;
}

std::string BreakText(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceBreak& found) {
    if (found.reason == ResourceBreakReason::NoEndTag) {
        return JoinText("No End tag: the resource data ends at ", AddressText(found.offset),
                        " without one.");
    }
    std::string text = JoinText(
        "The item at ", AddressText(found.offset), " (tag ", Hex(image[found.offset], 2),
        ") claims ", std::to_string(found.length), " bytes, which run past the end of the image");
    if (found.resumedAt >= 0) {
        return JoinText(text, "; the walk goes on at the next Logical Device ID tag, at ",
                        AddressText(found.resumedAt), ".");
    }
    return JoinText(text, "; no Logical Device ID tag follows to go on from.");
}

std::string DeviceLabel(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceDecoding& decoding,
                        int device) {
    std::string id;
    std::string name;
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        if (item.device != device || item.problem == ResourceItemProblem::WrongLength) {
            continue;
        }
        if (item.kind == ResourceItemKind::LogicalDeviceId && id.empty()) {
            id = Hex(BigEndianId(image + item.dataOffset), 8);
        } else if (item.kind == ResourceItemKind::IdentifierAnsi && name.empty()) {
            name = AnsiText(image + item.dataOffset, item.dataLength);
        }
    }
    std::string label = JoinText("device ", std::to_string(device));
    if (!id.empty()) {
        label += JoinText(" (", id, name.empty() ? "" : JoinText(" \"", name, "\""), ")");
    }
    return label;
}
