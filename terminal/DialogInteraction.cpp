#include "terminal/DialogInteraction.h"

#include <algorithm>

#include "text/AsciiCase.h"

namespace {

using EType = CUserAction::EType;

bool IsPushButton(const CDialogView& view, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < view.controls.size() &&
           view.controls[static_cast<std::size_t>(index)].kind == EControlKind::kPushButton;
}

bool CanFocus(const CDialogView& view, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < view.controls.size() &&
           IsFocusable(view.controls[static_cast<std::size_t>(index)]);
}

}  // namespace

void CDialogInteraction::Start(const CDialogView& view, int focus) {
    m_openList = -1;
    m_focus = focus;
    if (!CanFocus(view, m_focus)) {
        m_focus = -1;
        MoveFocus(view, 1);
    }
}

void CDialogInteraction::Sync(const CDialogView& view) {
    if (CanFocus(view, view.focus)) {
        m_focus = view.focus;
    }
    if (m_openList >= 0 && !CanFocus(view, m_openList)) {
        CloseList();
    }
    if (!CanFocus(view, m_focus)) {
        MoveFocus(view, 1);
    }
}

void CDialogInteraction::MoveFocus(const CDialogView& view, int step) {
    const int count = static_cast<int>(view.controls.size());
    if (count == 0) {
        m_focus = -1;
        return;
    }
    int at = m_focus < 0 ? (step > 0 ? -1 : 0) : m_focus;
    for (int tries = 0; tries < count; ++tries) {
        at = (at + step + count) % count;
        if (CanFocus(view, at)) {
            m_focus = at;
            return;
        }
    }
    if (!CanFocus(view, m_focus)) {
        m_focus = -1;
    }
}

void CDialogInteraction::OpenList(const CDialogView& view, const CDialogLayout& layout,
                                  int screenRows, int control) {
    if (!CanFocus(view, control)) {
        return;
    }
    const CControlView& combo = view.controls[static_cast<std::size_t>(control)];
    if (combo.kind != EControlKind::kComboBox || combo.entries.empty()) {
        return;
    }
    // The list opens on the selected entry, scrolled so that it shows.
    m_openList = control;
    m_top = 0;
    Highlight(view, layout, screenRows, std::max(combo.selection, 0));
}

void CDialogInteraction::Highlight(const CDialogView& view, const CDialogLayout& layout,
                                   int screenRows, int entry) {
    const std::size_t index = static_cast<std::size_t>(m_openList);
    const int entries = static_cast<int>(view.controls[index].entries.size());
    const int visible = DroppedListGeometry(layout, index, entries, screenRows).visible;
    m_highlight = std::clamp(entry, 0, entries - 1);
    if (m_highlight < m_top) {
        m_top = m_highlight;
    } else if (m_highlight >= m_top + visible) {
        m_top = m_highlight - visible + 1;
    }
}

CUserAction CDialogInteraction::OnListKey(const CDialogView& view, const CDialogLayout& layout,
                                          int screenRows, const CKeyEvent& event) {
    const std::size_t index = static_cast<std::size_t>(m_openList);
    const CControlView& combo = view.controls[index];
    const int entries = static_cast<int>(combo.entries.size());
    const int page =
        std::max(1, DroppedListGeometry(layout, index, entries, screenRows).visible - 1);
    switch (CommandFor(EKeyContext::kOpenList, event)) {
        case ECommand::kListUp:
            Highlight(view, layout, screenRows, m_highlight - 1);
            break;
        case ECommand::kListDown:
            Highlight(view, layout, screenRows, m_highlight + 1);
            break;
        case ECommand::kListPageUp:
            Highlight(view, layout, screenRows, m_highlight - page);
            break;
        case ECommand::kListPageDown:
            Highlight(view, layout, screenRows, m_highlight + page);
            break;
        case ECommand::kListFirst:
            Highlight(view, layout, screenRows, 0);
            break;
        case ECommand::kListLast:
            Highlight(view, layout, screenRows, entries - 1);
            break;
        case ECommand::kListJump:
            // The next entry after the highlighted one that starts with the character, going
            // round to the top, as a Windows list box does.
            for (int step = 1; step <= entries; ++step) {
                const int entry = (m_highlight + step) % entries;
                const std::string& text = combo.entries[static_cast<std::size_t>(entry)];
                if (!text.empty() &&
                    AsciiLowerCase(text.front()) == AsciiLowerCase(event.character)) {
                    Highlight(view, layout, screenRows, entry);
                    break;
                }
            }
            break;
        case ECommand::kListPick: {
            const int picked = m_highlight;
            CloseList();
            return {EType::kPick, combo.id, picked};
        }
        case ECommand::kListClose:
            CloseList();
            break;
        case ECommand::kHelp:
            return {EType::kHelp, -1, -1};
        default:
            break;
    }
    return {};
}

