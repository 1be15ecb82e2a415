#include "cli/ResourceConflicts.h"

#include <cstdio>

#include "cli/ItemText.h"
#include "text/TextJoin.h"

namespace {

struct CFixedResource {
    int device = 0;
    std::string kind;
    unsigned low = 0;  // I/O: the range; IRQ and DMA: the line or channel in both
    unsigned high = 0;
};

unsigned Word(const std::uint8_t* data) {
    return data[0] | (data[1] << 8);
}

// The one bit set in mask, or -1 when there is not exactly one.
int OnlyBit(unsigned mask) {
    if (mask == 0 || (mask & (mask - 1)) != 0) {
        return -1;
    }
    int bit = 0;
    while ((mask >> bit) != 1u) {
        ++bit;
    }
    return bit;
}

std::string HexText(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::vector<CFixedResource> FixedResources(const std::uint8_t (&image)[EEPROM_SIZE],
                                           const CResourceDecoding& decoding) {
    std::vector<CFixedResource> fixed;
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        if (item.device < 0 || item.function > 0 || item.problem != ResourceItemProblem::None) {
            continue;
        }
        const std::uint8_t* data = image + item.dataOffset;
        CFixedResource resource;
        resource.device = item.device;
        if (item.kind == ResourceItemKind::IoPort && Word(data + 1) == Word(data + 3) &&
            data[6] > 0) {
            resource.kind = "io";
            resource.low = Word(data + 1);
            resource.high = resource.low + data[6] - 1;
        } else if (item.kind == ResourceItemKind::FixedIo && data[2] > 0) {
            resource.kind = "io";
            resource.low = Word(data) & 0x3FF;
            resource.high = resource.low + data[2] - 1;
        } else if (item.kind == ResourceItemKind::Irq && OnlyBit(Word(data)) >= 0) {
            resource.kind = "irq";
            resource.low = resource.high = static_cast<unsigned>(OnlyBit(Word(data)));
        } else if (item.kind == ResourceItemKind::Dma && OnlyBit(data[0]) >= 0) {
            resource.kind = "dma";
            resource.low = resource.high = static_cast<unsigned>(OnlyBit(data[0]));
        } else {
            continue;
        }
        fixed.push_back(resource);
    }
    return fixed;
}

std::string ResourceText(const CFixedResource& resource) {
    if (resource.kind == "io") {
        return JoinText("I/O ", HexText(resource.low), "-", HexText(resource.high));
    }
    return JoinText(resource.kind == "irq" ? "IRQ " : "DMA ", std::to_string(resource.low));
}

}  // namespace

std::vector<CResourceConflict> FindConflicts(const std::uint8_t (&image)[EEPROM_SIZE],
                                             const CResourceDecoding& decoding) {
    const std::vector<CFixedResource> fixed = FixedResources(image, decoding);
    std::vector<CResourceConflict> conflicts;
    std::vector<bool> told(fixed.size(), false);
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        const CFixedResource& a = fixed[i];
        if (a.kind != "io") {
            // Every other device that fixes the same line or channel, once each.
            if (told[i]) {
                continue;
            }
            CResourceConflict conflict;
            conflict.kind = a.kind;
            conflict.devices.push_back(a.device);
            for (std::size_t j = i + 1; j < fixed.size(); ++j) {
                const CFixedResource& b = fixed[j];
                if (b.kind == a.kind && b.low == a.low) {
                    told[j] = true;
                    if (b.device != conflict.devices.back()) {
                        conflict.devices.push_back(b.device);
                    }
                }
            }
            if (conflict.devices.size() < 2) {
                continue;
            }
            std::string names;
            for (std::size_t k = 0; k < conflict.devices.size(); ++k) {
                names += JoinText(k == 0 ? "" : (k + 1 == conflict.devices.size() ? " and " : ", "),
                                  DeviceLabel(image, decoding, conflict.devices[k]));
            }
            conflict.text = JoinText(ResourceText(a), " is fixed by ", names);
            conflicts.push_back(conflict);
            continue;
        }
        for (std::size_t j = i + 1; j < fixed.size(); ++j) {
            const CFixedResource& b = fixed[j];
            if (a.device == b.device || b.kind != "io" || a.high < b.low || b.high < a.low) {
                continue;
            }
            CResourceConflict conflict;
            conflict.kind = a.kind;
            conflict.devices = {a.device, b.device};
            conflict.text = JoinText(
                ResourceText(a), " of ", DeviceLabel(image, decoding, a.device), " overlaps ",
                ResourceText(b), " of ", DeviceLabel(image, decoding, b.device));
            conflicts.push_back(conflict);
        }
    }
    return conflicts;
}
