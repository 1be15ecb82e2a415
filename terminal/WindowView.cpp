#include "terminal/WindowView.h"

CDialogView ViewOfDialog(const framework::WindowState& dialog) {
    CDialogView view;
    view.caption = dialog.text;
    if (dialog.dialogTemplate != nullptr) {
        view.cx = dialog.dialogTemplate->cx;
        view.cy = dialog.dialogTemplate->cy;
    } else {
        view.cx = dialog.cx;
        view.cy = dialog.cy;
    }
    for (const auto& child : dialog.children) {
        CControlView control;
        control.id = child->id;
        control.kind = ControlKindOf(child->kind, child->style);
        control.text = child->text;
        control.x = child->x;
        control.y = child->y;
        control.cx = child->cx;
        control.cy = child->cy;
        control.visible = child->visible;
        control.enabled = child->enabled;
        control.tabStop = (child->style & template_style::kTabStop) != 0;
        control.isDefault = child->IsDefaultPushButton();
        for (const framework::ComboEntry& entry : child->entries) {
            control.entries.push_back(entry.text);
        }
        control.selection = child->curSel;
        control.rangeLow = child->rangeLow;
        control.rangeHigh = child->rangeHigh;
        control.position = child->pos;
        if (dialog.focusId != 0 && child->id == dialog.focusId) {
            view.focus = static_cast<int>(view.controls.size());
        }
        view.controls.push_back(std::move(control));
    }
    return view;
}

const framework::WindowState* ControlAt(const framework::WindowState& dialog, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= dialog.children.size()) {
        return nullptr;
    }
    return dialog.children[static_cast<std::size_t>(index)].get();
}
