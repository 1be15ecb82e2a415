#include <gtest/gtest.h>

#include <iostream>

#include "terminal/DialogPainter.h"
#include "terminal/TextCanvas.h"
#include "ui/DialogTemplates.h"

namespace {

CControlView* FindById(CDialogView& view, int id, std::size_t* index = nullptr) {
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

void Fill(CDialogView& view, int id, std::vector<std::string> entries, int selection) {
    CControlView* combo = FindById(view, id);
    ASSERT_NE(combo, nullptr);
    combo->entries = std::move(entries);
    combo->selection = selection;
    combo->text = selection >= 0 ? combo->entries[static_cast<std::size_t>(selection)] : "";
}

CDialogView FilledSetupView() {
    CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    Fill(view, 1003,
         {"PnP", "---", "534", "544", "554", "564", "574", "584", "594", "5A4", "5B4", "5C4", "5D4",
          "5E4", "5F4", "604"},
         2);
    Fill(view, 1004, {"5", "PnP", "7", "9", "11", "12", "15"}, 4);
    Fill(view, 1005, {"PnP", "0", "1", "3"}, 2);
    Fill(view, 1006, {"PnP", "0", "1", "3"}, 1);
    Fill(view, 1007, {"PnP", "300", "310", "320", "330", "340", "350", "360"}, 4);
    Fill(view, 1008, {"PnP", "5", "7", "9", "11", "12", "15"}, 3);
    Fill(view, 1009, {"PnP", "308", "318", "328", "338", "348", "358", "368"}, 0);
    Fill(view, 1010, {"PnP", "388"}, 1);
    Fill(view, 1011, {"PnP", "220", "240", "260", "280"}, 1);
    Fill(view, 1012, {"---", "201"}, 1);
    Fill(view, 1013, {"---", "PnP", "300", "310", "320", "330", "340", "350", "360"}, 0);
    Fill(view, 1014, {"---", "PnP", "5", "7", "9", "11", "12", "15"}, 0);
    return view;
}

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
    std::cout << screen;
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

}  // namespace
