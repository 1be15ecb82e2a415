#include "web/DialogJson.h"

#include <nlohmann/json.hpp>

namespace {

const char* KindName(framework::WindowKind kind) {
    switch (kind) {
        case framework::WindowKind::Dialog:
            return "dialog";
        case framework::WindowKind::Button:
            return "button";
        case framework::WindowKind::GroupBox:
            return "group";
        case framework::WindowKind::ComboBox:
            return "combo";
        case framework::WindowKind::Static:
            return "label";
        case framework::WindowKind::Progress:
            return "progress";
        case framework::WindowKind::Other:
            break;
    }
    return "other";
}

nlohmann::json WindowJson(const framework::WindowState& window) {
    nlohmann::json json = {
        {"kind", KindName(window.kind)},
        {"id", window.id},
        {"text", window.text},
        {"style", window.style},
        {"rect", {window.x, window.y, window.cx, window.cy}},
        {"visible", window.visible},
        {"enabled", window.enabled},
    };
    if (window.kind == framework::WindowKind::ComboBox) {
        nlohmann::json entries = nlohmann::json::array();
        for (const framework::ComboEntry& entry : window.entries) {
            entries.push_back({{"text", entry.text}, {"data", entry.data}});
        }
        json["entries"] = std::move(entries);
        json["selection"] = window.curSel;
    }
    if (window.kind == framework::WindowKind::Progress) {
        json["range"] = {window.rangeLow, window.rangeHigh};
        json["position"] = window.pos;
    }
    return json;
}

}  // namespace

std::string DialogJson(const framework::WindowState& dialog) {
    nlohmann::json json = WindowJson(dialog);
    json["templateId"] = dialog.dialogTemplate != nullptr ? dialog.dialogTemplate->id : 0;
    json["focus"] = dialog.focusId;
    nlohmann::json controls = nlohmann::json::array();
    for (const auto& child : dialog.children) {
        controls.push_back(WindowJson(*child));
    }
    json["controls"] = std::move(controls);
    // A text the program did not write as UTF-8 must not stop the page.
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
