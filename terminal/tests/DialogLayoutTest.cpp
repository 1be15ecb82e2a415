#include <gtest/gtest.h>

#include <algorithm>

#include "terminal/DialogLayout.h"
#include "ui/DialogTemplates.h"

namespace {

const CControlView* FindById(const CDialogView& view, int id, std::size_t* index = nullptr) {
    for (std::size_t i = 0; i < view.controls.size(); ++i) {
        if (view.controls[i].id == id) {
            if (index != nullptr) {
                *index = i;
            }
            return &view.controls[i];
        }
    }
    return nullptr;
}

// The cell of the static text that reads text.
CCellRect LabelCell(const CDialogView& view, const CDialogLayout& layout, const char* text) {
    for (std::size_t i = 0; i < view.controls.size(); ++i) {
        if (view.controls[i].kind == EControlKind::kStatic && view.controls[i].text == text) {
            return layout.cells[i];
        }
    }
    ADD_FAILURE() << "no label " << text;
    return {};
}

CCellRect CellOf(const CDialogView& view, const CDialogLayout& layout, int id) {
    std::size_t index = 0;
    EXPECT_NE(FindById(view, id, &index), nullptr) << id;
    return layout.cells[index];
}

TEST(SetupDialogLayout, FitsAnEightyByTwentyFourTerminalWithItsCaption) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const CDialogLayout layout = LayoutDialog(view, 24, 80);
    ASSERT_TRUE(layout.fits);
    EXPECT_EQ(layout.box.cols, 80);  // a column is four units: 320 units
    EXPECT_GE(layout.box.row, 0);
    EXPECT_LE(layout.box.Bottom(), 23);
    for (std::size_t i = 0; i < view.controls.size(); ++i) {
        const CCellRect& cell = layout.cells[i];
        if (!view.controls[i].visible) {
            EXPECT_TRUE(cell.Empty()) << "hidden control " << view.controls[i].text;
            continue;
        }
        // Inside the frame, below the caption row.
        EXPECT_GT(cell.row, layout.box.row) << i;
        EXPECT_LT(cell.Bottom(), layout.box.Bottom()) << i;
        EXPECT_GT(cell.col, layout.box.col) << i;
        EXPECT_LT(cell.Right(), layout.box.Right()) << i;
    }
}

TEST(SetupDialogLayout, ColumnsAreFourDialogUnits) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const CDialogLayout layout = LayoutDialog(view, 24, 80);
    // A control's text takes the cells wholly inside it, one column in from the frame.
    const int client = layout.box.col + 1;
    const CCellRect wssIo = CellOf(view, layout, 1003);
    EXPECT_EQ(wssIo.col, client + (77 + 3) / 4);
    EXPECT_EQ(wssIo.Right(), client + (77 + 65) / 4 - 1);
    const CCellRect ok = CellOf(view, layout, 1);
    EXPECT_EQ(ok.col, client + (185 + 3) / 4);
    const CCellRect fm = CellOf(view, layout, 1010);
    EXPECT_EQ(fm.col, client + (230 + 3) / 4);
}

TEST(SetupDialogLayout, EveryLabelSharesTheRowOfItsComboBox) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const struct {
        const char* label;
        int combo;
    } pairs[] = {{"WSS I/O", 1003},          {"WSS IRQ", 1004},    {"WSS Play DMA", 1005},
                 {"WSS Record DMA", 1006},   {"Midi-1 I/O", 1007}, {"Midi-1 IRQ", 1008},
                 {"Dig. Control I/O", 1009}, {"FM I/O", 1010},     {"SB Pro I/O", 1011},
                 {"Gameport I/O", 1012},     {"Midi-2 I/O", 1013}, {"Midi-2 IRQ", 1014}};
    const int smallest = LayoutDialog(view, 24, 80).neededRows;
    for (int rows : {smallest, smallest + 1, 24, 25, 27, 29, 40, 60}) {
        const CDialogLayout layout = LayoutDialog(view, rows, 80);
        ASSERT_TRUE(layout.fits) << rows;
        for (const auto& pair : pairs) {
            const CCellRect label = LabelCell(view, layout, pair.label);
            const CCellRect combo = CellOf(view, layout, pair.combo);
            EXPECT_EQ(label.row, combo.row) << pair.label << " at " << rows << " rows";
            // The whole label stands left of its field.
            EXPECT_LT(label.col + static_cast<int>(std::string(pair.label).size()) - 1, combo.col)
                << pair.label;
        }
    }
}