CUserAction CDialogInteraction::OnKey(const CDialogView& view, const CDialogLayout& layout,
                                      int screenRows, const CKeyEvent& event) {
    if (m_openList >= 0) {
        return OnListKey(view, layout, screenRows, event);
    }
    EKeyContext context = EKeyContext::kDialog;
    if (CanFocus(view, m_focus)) {
        context = IsPushButton(view, m_focus) ? EKeyContext::kOnButton : EKeyContext::kOnComboBox;
    }
    const int focusedId = m_focus >= 0 ? view.controls[static_cast<std::size_t>(m_focus)].id : -1;
    switch (CommandFor(context, event)) {
        case ECommand::kFocusNext:
            MoveFocus(view, 1);
            return {};
        case ECommand::kFocusPrevious:
            MoveFocus(view, -1);
            return {};
        case ECommand::kDropDown:
            OpenList(view, layout, screenRows, m_focus);
            return {};
        case ECommand::kPressFocused:
            return {EType::kClick, focusedId, -1};
        case ECommand::kPressDefault:
            if (IsPushButton(view, m_focus)) {
                return {EType::kClick, focusedId, -1};
            }
            return {EType::kDefault, -1, -1};
        case ECommand::kCancel:
            return {EType::kCancel, -1, -1};
        case ECommand::kHelp:
            return {EType::kHelp, -1, -1};
        case ECommand::kReadPort:
            return {EType::kReadPort, -1, -1};
        case ECommand::kWriteNow:
            return {EType::kWriteNow, -1, -1};
        default:
            return {};
    }
}

CUserAction CDialogInteraction::OnClick(const CDialogView& view, const CDialogLayout& layout,
                                        int screenRows, const CHitMap& hits, int row, int col) {
    const CHitArea* hit = hits.At(row, col);
    if (m_openList >= 0) {
        const int control = m_openList;
        if (hit != nullptr && hit->kind == EHitKind::kListEntry) {
            CloseList();
            return {EType::kPick, view.controls[static_cast<std::size_t>(control)].id, hit->index};
        }
        if (hit != nullptr &&
            (hit->kind == EHitKind::kListScrollUp || hit->kind == EHitKind::kListScrollDown)) {
            const std::size_t index = static_cast<std::size_t>(control);
            const int entries = static_cast<int>(view.controls[index].entries.size());
            const int visible = DroppedListGeometry(layout, index, entries, screenRows).visible;
            const int step = hit->kind == EHitKind::kListScrollUp ? -1 : 1;
            m_top = std::clamp(m_top + step, 0, std::max(0, entries - visible));
            m_highlight = std::clamp(m_highlight, m_top, m_top + visible - 1);
            return {};
        }
        if (hit != nullptr && hit->kind == EHitKind::kListFrame) {
            return {};  // on the list's own frame: the list stays
        }
        // A click beside the open list closes it and does nothing else, as in Windows.
        CloseList();
        return {};
    }
    if (hit == nullptr || hit->kind != EHitKind::kControl || !CanFocus(view, hit->index)) {
        return {};
    }
    m_focus = hit->index;
    const CControlView& control = view.controls[static_cast<std::size_t>(hit->index)];
    if (control.kind == EControlKind::kComboBox) {
        OpenList(view, layout, screenRows, hit->index);
        return {};
    }
    return {EType::kClick, control.id, -1};
}

CDialogPaintState CDialogInteraction::PaintState(const CDialogView& view) const {
    CDialogPaintState state;
    state.focus = m_focus;
    if (IsPushButton(view, m_focus)) {
        state.enterTarget = m_focus;
    } else {
        for (std::size_t i = 0; i < view.controls.size(); ++i) {
            if (view.controls[i].isDefault && view.controls[i].visible) {
                state.enterTarget = static_cast<int>(i);
            }
        }
    }
    state.openList = m_openList;
    state.highlight = m_highlight;
    state.top = m_top;
    return state;
}
