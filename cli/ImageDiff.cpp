#include "cli/ImageDiff.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "cli/ItemText.h"
#include "cli/Messages.h"
#include "pnp/ResourceDecoder.h"
#include "text/TextJoin.h"

namespace {

struct CDiffGroup {
    const CResourceItem* was = nullptr;  // the item in the old image, or none
    const CResourceItem* now = nullptr;  // the item in the new image, or none
    std::vector<int> addresses;
};

std::string ByteChange(int address, std::uint8_t from, std::uint8_t to) {
    char text[48];
    std::snprintf(text, sizeof text, "%s: 0x%02X -> 0x%02X", AddressText(address).c_str(), from,
                  to);
    return text;
}

// Where an item stands: "device 0 (0x0E63A800 "Codec"), dependent function 1".
std::string Place(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceDecoding& decoding,
                  const CResourceItem& item) {
    if (item.device < 0 || item.kind == ResourceItemKind::End) {
        return "the card";
    }
    std::string place = DeviceLabel(image, decoding, item.device);
    if (item.function >= 0) {
        place += JoinText(", dependent function ", std::to_string(item.function + 1));
    }
    return place;
}

std::string Decoded(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceItem* item) {
    return item == nullptr ? std::string("outside the resource data") : ItemText(image, *item);
}

// The group's first line: where its bytes stand, by the item they fall in.
std::string Heading(const std::uint8_t (&before)[EEPROM_SIZE], const CResourceDecoding& was,
                    const std::uint8_t (&after)[EEPROM_SIZE], const CResourceDecoding& now,
                    const CDiffGroup& group) {
    const bool old = group.was != nullptr;
    const CResourceItem* item = old ? group.was : group.now;
    if (item == nullptr) {
        return "Outside the resource data:";
    }
    std::string text = JoinText("In ", old ? Place(before, was, *item) : Place(after, now, *item),
                                ", the item at ", AddressText(item->offset));
    if (old && group.now != nullptr && group.now->offset != item->offset) {
        text += JoinText(" (at ", AddressText(group.now->offset), " now)");
    }
    return text + ":";
}

}  // namespace

std::string ImageDiffText(const std::uint8_t (&before)[EEPROM_SIZE],
                          const std::uint8_t (&after)[EEPROM_SIZE], const std::string& oldName,
                          const std::string& newName) {
    auto was = std::make_unique<CResourceDecoding>();
    auto now = std::make_unique<CResourceDecoding>();
    DecodeResourceData(before, *was);
    DecodeResourceData(after, *now);

    std::vector<CDiffGroup> groups;
    int differences = 0;
    for (int address = 0; address < EEPROM_SIZE; ++address) {
        if (before[address] == after[address]) {
            continue;
        }
        ++differences;
        const CResourceItem* oldItem = ItemAt(*was, address);
        const CResourceItem* newItem = ItemAt(*now, address);
        CDiffGroup* group = nullptr;
        for (CDiffGroup& candidate : groups) {
            if (candidate.was == oldItem && candidate.now == newItem) {
                group = &candidate;
            }
        }
        if (group == nullptr) {
            groups.push_back(CDiffGroup{oldItem, newItem, {}});
            group = &groups.back();
        }
        group->addresses.push_back(address);
    }
    if (differences == 0) {
        return JoinText(newName, " and ", oldName, " hold the same bytes.\n");
    }
    std::string text =
        JoinText("From ", oldName, " to ", newName, ": ", BytesDifferText(differences), ", in ",
                 std::to_string(groups.size()), groups.size() == 1 ? " item" : " items", ".\n");
    for (const CDiffGroup& group : groups) {
        text += JoinText("\n", Heading(before, *was, after, *now, group), "\n");
        for (const int address : group.addresses) {
            text += JoinText("  ", ByteChange(address, before[address], after[address]), "\n");
        }
        text += JoinText("  was: ", Decoded(before, group.was), "\n");
        text += JoinText("  now: ", Decoded(after, group.now), "\n");
    }
    return text;
}