TEST(SetupDialogLayout, GroupBoxesEncloseTheirFieldsOnEveryHeight) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const struct {
        const char* group;
        std::vector<int> combos;
    } groups[] = {{"Windows Sound System", {1003, 1004, 1005, 1006}},
                  {"Midi-1 / Synth", {1007, 1008}},
                  {"Digital Control", {1009}},
                  {"FM Synth", {1010}},
                  {"SB Pro", {1011}},
                  {"Gameport", {1012}},
                  {"Midi-2", {1013, 1014}}};
    for (int rows = LayoutDialog(view, 24, 80).neededRows; rows <= 40; ++rows) {
        const CDialogLayout layout = LayoutDialog(view, rows, 80);
        ASSERT_TRUE(layout.fits) << rows;
        for (const auto& group : groups) {
            CCellRect frame;
            for (std::size_t i = 0; i < view.controls.size(); ++i) {
                if (view.controls[i].kind == EControlKind::kGroupBox &&
                    view.controls[i].text == group.group) {
                    frame = layout.cells[i];
                }
            }
            ASSERT_FALSE(frame.Empty()) << group.group;
            for (int id : group.combos) {
                const CCellRect combo = CellOf(view, layout, id);
                EXPECT_GT(combo.row, frame.row) << group.group << " " << rows;
                EXPECT_LT(combo.row, frame.Bottom()) << group.group << " " << rows;
                EXPECT_GT(combo.col, frame.col);
                EXPECT_LT(combo.Right(), frame.Right());
            }
        }
        // Frames in one column never share a row: each is below the one before it.
        EXPECT_LT(CellOf(view, layout, 1003).row, CellOf(view, layout, 1004).row);
        EXPECT_LT(CellOf(view, layout, 1004).row, CellOf(view, layout, 1005).row);
        EXPECT_LT(CellOf(view, layout, 1005).row, CellOf(view, layout, 1006).row);
    }
}

TEST(SetupDialogLayout, GrowsOnALargerTerminalUpToItsNaturalSize) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const CDialogLayout small = LayoutDialog(view, 24, 80);
    const CDialogLayout larger = LayoutDialog(view, 28, 100);
    const CDialogLayout huge = LayoutDialog(view, 60, 200);
    ASSERT_TRUE(small.fits && larger.fits && huge.fits);
    EXPECT_EQ(small.box.rows, 24);
    EXPECT_EQ(larger.box.rows, 28);
    EXPECT_GT(huge.box.rows, larger.box.rows);
    // Eight vertical units a row at most: 210 units, caption and frame.
    EXPECT_EQ(huge.box.rows, (210 + 7) / 8 + 2);
    // Centred.
    EXPECT_EQ(huge.box.col, (200 - 80) / 2);
    EXPECT_EQ(huge.box.row, (60 - huge.box.rows) / 2);
}

TEST(SetupDialogLayout, ATerminalTooSmallSaysWhatIsNeeded) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const CDialogLayout narrow = LayoutDialog(view, 24, 79);
    EXPECT_FALSE(narrow.fits);
    EXPECT_EQ(narrow.neededCols, 80);
    const CDialogLayout fitting = LayoutDialog(view, 24, 80);
    const CDialogLayout low = LayoutDialog(view, fitting.neededRows - 1, 80);
    EXPECT_FALSE(low.fits);
    EXPECT_EQ(fitting.neededRows, 22);  // what the user's documentation says
    EXPECT_TRUE(LayoutDialog(view, fitting.neededRows, 80).fits);
}

TEST(SetupDialogLayout, DroppedListsAreAsTallAsTheTemplateAllows) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    const CDialogLayout natural = LayoutDialog(view, 60, 80);
    std::size_t wssIo = 0;
    std::size_t gameport = 0;
    FindById(view, 1003, &wssIo);
    FindById(view, 1012, &gameport);
    // 85 units, 12 of them the field: nine entries of eight units.
    EXPECT_EQ(natural.droppedRows[wssIo], 9);
    EXPECT_EQ(natural.droppedRows[gameport], (56 - 12) / 8);
    const CDialogLayout small = LayoutDialog(view, 24, 80);
    EXPECT_LT(small.droppedRows[wssIo], natural.droppedRows[wssIo]);
    EXPECT_GE(small.droppedRows[gameport], 1);
}

TEST(WriteEepromDialogLayout, IsNarrowerThanTheSetupDialog) {
    const CDialogView view = ViewFromTemplate(WriteEepromDialogTemplate());
    const CDialogLayout layout = LayoutDialog(view, 24, 80);
    ASSERT_TRUE(layout.fits);
    EXPECT_EQ(layout.box.cols, 51);
    ASSERT_EQ(layout.cells.size(), 1u);
    EXPECT_EQ(layout.cells[0].col - layout.box.col, 1 + (19 + 3) / 4);
    EXPECT_EQ(layout.cells[0].Right() - layout.box.col, 1 + (19 + 170) / 4 - 1);
}

TEST(RowsForLines, LinesCloserThanHalfATextLineShareARow) {
    const std::vector<int> rows = RowsForLines({133, 136, 152, 153, 200}, 30, 0.125);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], rows[1]);
    EXPECT_EQ(rows[2], rows[3]);
    EXPECT_LT(rows[1], rows[2]);
    EXPECT_LT(rows[3], rows[4]);
}

TEST(RowsForLines, KeepsLinesApartWhenTheScaleWouldMergeThem) {
    // At one row per hundred units every line would land on row 0.
    const std::vector<int> rows = RowsForLines({10, 20, 30}, 3, 0.01);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[1], 1);
    EXPECT_EQ(rows[2], 2);
    EXPECT_TRUE(RowsForLines({10, 20, 30}, 2, 0.01).empty());
}

}  // namespace
