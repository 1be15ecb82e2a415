#include <nlohmann/json.hpp>

#include "cli/DecodedInfo.h"
#include "cli/InfoJson.h"
#include "cli/ItemText.h"

namespace {

using Json = nlohmann::ordered_json;

Json CheckJson(const CResourceCheck& check) {
    if (!check.present) {
        return Json{{"state", "missing"}};
    }
    return Json{{"state", check.Holds() ? "holds" : "bad"},
                {"offset", check.offset},
                {"stored", check.stored},
                {"expected", check.expected}};
}

Json OrNull(int value) {
    return value >= 0 ? Json(value) : Json(nullptr);
}

Json ItemsJson(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceDecoding& decoding) {
    Json items = Json::array();
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        const std::string problem = ItemProblemText(item);
        items.push_back({{"offset", item.offset},
                         {"size", item.End() - item.offset},
                         {"kind", ItemKindName(item.kind)},
                         {"tag", item.tag},
                         {"device", OrNull(item.device)},
                         {"function", OrNull(item.function)},
                         {"text", ItemText(image, item)},
                         {"bytes", ItemBytesText(image, item)},
                         {"problem", problem.empty() ? Json(nullptr) : Json(problem)}});
    }
    return items;
}

Json BreaksJson(const std::uint8_t (&image)[EEPROM_SIZE], const CResourceDecoding& decoding) {
    Json breaks = Json::array();
    for (int i = 0; i < decoding.breakCount; ++i) {
        const CResourceBreak& found = decoding.breaks[i];
        breaks.push_back(
            {{"reason",
              found.reason == ResourceBreakReason::RunsPastImage ? "runsPastImage" : "noEndTag"},
             {"offset", found.offset},
             {"length", found.reason == ResourceBreakReason::RunsPastImage ? Json(found.length)
                                                                           : Json(nullptr)},
             {"resumedAt", OrNull(found.resumedAt)},
             {"text", BreakText(image, found)}});
    }
    return breaks;
}

Json DialogJson(const CDialogView& dialog) {
    Json slots = Json::array();
    const int shown =
        dialog.summary.ReadableDevices() > 0 ? static_cast<int>(dialog.summary.devices.size()) : 0;
    for (int slot = 0; slot < WRITTEN_LOGICAL_DEVICES; ++slot) {
        Json entry{{"slot", slot}, {"name", SlotName(slot)}, {"device", nullptr}};
        if (slot < shown) {
            entry["device"] = dialog.summary.devices[static_cast<std::size_t>(slot)].offset;
        }
        slots.push_back(entry);
    }
    return Json{
        {"headerLength",
         dialog.summary.headerLength != 0 ? Json(dialog.summary.headerLength) : Json(nullptr)},
        {"slots", slots},
        {"canWrite", dialog.canWrite},
        {"whyNot", dialog.canWrite ? Json(nullptr) : Json(dialog.whyNot)},
        {"drops", dialog.drops},
        {"changes", dialog.changes}};
}

}  // namespace

std::string DecodedInfoJson(const CDecodedInfo& info, const std::string& source) {
    // The reader's view keeps the fields it always had; the decoder's findings come after.
    Json json = SummaryJson(info.dialog.summary, source);
    const CResourceDecoding& decoding = *info.decoding;
    json["items"] = ItemsJson(info.image, decoding);
    json["breaks"] = BreaksJson(info.image, decoding);
    json["checks"] = Json{{"serialIdentifier", CheckJson(decoding.serialCheck)},
                          {"endTag", CheckJson(decoding.endChecksum)}};
    json["dialog"] = DialogJson(info.dialog);
    Json conflicts = Json::array();
    for (const CResourceConflict& conflict : info.conflicts) {
        conflicts.push_back(
            {{"kind", conflict.kind}, {"devices", conflict.devices}, {"text", conflict.text}});
    }
    json["conflicts"] = conflicts;
    return JsonText(json);
}
