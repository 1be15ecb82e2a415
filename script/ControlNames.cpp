#include "script/ControlNames.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "text/TextJoin.h"

namespace {

bool IsClass(const CDialogItemTemplate& item, std::string_view className) {
    return std::string_view(item.className) == className;
}

bool IsPushButton(const CDialogItemTemplate& item) {
    if (!IsClass(item, "BUTTON")) {
        return false;
    }
    const std::uint32_t type = item.style & template_style::kButtonTypeMask;
    return type == 0 || type == template_style::kDefPushButton;
}

// The static text that labels a combo box: among the texts that end left of it, those of the
// nearest column, and of these the one whose row is nearest.
const CDialogItemTemplate* LabelOf(const CDialogItemTemplate& combo,
                                   std::span<const CDialogItemTemplate> items) {
    const CDialogItemTemplate* best = nullptr;
    for (const CDialogItemTemplate& item : items) {
        if (!IsClass(item, "STATIC") || item.x + item.cx > combo.x) {
            continue;
        }
        if (best == nullptr || item.x > best->x ||
            (item.x == best->x && std::abs(item.y - combo.y) < std::abs(best->y - combo.y))) {
            best = &item;
        }
    }
    return best;
}

// A control ID as a script writes it: decimal digits only, no sign, no blanks.
bool ParseId(std::string_view name, int& id) {
    if (name.empty() || name.size() > 9) {
        return false;
    }
    for (char c : name) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    const auto result = std::from_chars(name.data(), name.data() + name.size(), id);
    return result.ec == std::errc{};
}

}  // namespace

CControlNames::CControlNames(const CDialogTemplate& dialog) {
    for (const CDialogItemTemplate& item : dialog.items) {
        if (IsClass(item, "COMBOBOX")) {
            const CDialogItemTemplate* label = LabelOf(item, dialog.items);
            m_comboBoxes.push_back({item.id, Kind::ComboBox, label ? label->text : ""});
        } else if (item.id >= 0) {
            m_others.push_back(
                {item.id, IsPushButton(item) ? Kind::PushButton : Kind::Other, item.text});
        } else if (item.text != nullptr && *item.text != '\0') {
            m_otherTexts.emplace_back(item.text);
        }
    }
    std::sort(m_comboBoxes.begin(), m_comboBoxes.end(),
              [](const CNamedControl& a, const CNamedControl& b) { return a.id < b.id; });
}

const CControlNames::CNamedControl* CControlNames::ComboBox(int id) const {
    for (const CNamedControl& combo : m_comboBoxes) {
        if (combo.id == id) {
            return &combo;
        }
    }
    return nullptr;
}

const CControlNames::CNamedControl* CControlNames::FindComboBox(std::string_view name,
                                                                std::string& reason) const {
    return Find(name, Kind::ComboBox, reason);
}

const CControlNames::CNamedControl* CControlNames::FindPushButton(std::string_view name,
                                                                  std::string& reason) const {
    return Find(name, Kind::PushButton, reason);
}

const CControlNames::CNamedControl* CControlNames::Find(std::string_view name, Kind wanted,
                                                        std::string& reason) const {
    int id = 0;
    const bool byId = ParseId(name, id);
    const CNamedControl* found = nullptr;
    auto matches = [&](const CNamedControl& control) {
        return byId ? control.id == id : control.label == name;
    };
    for (const CNamedControl& control : m_comboBoxes) {
        if (matches(control)) {
            found = &control;
            break;
        }
    }
    for (const CNamedControl& control : m_others) {
        if (found == nullptr && matches(control)) {
            found = &control;
        }
    }
    const char* wantedName = wanted == Kind::ComboBox ? "a combo box" : "a push button";
    if (found == nullptr) {
        const bool isOtherText = !byId && std::find(m_otherTexts.begin(), m_otherTexts.end(),
                                                    name) != m_otherTexts.end();
        reason = isOtherText ? JoinText("control ", Quoted(name), " is not ", wantedName)
                             : JoinText("the setup dialog has no control ", Quoted(name));
        return nullptr;
    }
    if (found->kind != wanted) {
        reason = JoinText("control ", Quoted(name), " is not ", wantedName);
        return nullptr;
    }
    return found;
}
