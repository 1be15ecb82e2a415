#include "framework/WindowState.h"

#include <algorithm>

namespace framework {
// The templates' style bits are the system's: hosts hand them to Windows as they stand.
static_assert(template_style::kPopup == WS_POPUP);
static_assert(template_style::kChild == WS_CHILD);
static_assert(template_style::kVisible == WS_VISIBLE);
static_assert(template_style::kDisabled == WS_DISABLED);
static_assert(template_style::kCaption == WS_CAPTION);
static_assert(template_style::kBorder == WS_BORDER);
static_assert(template_style::kVScroll == WS_VSCROLL);
static_assert(template_style::kSysMenu == WS_SYSMENU);
static_assert(template_style::kGroup == WS_GROUP);
static_assert(template_style::kTabStop == WS_TABSTOP);
static_assert(template_style::kModalFrame == DS_MODALFRAME);
static_assert(template_style::kSetFont == DS_SETFONT);
static_assert(template_style::kButtonTypeMask == BS_TYPEMASK);
static_assert(template_style::kDefPushButton == BS_DEFPUSHBUTTON);
static_assert(template_style::kGroupBox == BS_GROUPBOX);
static_assert(template_style::kDropDown == CBS_DROPDOWN);
static_assert(template_style::kSort == CBS_SORT);

namespace {
std::vector<WindowState*>& LiveWindows() {
    static std::vector<WindowState*> windows;
    return windows;
}

}  // namespace

bool WindowState::IsPushButton() const {
    if (kind != WindowKind::Button) {
        return false;
    }
    const std::uint32_t type = style & template_style::kButtonTypeMask;
    return type == 0 || type == template_style::kDefPushButton;
}

bool WindowState::IsDefaultPushButton() const {
    return kind == WindowKind::Button &&
           (style & template_style::kButtonTypeMask) == template_style::kDefPushButton;
}

bool WindowState::AcceptsInput() const {
    if (!enabled) {
        return false;
    }
    return parent == nullptr || parent->AcceptsInput();
}

bool WindowState::IsFocusable() const {
    return !IsDialog() && visible && AcceptsInput() && (style & template_style::kTabStop) != 0;
}

const WindowState* WindowState::FindChild(int controlId) const {
    for (const auto& child : children) {
        if (child->id == controlId) {
            return child.get();
        }
    }
    return nullptr;
}

WindowState* WindowState::FindChild(int controlId) {
    for (auto& child : children) {
        if (child->id == controlId) {
            return child.get();
        }
    }
    return nullptr;
}

const WindowState& WindowState::Dialog() const {
    const WindowState* window = this;
    while (window->parent != nullptr) {
        window = window->parent;
    }
    return *window;
}

int WindowState::DefaultButtonId() const {
    const WindowState& dialog = Dialog();
    if (dialog.focusId != 0) {
        const WindowState* focused = dialog.FindChild(dialog.focusId);
        if (focused != nullptr && focused->IsPushButton()) {
            return focused->id;
        }
    }
    for (const auto& child : dialog.children) {
        if (child->IsDefaultPushButton()) {
            return child->id;
        }
    }
    return IDOK;
}

WindowKind KindOfClass(const char* className, std::uint32_t style) {
    if (className == nullptr) {
        return WindowKind::Other;
    }
    if (SameWindowClass(className, "BUTTON")) {
        return (style & template_style::kButtonTypeMask) == template_style::kGroupBox
                   ? WindowKind::GroupBox
                   : WindowKind::Button;
    }
    if (SameWindowClass(className, "COMBOBOX")) {
        return WindowKind::ComboBox;
    }
    if (SameWindowClass(className, "STATIC")) {
        return WindowKind::Static;
    }
    if (SameWindowClass(className, "msctls_progress32")) {
        return WindowKind::Progress;
    }
    return WindowKind::Other;
}

namespace {

// What a dialog and each of its controls take alike from their template: ID, text, style,
// rectangle, and whether the style shows and enables them.
template <class Template>
void TakeFromTemplate(WindowState& window, const Template& from, const char* text) {
    window.id = from.id;
    window.text = text != nullptr ? text : "";
    window.style = from.style;
    window.x = from.x;
    window.y = from.y;
    window.cx = from.cx;
    window.cy = from.cy;
    window.visible = (from.style & template_style::kVisible) != 0;
    window.enabled = (from.style & template_style::kDisabled) == 0;
}

}  // namespace

std::unique_ptr<WindowState> BuildDialogWindows(const CDialogTemplate& dialogTemplate,
                                                CDialog* dialog) {
    (void)dialog;
    auto window = std::make_unique<WindowState>();
    window->kind = WindowKind::Dialog;
    window->className = "#32770";
    TakeFromTemplate(*window, dialogTemplate, dialogTemplate.caption);
    window->exStyle = dialogTemplate.exStyle;
    window->dialogTemplate = &dialogTemplate;
    window->clientWidth = dialog_units::ToPixelsX(dialogTemplate.cx);
    window->clientHeight = dialog_units::ToPixelsY(dialogTemplate.cy);
    for (const CDialogItemTemplate& item : dialogTemplate.items) {
        auto control = std::make_unique<WindowState>();
        control->className = item.className != nullptr ? item.className : "";
        control->kind = KindOfClass(item.className, item.style);
        TakeFromTemplate(*control, item, item.text);
        if (control->kind == WindowKind::ComboBox) {
            control->text.clear();  // a combo box shows its selection, nothing before one
        }
        control->parent = window.get();
        window->children.push_back(std::move(control));
    }
    return window;
}

void RegisterWindows(WindowState& dialog) {
    auto& live = LiveWindows();
    live.push_back(&dialog);
    for (auto& child : dialog.children) {
        live.push_back(child.get());
    }
}

void UnregisterWindows(WindowState& dialog) {
    auto& live = LiveWindows();
    auto dead = [&dialog](const WindowState* window) {
        return window == &dialog || window->parent == &dialog;
    };
    live.erase(std::remove_if(live.begin(), live.end(), dead), live.end());
}

WindowState* LiveWindow(const WindowState* window) {
    if (window == nullptr) {
        return nullptr;
    }
    for (WindowState* live : LiveWindows()) {
        if (live == window) {
            return live;
        }
    }
    return nullptr;
}

}  // namespace framework
