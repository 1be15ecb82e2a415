#pragma once

#include <vector>

#include "terminal/DialogView.h"

// A rectangle of character cells on the screen.
struct CCellRect {
    int row = 0;
    int col = 0;
    int rows = 0;
    int cols = 0;

    bool Empty() const { return rows <= 0 || cols <= 0; }
    bool Contains(int r, int c) const {
        return r >= row && r < row + rows && c >= col && c < col + cols;
    }
    int Bottom() const { return row + rows - 1; }
    int Right() const { return col + cols - 1; }
};

// Where a dialog stands on a screen of a given size. A column is four horizontal dialog units,
// as a character of the dialog font is four units wide. Rows are scaled: at most eight vertical
// units a row (the font's height, the dialog's natural size), fewer units a row on a short
// screen, so that the dialog shrinks down to the smallest height at which every line of the
// template keeps a row of its own.
struct CDialogLayout {
    bool fits = false;  // the screen is large enough for the dialog
    int neededRows = 0;
    int neededCols = 0;
    CCellRect box;                 // the dialog with its frame; its top row holds the caption
    std::vector<CCellRect> cells;  // one a control, in the view's order; empty when not drawn
    std::vector<int> droppedRows;  // combo boxes: list rows the template's height allows
    double rowsPerUnit = 0.0;      // the vertical scale in use
};

constexpr int kComboFieldUnits = 12;  // height of a combo box's field; the rest is its list

CDialogLayout LayoutDialog(const CDialogView& view, int screenRows, int screenCols);

// Rows from the top of the dialog's client area for each vertical position in dialog units:
// positions closer than half a text line share a row, and every other one gets a row of its own
// in the order of the template. Returns the rows of the given lines (any order), or an empty
// vector when they cannot all fit into clientRows.
std::vector<int> RowsForLines(const std::vector<int>& lines, int clientRows, double rowsPerUnit);
