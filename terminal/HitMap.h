#pragma once

#include <vector>

#include "terminal/DialogLayout.h"

// Where the mouse can hit something, recorded while painting: the last area added lies on top.
enum class EHitKind {
    kControl,    // index: the control's position in its dialog view
    kListEntry,  // index: the entry of the open list
    kListFrame,  // the open list's frame, around its entries
    kListScrollUp,
    kListScrollDown,
    kBoxButton,  // index: the button's position in the message box
};

struct CHitArea {
    CCellRect rect;
    EHitKind kind;
    int index;
};

class CHitMap {
public:
    void Clear() { m_areas.clear(); }
    void Add(const CCellRect& rect, EHitKind kind, int index) {
        m_areas.push_back({rect, kind, index});
    }
    // The topmost area at the cell, or nullptr.
    const CHitArea* At(int row, int col) const {
        for (auto it = m_areas.rbegin(); it != m_areas.rend(); ++it) {
            if (it->rect.Contains(row, col)) {
                return &*it;
            }
        }
        return nullptr;
    }

private:
    std::vector<CHitArea> m_areas;
};
