#include <gtest/gtest.h>

#include "terminal/DialogPainter.h"
#include "terminal/TextCanvas.h"
#include "terminal/tests/SetupView.h"
#include "ui/DialogTemplates.h"

namespace {

struct CPainted {
    CTextCanvas canvas;
    CDialogLayout layout;
    CHitMap hits;
};

CPainted Paint(const CDialogView& view, int rows, int cols, const CDialogPaintState& state) {
    CPainted painted{CTextCanvas(rows, cols), LayoutDialog(view, rows, cols), {}};
    PaintDialog(painted.canvas, view, painted.layout, state, painted.hits);
    return painted;
}

TEST(SetupDialogPicture, ShowsCaptionGroupsLabelsFieldsAndButtons) {
    const CDialogView view = FilledSetupView();
    CDialogPaintState state;
    state.focus = 0;
    state.enterTarget = 0;
    CPainted painted = Paint(view, 24, 80, state);
    const std::string screen = painted.canvas.Dump();
    EXPECT_NE(painted.canvas.Line(0).find(" VYM Card Setup "), std::string::npos);
    for (const char* text : {"Windows Sound System",
                             "Midi-1 / Synth",
                             "Digital Control",
                             "FM Synth",
                             "SB Pro",
                             "Gameport",
                             "Midi-2",
                             "WSS I/O",
                             "WSS IRQ",
                             "WSS Play DMA",
                             "WSS Record DMA",
                             "Midi-1 I/O",
                             "Midi-1 IRQ",
                             "Dig. Control I/O",
                             "FM I/O",
                             "SB Pro I/O",
                             "Gameport I/O",
                             "Midi-2 I/O",
                             "Midi-2 IRQ",
                             "[534",
                             "[11 ",
                             "> OK <",
                             "Cancel"}) {
        EXPECT_NE(screen.find(text), std::string::npos) << text;
    }
    // The hidden buttons are not drawn.
    EXPECT_EQ(screen.find("Read Port"), std::string::npos);
    EXPECT_EQ(screen.find("Button1"), std::string::npos);
}

int RowOf(const CTextCanvas& canvas, const std::string& text) {
    for (int row = 0; row < canvas.Rows(); ++row) {
        if (canvas.Line(row).find(text) != std::string::npos) {
            return row;
        }
    }
    return -1;
}

TEST(SetupDialogPicture, ADisabledFieldIsDimEmptyAndHasNoMark) {
    CDialogView view = FilledSetupView();
    CControlView* irq = ControlById(view, 1004);
    irq->enabled = false;
    irq->text = "";
    irq->selection = -1;
    CPainted painted = Paint(view, 24, 80, {});
    const CCellRect cell = painted.layout.cells[static_cast<std::size_t>(IndexOfId(view, 1004))];
    const std::string field = painted.canvas.Line(cell.row).substr(
        static_cast<std::size_t>(cell.col), static_cast<std::size_t>(cell.cols));
    EXPECT_EQ(field, "[" + std::string(static_cast<std::size_t>(cell.cols - 2), ' ') + "]");
    EXPECT_EQ(painted.canvas.StyleAt(cell.row, cell.col + 1), EStyle::kDisabled);
    // A disabled field that still holds its text shows it, dim.
    irq->text = "7";
    CPainted again = Paint(view, 24, 80, {});
    EXPECT_EQ(again.canvas.At(cell.row, cell.col + 1), '7');
    EXPECT_EQ(again.canvas.StyleAt(cell.row, cell.col + 1), EStyle::kDisabled);
}

TEST(SetupDialogPicture, TheFocusedFieldAndButtonAreSetApart) {
    const CDialogView view = FilledSetupView();
    CDialogPaintState state;
    state.focus = IndexOfId(view, 1005);
    state.enterTarget = IndexOfId(view, 1);
    CPainted painted = Paint(view, 24, 80, state);
    const CCellRect dma = painted.layout.cells[static_cast<std::size_t>(state.focus)];
    const CCellRect wssIo = painted.layout.cells[static_cast<std::size_t>(IndexOfId(view, 1003))];
    EXPECT_EQ(painted.canvas.StyleAt(dma.row, dma.col + 1), EStyle::kFieldFocus);
    EXPECT_EQ(painted.canvas.StyleAt(wssIo.row, wssIo.col + 1), EStyle::kField);

    state.focus = IndexOfId(view, 2);
    state.enterTarget = state.focus;
    CPainted onCancel = Paint(view, 24, 80, state);
    const std::string screen = onCancel.canvas.Dump();
    EXPECT_NE(screen.find("> Cancel <"), std::string::npos);
    EXPECT_EQ(screen.find("> OK <"), std::string::npos);
}

TEST(SetupDialogPicture, AnOpenListShowsItsEntriesBelowItsField) {
    const CDialogView view = FilledSetupView();
    CDialogPaintState state;
    state.openList = IndexOfId(view, 1004);
    state.focus = state.openList;
    state.highlight = 2;
    CPainted painted = Paint(view, 24, 80, state);
    const CCellRect field = painted.layout.cells[static_cast<std::size_t>(state.openList)];
    const CListGeometry list =
        DroppedListGeometry(painted.layout, static_cast<std::size_t>(state.openList), 7, 24);
    EXPECT_EQ(list.frame.row, field.row + 1);
    EXPECT_EQ(list.visible, painted.layout.droppedRows[static_cast<std::size_t>(state.openList)]);
    EXPECT_EQ(painted.canvas.At(list.frame.row + 1, list.frame.col + 1), '5');
    EXPECT_EQ(painted.canvas.At(list.frame.row + 3, list.frame.col + 1), '7');
    EXPECT_EQ(painted.canvas.StyleAt(list.frame.row + 3, list.frame.col + 1),
              EStyle::kListHighlight);
    // Every shown entry can be clicked.
    for (int i = 0; i < list.visible; ++i) {
        const CHitArea* hit = painted.hits.At(list.frame.row + 1 + i, list.frame.col + 2);
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(hit->kind, EHitKind::kListEntry);
        EXPECT_EQ(hit->index, i);
    }
}

TEST(SetupDialogPicture, AListWithoutRoomBelowOpensAbove) {
    const CDialogView view = FilledSetupView();
    CDialogPaintState state;
    state.openList = IndexOfId(view, 1009);  // Dig. Control I/O, low in the dialog
    CPainted painted = Paint(view, 24, 80, state);
    const CCellRect field = painted.layout.cells[static_cast<std::size_t>(state.openList)];
    const CListGeometry list =
        DroppedListGeometry(painted.layout, static_cast<std::size_t>(state.openList), 8, 24);
    EXPECT_EQ(list.frame.Bottom(), field.row - 1);
    EXPECT_GE(list.frame.row, 0);
    EXPECT_EQ(painted.canvas.At(list.frame.row + 1, list.frame.col + 1), 'P');
}

TEST(WriteEepromPicture, TheBarFillsWithThePosition) {
    CDialogView view = ViewFromTemplate(WriteEepromDialogTemplate());
    view.controls[0].rangeLow = 0;
    view.controls[0].rangeHigh = 300;
    view.controls[0].position = 150;
    CPainted half = Paint(view, 24, 80, {});
    const CCellRect bar = half.layout.cells[0];
    const std::string line = half.canvas.Line(bar.row);
    EXPECT_NE(line.find("50%"), std::string::npos);
    int filled = 0;
    for (int col = bar.col + 1; col < bar.Right(); ++col) {
        filled += half.canvas.StyleAt(bar.row, col) == EStyle::kProgressDone ? 1 : 0;
    }
    EXPECT_EQ(filled, (bar.cols - 2) / 2);
    EXPECT_NE(RowOf(half.canvas, " Write EEPROM Data "), -1);

    // The last position the write loop sets is one short of the range.
    view.controls[0].position = 299;
    CPainted last = Paint(view, 24, 80, {});
    EXPECT_NE(last.canvas.Line(bar.row).find("99%"), std::string::npos);
    // An empty range shows nothing filled and does not divide by zero.
    view.controls[0].rangeHigh = 0;
    view.controls[0].position = 0;
    CPainted empty = Paint(view, 24, 80, {});
    EXPECT_NE(empty.canvas.Line(bar.row).find("0%"), std::string::npos);
    EXPECT_EQ(empty.canvas.StyleAt(bar.row, bar.col + 1), EStyle::kProgressToDo);
}

TEST(TooSmallPicture, SaysWhatIsNeededAndWhatThereIs) {
    CTextCanvas canvas(10, 50);
    PaintTooSmall(canvas, "VYM Card Setup", 22, 80);
    const std::string screen = canvas.Dump();
    EXPECT_NE(screen.find("The terminal is too small."), std::string::npos);
    EXPECT_NE(screen.find("\"VYM Card Setup\" needs 80 x 22"), std::string::npos);
    EXPECT_NE(screen.find("this one is 50 x 10"), std::string::npos);
}

}  // namespace
