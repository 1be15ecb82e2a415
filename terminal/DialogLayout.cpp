#include "terminal/DialogLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kUnitsPerColumn = 4;
constexpr int kUnitsPerTextLine = 8;
constexpr int kSameLineUnits = kUnitsPerTextLine / 2;

// The vertical positions at which a control puts something on a row: the middle of its text
// line, and for a group box its top and bottom edge.
void LinesOf(const CControlView& control, std::vector<int>& lines) {
    switch (control.kind) {
        case EControlKind::kStatic:
            lines.push_back(control.y + kSameLineUnits);
            break;
        case EControlKind::kComboBox:
            lines.push_back(control.y + kComboFieldUnits / 2);
            break;
        case EControlKind::kGroupBox:
            lines.push_back(control.y + kSameLineUnits);
            lines.push_back(control.y + control.cy - 1);
            break;
        default:
            lines.push_back(control.y + control.cy / 2);
            break;
    }
}

// The cell a position falls in, and the first cell that lies wholly right of it.
int CellOf(int units) {
    return units / kUnitsPerColumn;
}
int FirstWholeCell(int units) {
    return (units + kUnitsPerColumn - 1) / kUnitsPerColumn;
}

// Client cells start one column in from the frame, so that controls near the template's edge
// do not touch it; the box is as wide as the template, or wider when its controls need it.
constexpr int kClientOffset = 1;

int BoxColumns(const CDialogView& view) {
    int right = 0;
    for (const CControlView& control : view.controls) {
        if (control.visible) {
            right = std::max(right, FirstWholeCell(control.x + control.cx));
        }
    }
    return std::max(FirstWholeCell(view.cx), kClientOffset + right + 1);
}

int NaturalRows(const CDialogView& view) {
    return (view.cy + kUnitsPerTextLine - 1) / kUnitsPerTextLine + 2;  // + caption and frame
}

std::vector<int> AllLines(const CDialogView& view) {
    std::vector<int> lines;
    for (const CControlView& control : view.controls) {
        if (control.visible) {
            LinesOf(control, lines);
        }
    }
    return lines;
}

double ScaleFor(const CDialogView& view, int boxRows) {
    return view.cy > 0 ? static_cast<double>(boxRows - 2) / view.cy : 1.0;
}

}  // namespace

std::vector<int> RowsForLines(const std::vector<int>& lines, int clientRows, double rowsPerUnit) {
    std::vector<int> sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());

    // Each distinct position gets the row of the line it belongs to.
    std::vector<int> rowOfSorted(sorted.size());
    int clusterStart = 0;
    int row = -1;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i == 0 || sorted[i] - clusterStart >= kSameLineUnits) {
            clusterStart = sorted[i];
            const int scaled = static_cast<int>(std::floor(clusterStart * rowsPerUnit));
            row = std::max(row + 1, std::max(scaled, 0));
        }
        rowOfSorted[i] = row;
    }
    if (row >= clientRows) {
        return {};
    }

    std::vector<int> result;
    result.reserve(lines.size());
    for (int line : lines) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), line);
        result.push_back(rowOfSorted[static_cast<std::size_t>(at - sorted.begin())]);
    }
    return result;
}

CDialogLayout LayoutDialog(const CDialogView& view, int screenRows, int screenCols) {
    CDialogLayout layout;
    const std::vector<int> lines = AllLines(view);
    const int natural = NaturalRows(view);

    int needed = natural;
    for (int rows = 3; rows <= natural; ++rows) {
        if (!RowsForLines(lines, rows - 2, ScaleFor(view, rows)).empty() || lines.empty()) {
            needed = rows;
            break;
        }
    }
    layout.neededRows = needed;
    layout.neededCols = BoxColumns(view);
    layout.fits = screenRows >= layout.neededRows && screenCols >= layout.neededCols;
    if (!layout.fits) {
        return layout;
    }

    const int boxRows = std::clamp(screenRows, needed, natural);
    layout.rowsPerUnit = ScaleFor(view, boxRows);
    layout.box = {(screenRows - boxRows) / 2, (screenCols - layout.neededCols) / 2, boxRows,
                  layout.neededCols};
    const std::vector<int> rows = RowsForLines(lines, boxRows - 2, layout.rowsPerUnit);

    const int clientTop = layout.box.row + 1;
    const int clientLeft = layout.box.col + kClientOffset;
    const int interiorLeft = layout.box.col + 1;
    const int interiorRight = layout.box.Right() - 1;
    std::size_t line = 0;
    layout.cells.resize(view.controls.size());
    layout.droppedRows.assign(view.controls.size(), 0);
    for (std::size_t i = 0; i < view.controls.size(); ++i) {
        const CControlView& control = view.controls[i];
        if (!control.visible) {
            continue;
        }
        CCellRect cell;
        cell.row = clientTop + rows[line++];
        cell.rows = 1;
        // Text stands in the cells that lie wholly inside the control; a frame on the cells its
        // edges fall in.
        cell.col = std::max(clientLeft + FirstWholeCell(control.x), interiorLeft);
        int right = clientLeft + CellOf(control.x + control.cx) - 1;
        switch (control.kind) {
            case EControlKind::kGroupBox: {
                const int bottom = clientTop + rows[line++];
                cell.rows = bottom - cell.row + 1;
                cell.col = std::max(clientLeft + CellOf(control.x), interiorLeft);
                right = clientLeft + CellOf(control.x + control.cx - 1);
                break;
            }
            case EControlKind::kStatic:
                // A label keeps its whole text where the template's box is narrower than the
                // text is in whole characters.
                right = std::max(right, cell.col + static_cast<int>(control.text.size()) - 1);
                break;
            case EControlKind::kComboBox:
                layout.droppedRows[i] =
                    std::max(1, static_cast<int>(std::floor((control.cy - kComboFieldUnits) *
                                                            layout.rowsPerUnit)));
                break;
            default:
                break;
        }
        cell.cols = std::min(right, interiorRight) - cell.col + 1;
        layout.cells[i] = cell;
    }
    return layout;
}
