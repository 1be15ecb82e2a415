#include "terminal/DialogView.h"

EControlKind ControlKindOf(framework::WindowKind kind, std::uint32_t style) {
    using framework::WindowKind;
    switch (kind) {
        case WindowKind::Button: {
            // Of the buttons the terminal draws push buttons only; check boxes and the like
            // stay "other".
            const std::uint32_t type = style & template_style::kButtonTypeMask;
            return type == 0 || type == template_style::kDefPushButton ? EControlKind::kPushButton
                                                                       : EControlKind::kOther;
        }
        case WindowKind::GroupBox:
            return EControlKind::kGroupBox;
        case WindowKind::ComboBox:
            return EControlKind::kComboBox;
        case WindowKind::Static:
            return EControlKind::kStatic;
        case WindowKind::Progress:
            return EControlKind::kProgress;
        case WindowKind::Dialog:
        case WindowKind::Other:
            break;
    }
    return EControlKind::kOther;
}

EControlKind ControlKindOf(const CDialogItemTemplate& item) {
    return ControlKindOf(framework::KindOfClass(item.className, item.style), item.style);
}

CDialogView ViewFromTemplate(const CDialogTemplate& dialogTemplate) {
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
        control.enabled = (item.style & template_style::kDisabled) == 0;
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
