#include "terminal/DialogView.h"

namespace {

bool ClassIs(const CDialogItemTemplate& item, const char* name) {
    if (item.className == nullptr) {
        return false;
    }
    const char* a = item.className;
    const char* b = name;
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        char ca = *a;
        char cb = *b;
        if (ca >= 'a' && ca <= 'z') {
            ca = static_cast<char>(ca - 'a' + 'A');
        }
        if (cb >= 'a' && cb <= 'z') {
            cb = static_cast<char>(cb - 'a' + 'A');
        }
        if (ca != cb) {
            return false;
        }
    }
    return *a == '\0' && *b == '\0';
}

}  // namespace

EControlKind ControlKindOf(const CDialogItemTemplate& item) {
    if (ClassIs(item, "BUTTON")) {
        const std::uint32_t type = item.style & template_style::kButtonTypeMask;
        if (type == template_style::kGroupBox) {
            return EControlKind::kGroupBox;
        }
        if (type == 0 || type == template_style::kDefPushButton) {
            return EControlKind::kPushButton;
        }
        return EControlKind::kOther;
    }
    if (ClassIs(item, "COMBOBOX")) {
        return EControlKind::kComboBox;
    }
    if (ClassIs(item, "STATIC")) {
        return EControlKind::kStatic;
    }
    if (ClassIs(item, "msctls_progress32")) {
        return EControlKind::kProgress;
    }
    return EControlKind::kOther;
}

CDialogView ViewFromTemplate(const CDialogTemplate& dialogTemplate) {
    constexpr std::uint32_t kDisabled = 0x08000000u;  // WS_DISABLED
    CDialogView view;
    view.caption = dialogTemplate.caption != nullptr ? dialogTemplate.caption : "";
    view.cx = dialogTemplate.cx;
    view.cy = dialogTemplate.cy;
    for (const CDialogItemTemplate& item : dialogTemplate.items) {
        CControlView control;
        control.id = item.id;
        control.kind = ControlKindOf(item);
        if (control.kind != EControlKind::kComboBox) {
            control.text = item.text != nullptr ? item.text : "";
        }
        control.x = item.x;
        control.y = item.y;
        control.cx = item.cx;
        control.cy = item.cy;
        control.visible = (item.style & template_style::kVisible) != 0;
        control.enabled = (item.style & kDisabled) == 0;
        control.tabStop = (item.style & template_style::kTabStop) != 0;
        control.isDefault =
            control.kind == EControlKind::kPushButton &&
            (item.style & template_style::kButtonTypeMask) == template_style::kDefPushButton;
        view.controls.push_back(std::move(control));
    }
    return view;
}

bool IsFocusable(const CControlView& control) {
    return control.visible && control.enabled && control.tabStop &&
           (control.kind == EControlKind::kPushButton || control.kind == EControlKind::kComboBox);
}
