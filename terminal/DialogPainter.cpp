#include "terminal/DialogPainter.h"

#include <algorithm>
#include <string>

namespace {

std::string Centred(const std::string& text, int cols) {
    const int pad = std::max(0, (cols - static_cast<int>(text.size())) / 2);
    std::string line(static_cast<std::size_t>(pad), ' ');
    line += text;
    line.resize(static_cast<std::size_t>(std::max(cols, 0)), ' ');
    return line;
}

void PaintGroupBox(CCanvas& canvas, const CControlView& control, const CCellRect& cell) {
    canvas.Frame(cell, EStyle::kDialog);
    if (!control.text.empty()) {
        canvas.Text(cell.row, cell.col + 1, " " + control.text + " ",
                    control.enabled ? EStyle::kDialog : EStyle::kDisabled, cell.cols - 2);
    }
}

void PaintComboBox(CCanvas& canvas, const CControlView& control, const CCellRect& cell,
                   bool focused) {
    // [text        v]: the mark says the field has a list; a disabled field has none to open.
    const EStyle style = !control.enabled ? EStyle::kDisabled
                         : focused        ? EStyle::kFieldFocus
                                          : EStyle::kField;
    std::string field = "[" + control.text;
    field.resize(static_cast<std::size_t>(std::max(cell.cols - 1, 1)), ' ');
    if (cell.cols >= 4) {
        field.resize(static_cast<std::size_t>(cell.cols - 3), ' ');
        field += control.enabled ? " v" : "  ";
    }
    field += "]";
    canvas.Text(cell.row, cell.col, field, style, cell.cols);
}

void PaintButton(CCanvas& canvas, const CControlView& control, const CCellRect& cell, bool focused,
                 bool enterTarget) {
    const EStyle style = !control.enabled ? EStyle::kDisabled
                         : focused        ? EStyle::kButtonFocus
                                          : EStyle::kButton;
    const std::string label = enterTarget ? "> " + control.text + " <" : control.text;
    canvas.Text(cell.row, cell.col, "[" + Centred(label, cell.cols - 2) + "]", style, cell.cols);
}

void PaintProgress(CCanvas& canvas, const CControlView& control, const CCellRect& cell) {
    const int inner = cell.cols - 2;
    if (inner <= 0) {
        return;
    }
    const long span = static_cast<long>(control.rangeHigh) - control.rangeLow;
    const long done = span > 0 ? std::clamp<long>(control.position - control.rangeLow, 0, span) : 0;
    const int filled = span > 0 ? static_cast<int>(done * inner / span) : 0;
    const int percent = span > 0 ? static_cast<int>(done * 100 / span) : 0;
    const std::string label = std::to_string(percent) + "%";
    const int labelCol = (inner - static_cast<int>(label.size())) / 2;

    canvas.Text(cell.row, cell.col, "[", EStyle::kDialog);
    for (int i = 0; i < inner; ++i) {
        const bool isDone = i < filled;
        char ch = isDone ? '#' : ' ';
        if (i >= labelCol && i < labelCol + static_cast<int>(label.size())) {
            ch = label[static_cast<std::size_t>(i - labelCol)];
        }
        canvas.Text(cell.row, cell.col + 1 + i, std::string(1, ch),
                    isDone ? EStyle::kProgressDone : EStyle::kProgressToDo);
    }
    canvas.Text(cell.row, cell.col + cell.cols - 1, "]", EStyle::kDialog);
}

void PaintOpenList(CCanvas& canvas, const CControlView& control, const CDialogLayout& layout,
                   std::size_t index, const CDialogPaintState& state, CHitMap& hits) {
    const int entries = static_cast<int>(control.entries.size());
    const CListGeometry list = DroppedListGeometry(layout, index, entries, canvas.Rows());
    canvas.Fill(list.frame, EStyle::kList);
    canvas.Frame(list.frame, EStyle::kList);
    hits.Add(list.frame, EHitKind::kListFrame, 0);
    const int textCols = list.frame.cols - 2;
    for (int i = 0; i < list.visible; ++i) {
        const int entry = state.top + i;
        if (entry >= entries) {
            break;
        }
        const CCellRect row{list.frame.row + 1 + i, list.frame.col + 1, 1, textCols};
        std::string text = control.entries[static_cast<std::size_t>(entry)];
        text.resize(static_cast<std::size_t>(std::max(textCols, 0)), ' ');
        canvas.Text(row.row, row.col, text,
                    entry == state.highlight ? EStyle::kListHighlight : EStyle::kList, textCols);
        hits.Add(row, EHitKind::kListEntry, entry);
    }
    if (state.top > 0) {
        canvas.Text(list.frame.row, list.frame.Right() - 1, "^", EStyle::kList);
        hits.Add({list.frame.row, list.frame.col, 1, list.frame.cols}, EHitKind::kListScrollUp, 0);
    }
    if (state.top + list.visible < entries) {
        canvas.Text(list.frame.Bottom(), list.frame.Right() - 1, "v", EStyle::kList);
        hits.Add({list.frame.Bottom(), list.frame.col, 1, list.frame.cols},
                 EHitKind::kListScrollDown, 0);
    }
}

}  // namespace

