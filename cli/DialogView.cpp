#include "cli/DialogView.h"

#include <cstring>
#include <memory>

#include "cli/ItemText.h"
#include "cli/Messages.h"
#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"
#include "text/TextJoin.h"

namespace {

constexpr int kCardLevel = -1;

struct CRebuilt {
    std::uint8_t header[EEPROM_SIZE];
    std::int32_t headerLength = 0;
    CLogicalDevice devices[MAX_LOGICAL_DEVICES];
    std::uint8_t writeImage[EEPROM_SIZE];
    std::int32_t imageLength = 0;
    std::uint8_t card[EEPROM_SIZE];  // the card after the write: the bytes past it stay
    CResourceDecoding decoding;
};

bool SameBytes(const std::uint8_t (&a)[EEPROM_SIZE], const CResourceItem& x,
               const std::uint8_t (&b)[EEPROM_SIZE], const CResourceItem& y) {
    return x.End() - x.offset == y.End() - y.offset &&
           std::memcmp(a + x.offset, b + y.offset, static_cast<std::size_t>(x.End() - x.offset)) ==
               0;
}

// The items of one device (or of the card itself, End tag included) that the writer may keep:
// dependent functions after the first never are.
std::vector<const CResourceItem*> KeptCandidates(const CResourceDecoding& decoding, int device) {
    std::vector<const CResourceItem*> items;
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        if (item.device == device && item.function <= 0 && item.kind != ResourceItemKind::End) {
            items.push_back(&item);
        }
        if (device == kCardLevel && item.kind == ResourceItemKind::End) {
            items.push_back(&item);
        }
    }
    return items;
}

// Compares one device's items before and after the write: equal items in order are kept; an
// item left over on both sides with the same kind is changed, the rest dropped or added.
void CompareDevice(const std::uint8_t (&before)[EEPROM_SIZE], const CResourceDecoding& old,
                   const std::uint8_t (&after)[EEPROM_SIZE], const CResourceDecoding& rebuilt,
                   int device, const std::string& label, CDialogView& view) {
    const std::vector<const CResourceItem*> was = KeptCandidates(old, device);
    const std::vector<const CResourceItem*> will = device < WRITTEN_LOGICAL_DEVICES
                                                       ? KeptCandidates(rebuilt, device)
                                                       : std::vector<const CResourceItem*>();
    std::vector<bool> matched(will.size(), false);
    std::vector<const CResourceItem*> gone;
    std::size_t next = 0;
    for (const CResourceItem* item : was) {
        std::size_t j = next;
        while (j < will.size() && !SameBytes(before, *item, after, *will[j])) {
            ++j;
        }
        if (j < will.size()) {
            matched[j] = true;
            next = j + 1;
        } else {
            gone.push_back(item);
        }
    }
    for (const CResourceItem* item : gone) {
        std::size_t j = 0;
        while (j < will.size() && (matched[j] || will[j]->kind != item->kind)) {
            ++j;
        }
        if (j < will.size()) {
            matched[j] = true;
            view.changes.push_back(JoinText(label, ": ", ItemText(before, *item), " at ",
                                            AddressText(item->offset), " becomes ",
                                            ItemText(after, *will[j])));
        } else {
            view.drops.push_back(
                JoinText(label, ": ", ItemText(before, *item), " at ", AddressText(item->offset)));
        }
    }
    for (std::size_t j = 0; j < will.size(); ++j) {
        if (!matched[j]) {
            view.changes.push_back(JoinText(label, ": adds ", ItemText(after, *will[j])));
        }
    }
}

// Devices after the sixth and dependent functions after the first, a line each.
void DropWholeParts(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceDecoding& decoding,
                    CDialogView& view) {
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        if (item.kind == ResourceItemKind::LogicalDeviceId &&
            item.device >= WRITTEN_LOGICAL_DEVICES) {
            view.drops.push_back(JoinText(DeviceLabel(image, decoding, item.device), " at ",
                                          AddressText(item.offset),
                                          ": the whole device (the dialog keeps six)"));
        }
        if (item.kind == ResourceItemKind::StartDependent && item.function >= 1 &&
            item.device < WRITTEN_LOGICAL_DEVICES) {
            view.drops.push_back(
                JoinText(DeviceLabel(image, decoding, item.device), ": dependent function ",
                         std::to_string(item.function + 1), " at ", AddressText(item.offset),
                         " (the dialog writes only the first)"));
        }
    }
}

}  // namespace

const char* SlotName(int slot) {
    static const char* const kNames[WRITTEN_LOGICAL_DEVICES] = {
        "Codec", "Game Port", "Control", "MIDI-2", "Midi-1", "Digital Control"};
    return slot >= 0 && slot < WRITTEN_LOGICAL_DEVICES ? kNames[slot] : "";
}

CDialogView ViewAsDialog(const std::uint8_t (&image)[EEPROM_SIZE],
                         const CResourceDecoding& decoding) {
    CDialogView view;
    view.summary = SummarizeImage(image);
    if (view.summary.ReadableDevices() < WRITTEN_LOGICAL_DEVICES) {
        view.whyNot =
            JoinText("its image reader finds ", ReadableDevicesText(view.summary), ", not six");
        return view;
    }
    auto rebuilt = std::make_unique<CRebuilt>();
    LocateDevices(image, rebuilt->header, rebuilt->headerLength, rebuilt->devices);
    if (BuildImage(rebuilt->header, rebuilt->headerLength, rebuilt->devices, rebuilt->writeImage,
                   rebuilt->imageLength) == 0) {
        view.whyNot =
            "it cannot build an image from it: an identifier string or the image is too long";
        return view;
    }
    view.canWrite = true;
    std::memcpy(rebuilt->card, image, EEPROM_SIZE);
    std::memcpy(rebuilt->card, rebuilt->writeImage, static_cast<std::size_t>(rebuilt->imageLength));
    DecodeResourceData(rebuilt->card, rebuilt->decoding);

    DropWholeParts(image, decoding, view);
    CompareDevice(image, decoding, rebuilt->card, rebuilt->decoding, kCardLevel, "the card", view);
    for (int device = 0; device < decoding.deviceCount && device < WRITTEN_LOGICAL_DEVICES;
         ++device) {
        CompareDevice(image, decoding, rebuilt->card, rebuilt->decoding, device,
                      DeviceLabel(image, decoding, device), view);
    }
    return view;
}
