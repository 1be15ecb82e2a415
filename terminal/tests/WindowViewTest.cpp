#include <gtest/gtest.h>

#include "framework/WindowState.h"
#include "terminal/WindowView.h"
#include "ui/DialogTemplates.h"

namespace {

TEST(WindowView, TheFrameworksWindowsGiveTheTemplatesView) {
    const auto dialog = framework::BuildDialogWindows(SetupDialogTemplate(), nullptr);
    const CDialogView fromWindows = ViewOfDialog(*dialog);
    const CDialogView fromTemplate = ViewFromTemplate(SetupDialogTemplate());
    EXPECT_EQ(fromWindows.caption, "VYM Card Setup");
    EXPECT_EQ(fromWindows.cx, 320);
    EXPECT_EQ(fromWindows.cy, 210);
    ASSERT_EQ(fromWindows.controls.size(), 35u);
    ASSERT_EQ(fromTemplate.controls.size(), 35u);
    for (std::size_t i = 0; i < 35; ++i) {
        const CControlView& a = fromWindows.controls[i];
        const CControlView& b = fromTemplate.controls[i];
        EXPECT_EQ(a.id, b.id) << i;
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_EQ(a.text, b.text) << i;
        EXPECT_EQ(a.visible, b.visible) << i;
        EXPECT_EQ(a.enabled, b.enabled) << i;
        EXPECT_EQ(a.tabStop, b.tabStop) << i;
        EXPECT_EQ(a.isDefault, b.isDefault) << i;
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.cy, b.cy);
    }
    EXPECT_EQ(fromWindows.focus, -1);
}

TEST(WindowView, KindsOfTheSetupDialogsControls) {
    const CDialogView view = ViewFromTemplate(SetupDialogTemplate());
    int buttons = 0;
    int combos = 0;
    int groups = 0;
    int labels = 0;
    int hidden = 0;
    for (const CControlView& control : view.controls) {
        buttons += control.kind == EControlKind::kPushButton ? 1 : 0;
        combos += control.kind == EControlKind::kComboBox ? 1 : 0;
        groups += control.kind == EControlKind::kGroupBox ? 1 : 0;
        labels += control.kind == EControlKind::kStatic ? 1 : 0;
        hidden += control.visible ? 0 : 1;
    }
    EXPECT_EQ(buttons, 4);
    EXPECT_EQ(combos, 12);
    EXPECT_EQ(groups, 7);
    EXPECT_EQ(labels, 12);
    EXPECT_EQ(hidden, 2);  // Read Port and Button1
    EXPECT_TRUE(view.controls[0].isDefault);
    EXPECT_FALSE(view.controls[1].isDefault);
}

TEST(WindowView, CarriesListsSelectionFocusAndState) {
    auto dialog = framework::BuildDialogWindows(SetupDialogTemplate(), nullptr);
    framework::WindowState* combo = dialog->FindChild(1004);
    ASSERT_NE(combo, nullptr);
    combo->entries = {{"5", 5}, {"PnP", 255}, {"7", 7}};
    combo->curSel = 2;
    combo->text = "7";
    combo->enabled = false;
    dialog->focusId = 1003;
    const CDialogView view = ViewOfDialog(*dialog);
    const CControlView& shown = view.controls[4];
    EXPECT_EQ(shown.id, 1004);
    EXPECT_EQ(shown.entries, (std::vector<std::string>{"5", "PnP", "7"}));
    EXPECT_EQ(shown.selection, 2);
    EXPECT_EQ(shown.text, "7");
    EXPECT_FALSE(shown.enabled);
    EXPECT_FALSE(IsFocusable(shown));
    EXPECT_EQ(view.focus, 3);  // WSS I/O is the fourth control
    EXPECT_EQ(ControlAt(*dialog, 3)->id, 1003);
    EXPECT_EQ(ControlAt(*dialog, 35), nullptr);
    EXPECT_EQ(ControlAt(*dialog, -1), nullptr);
}

TEST(WindowView, TheProgressBarsRangeAndPosition) {
    auto dialog = framework::BuildDialogWindows(WriteEepromDialogTemplate(), nullptr);
    framework::WindowState* bar = dialog->FindChild(1016);
    ASSERT_NE(bar, nullptr);
    bar->rangeHigh = 312;
    bar->pos = 17;
    const CDialogView view = ViewOfDialog(*dialog);
    ASSERT_EQ(view.controls.size(), 1u);
    EXPECT_EQ(view.controls[0].kind, EControlKind::kProgress);
    EXPECT_EQ(view.controls[0].rangeLow, 0);
    EXPECT_EQ(view.controls[0].rangeHigh, 312);
    EXPECT_EQ(view.controls[0].position, 17);
    EXPECT_FALSE(IsFocusable(view.controls[0]));
    // The write dialog's template has no WS_VISIBLE; the framework shows it when it runs.
    EXPECT_FALSE(dialog->visible);
}

}  // namespace
