#include "cli/DecodedInfo.h"

#include <cstdio>
#include <cstring>

#include "cli/InfoText.h"
#include "cli/ItemText.h"
#include "cli/Messages.h"
#include "text/Sentences.h"
#include "text/TextJoin.h"

namespace {

std::string HexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// Card-level items stand at the left; a device's items two spaces in, its dependent functions'
// four. A device's own ID and the End dependent functions tag stand with the device.
std::string Indent(const CResourceItem& item) {
    if (item.device < 0 || item.kind == ResourceItemKind::LogicalDeviceId ||
        item.kind == ResourceItemKind::End) {
        return "";
    }
    if (item.function >= 0 && item.kind != ResourceItemKind::StartDependent) {
        return "    ";
    }
    return "  ";
}

std::string CheckText(const char* what, const CResourceCheck& check) {
    if (!check.present) {
        return JoinText("  ", what, ": missing\n");
    }
    const std::string stored = JoinText(HexByte(check.stored), " at ", AddressText(check.offset));
    if (check.Holds()) {
        return JoinText("  ", what, ": holds (", stored, ")\n");
    }
    return JoinText("  ", what, ": bad (", stored, ", ", HexByte(check.expected), " expected)\n");
}

std::string DialogText(const CDialogView& dialog) {
    const CImageSummary& summary = dialog.summary;
    std::string text = "What the setup dialog makes of it:\n";
    if (summary.headerLength == 0) {
        text += "  Header: no Logical Device ID from offset 0x024 on, so no header either\n";
    } else {
        text += JoinText("  Header: ", std::to_string(summary.headerLength), " bytes (",
                         AddressText(0), " to ", AddressText(summary.headerLength - 1), ")\n");
    }
    text += JoinText("  Its reader finds ", ReadableDevicesText(summary), "\n");
    const int shown = summary.ReadableDevices();
    for (int slot = 0; slot < WRITTEN_LOGICAL_DEVICES; ++slot) {
        text += JoinText("  Slot ", SlotName(slot), ": ");
        if (slot >= shown) {
            text += "empty\n";
            continue;
        }
        const CDeviceSummary& device = summary.devices[static_cast<std::size_t>(slot)];
        const int functions = device.functionCount;
        text += JoinText(
            IdText(device.id), device.hasIdentifier ? JoinText(" \"", device.identifier, "\"") : "",
            " at ", AddressText(device.offset), ", ",
            functions == 0
                ? std::string("no dependent functions")
                : JoinText(std::to_string(functions),
                           functions == 1 ? " dependent function" : " dependent functions"),
            "\n");
    }
    if (!dialog.canWrite) {
        return JoinText(text, "  It cannot write this image: ", dialog.whyNot, ".\n");
    }
    text += "  It can write this image.\n";
    if (dialog.drops.empty() && dialog.changes.empty()) {
        return JoinText(text, "  Its write keeps every item as it stands.\n");
    }
    if (!dialog.drops.empty()) {
        text += "  Its write would drop:\n";
        for (const std::string& line : dialog.drops) {
            text += JoinText("    ", line, "\n");
        }
    }
    if (!dialog.changes.empty()) {
        text += "  Its write would change:\n";
        for (const std::string& line : dialog.changes) {
            text += JoinText("    ", line, "\n");
        }
    }
    return text;
}

}  // namespace

std::unique_ptr<CDecodedInfo> DecodeInfo(const std::uint8_t (&image)[EEPROM_SIZE]) {
    auto info = std::make_unique<CDecodedInfo>();
    std::memcpy(info->image, image, EEPROM_SIZE);
    info->decoding = std::make_unique<CResourceDecoding>();
    DecodeResourceData(info->image, *info->decoding);
    info->dialog = ViewAsDialog(info->image, *info->decoding);
    info->conflicts = FindConflicts(info->image, *info->decoding);
    return info;
}

std::string ItemListingText(const std::uint8_t (&image)[EEPROM_SIZE],
                            const CResourceDecoding& decoding) {
    std::string text;
    int nextBreak = 0;
    auto breaksBefore = [&](int offset) {
        while (nextBreak < decoding.breakCount && decoding.breaks[nextBreak].offset <= offset) {
            text += JoinText("! ", BreakText(image, decoding.breaks[nextBreak]), "\n");
            ++nextBreak;
        }
    };
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        breaksBefore(item.offset);
        const std::string indent = Indent(item);
        text += JoinText(AddressText(item.offset), "  ", indent, ItemText(image, item), "\n");
        const std::string problem = ItemProblemText(item);
        if (!problem.empty()) {
            text += JoinText("       ", indent, "! ", problem, "\n");
        }
    }
    breaksBefore(EEPROM_SIZE);
    if (decoding.lostBreaks > 0) {
        text += JoinText("! and ", std::to_string(decoding.lostBreaks), " breaks more\n");
    }
    return text;
}

std::string DecodedInfoText(const CDecodedInfo& info, const std::string& source) {
    const CResourceDecoding& decoding = *info.decoding;
    std::string text = JoinText("EEPROM of ", source, "\n");
    text += JoinText("Items (", std::to_string(decoding.itemCount), ", ",
                     std::to_string(decoding.deviceCount), " ",
                     LogicalDevicesWords(decoding.deviceCount), "):\n");
    text += ItemListingText(info.image, decoding);
    text += "Checks:\n";
    text += CheckText("Serial identifier check byte", decoding.serialCheck);
    text +=
        CheckText("End tag checksum (offsets 0x020 through it add up to 0)", decoding.endChecksum);
    text += "\n";
    text += DialogText(info.dialog);
    text += "\nConflicts:\n";
    if (info.conflicts.empty()) {
        text += "  none between enabled devices\n";
    }
    for (const CResourceConflict& conflict : info.conflicts) {
        text += JoinText("  ", conflict.text, "\n");
    }
    return text;
}
