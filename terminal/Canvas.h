#pragma once

#include <string_view>

#include "terminal/DialogLayout.h"

// How a cell is to look; each canvas turns these into what its terminal can show (colours,
// reverse video, dim) so that the painter never depends on the terminal.
enum class EStyle {
    kScreen,         // behind the dialogs
    kDialog,         // a dialog's face, its frame, group boxes and labels
    kCaption,        // the caption in a dialog's top frame
    kDisabled,       // text of a disabled control
    kField,          // a combo box's field
    kFieldFocus,     // the focused combo box's field
    kButton,         // a push button
    kButtonFocus,    // the focused push button
    kList,           // an open drop-down list
    kListHighlight,  // the highlighted entry of an open list
    kProgressDone,   // the filled part of a progress bar
    kProgressToDo,   // the part still to fill
    kStyleCount,     // not a style: how many there are
};

// A screen of character cells. The painters only draw through this, so what they draw can be
// checked on a plain grid of characters as well as shown with ncurses.
class CCanvas {
public:
    virtual ~CCanvas() = default;

    virtual int Rows() const = 0;
    virtual int Cols() const = 0;

    // Spaces over the whole rectangle (clipped to the screen).
    virtual void Fill(const CCellRect& rect, EStyle style) = 0;
    // Text from (row, col) on, cut at the screen's edge and at maxCols cells (-1: no limit).
    virtual void Text(int row, int col, std::string_view text, EStyle style, int maxCols = -1) = 0;
    // A line-drawn frame on the outer cells of rect (ASCII where the terminal has no lines).
    virtual void Frame(const CCellRect& rect, EStyle style) = 0;
    // A horizontal line of n cells, for the separators of a box.
    virtual void HorizontalLine(int row, int col, int n, EStyle style) = 0;
};
