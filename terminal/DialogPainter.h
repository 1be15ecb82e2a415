#pragma once

#include <string>

#include "terminal/Canvas.h"
#include "terminal/DialogLayout.h"
#include "terminal/DialogView.h"
#include "terminal/HitMap.h"

// How a dialog is to be drawn beyond its controls' own state.
struct CDialogPaintState {
    int focus = -1;        // control index with the focus, -1 for none (a dialog under another)
    int enterTarget = -1;  // the push button Enter presses: marked as the default
    int openList = -1;     // combo box whose list is open, -1 for none
    int highlight = 0;     // the open list's highlighted entry
    int top = 0;           // the open list's first shown entry
    const char* hint = nullptr;  // shown in the bottom frame (for instance "F1 Help")
};

// Where an open list stands: below its field when it fits there, else where there is more room.
struct CListGeometry {
    CCellRect frame;  // the list's frame; the entries fill its inside
    int visible = 0;  // entries shown at once
};

CListGeometry DroppedListGeometry(const CDialogLayout& layout, std::size_t control, int entries,
                                  int screenRows);

// Draws the dialog and records where each control and each list entry lies.
void PaintDialog(CCanvas& canvas, const CDialogView& view, const CDialogLayout& layout,
                 const CDialogPaintState& state, CHitMap& hits);

// What the screen shows when it is smaller than the dialog needs.
void PaintTooSmall(CCanvas& canvas, const std::string& caption, int neededRows, int neededCols);