CListGeometry DroppedListGeometry(const CDialogLayout& layout, std::size_t control, int entries,
                                  int screenRows) {
    const CCellRect& field = layout.cells[control];
    const int wanted = std::max(1, std::min(entries, layout.droppedRows[control]));
    const int roomBelow = screenRows - field.row - 3;  // entries between two frame lines
    const int roomAbove = field.row - 2;
    CListGeometry list;
    if (wanted <= roomBelow || roomBelow >= roomAbove) {
        list.visible = std::max(1, std::min(wanted, roomBelow));
        list.frame = {field.row + 1, field.col, list.visible + 2, field.cols};
    } else {
        list.visible = std::max(1, std::min(wanted, roomAbove));
        list.frame = {field.row - list.visible - 2, field.col, list.visible + 2, field.cols};
    }
    return list;
}

void PaintDialog(CCanvas& canvas, const CDialogView& view, const CDialogLayout& layout,
                 const CDialogPaintState& state, CHitMap& hits) {
    const CCellRect& box = layout.box;
    canvas.Fill(box, EStyle::kDialog);
    canvas.Frame(box, EStyle::kDialog);
    if (!view.caption.empty()) {
        canvas.Text(box.row, box.col + 2, " " + view.caption + " ", EStyle::kCaption, box.cols - 4);
    }
    if (state.hint != nullptr) {
        const std::string hint = std::string(" ") + state.hint + " ";
        canvas.Text(box.Bottom(), box.Right() - 1 - static_cast<int>(hint.size()), hint,
                    EStyle::kDialog);
    }

    // Frames first, then what stands inside them.
    constexpr EControlKind kOrder[] = {EControlKind::kGroupBox, EControlKind::kStatic,
                                       EControlKind::kComboBox, EControlKind::kPushButton,
                                       EControlKind::kProgress};
    for (EControlKind kind : kOrder) {
        for (std::size_t i = 0; i < view.controls.size(); ++i) {
            const CControlView& control = view.controls[i];
            const CCellRect& cell = layout.cells[i];
            if (control.kind != kind || !control.visible || cell.Empty()) {
                continue;
            }
            const bool focused = static_cast<int>(i) == state.focus;
            switch (kind) {
                case EControlKind::kGroupBox:
                    PaintGroupBox(canvas, control, cell);
                    break;
                case EControlKind::kStatic:
                    canvas.Text(cell.row, cell.col, control.text,
                                control.enabled ? EStyle::kDialog : EStyle::kDisabled, cell.cols);
                    break;
                case EControlKind::kComboBox:
                    PaintComboBox(canvas, control, cell, focused);
                    hits.Add(cell, EHitKind::kControl, static_cast<int>(i));
                    break;
                case EControlKind::kPushButton:
                    PaintButton(canvas, control, cell, focused,
                                static_cast<int>(i) == state.enterTarget);
                    hits.Add(cell, EHitKind::kControl, static_cast<int>(i));
                    break;
                case EControlKind::kProgress:
                    PaintProgress(canvas, control, cell);
                    break;
                default:
                    break;
            }
        }
    }

    if (state.openList >= 0 && static_cast<std::size_t>(state.openList) < view.controls.size()) {
        const std::size_t index = static_cast<std::size_t>(state.openList);
        PaintOpenList(canvas, view.controls[index], layout, index, state, hits);
    }
}

void PaintTooSmall(CCanvas& canvas, const std::string& caption, int neededRows, int neededCols) {
    canvas.Fill({0, 0, canvas.Rows(), canvas.Cols()}, EStyle::kScreen);
    const std::string lines[] = {
        "The terminal is too small.",
        "\"" + caption + "\" needs " + std::to_string(neededCols) + " x " +
            std::to_string(neededRows) + ",",
        "this one is " + std::to_string(canvas.Cols()) + " x " + std::to_string(canvas.Rows()) +
            ".",
        "Enlarge it, or press Escape to leave.",
    };
    const int count = static_cast<int>(std::size(lines));
    const int top = std::max(0, (canvas.Rows() - count) / 2);
    for (int i = 0; i < count; ++i) {
        const std::string& line = lines[i];
        const int col = std::max(0, (canvas.Cols() - static_cast<int>(line.size())) / 2);
        canvas.Text(top + i, col, line, EStyle::kScreen);
    }
}
