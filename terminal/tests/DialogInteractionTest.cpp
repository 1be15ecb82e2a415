#include <gtest/gtest.h>

#include "terminal/DialogInteraction.h"
#include "terminal/TextCanvas.h"
#include "terminal/tests/SetupView.h"

namespace {

using EType = CUserAction::EType;

CKeyEvent Key(EKey key) {
    return {key, 0};
}

CKeyEvent Character(char ch) {
    return {EKey::kCharacter, ch};
}

class SetupDialogInput : public ::testing::Test {
protected:
    void SetUp() override {
        view = FilledSetupView();
        layout = LayoutDialog(view, kRows, 80);
        ASSERT_TRUE(layout.fits);
        input.Start(view, -1);
    }

    CUserAction Press(EKey key) { return input.OnKey(view, layout, kRows, Key(key)); }
    CUserAction Type(char ch) { return input.OnKey(view, layout, kRows, Character(ch)); }
    int FocusedId() const {
        return input.Focus() >= 0 ? view.controls[static_cast<std::size_t>(input.Focus())].id : -1;
    }
    void FocusOn(int id) { input.Start(view, IndexOfId(view, id)); }
    // Paints and clicks where text is shown on the screen.
    CUserAction ClickAt(int row, int col) {
        CTextCanvas canvas(kRows, 80);
        hits.Clear();
        PaintDialog(canvas, view, layout, input.PaintState(view), hits);
        return input.OnClick(view, layout, kRows, hits, row, col);
    }
    CUserAction ClickOn(const std::string& text, int offset = 0) {
        CTextCanvas canvas(kRows, 80);
        hits.Clear();
        PaintDialog(canvas, view, layout, input.PaintState(view), hits);
        for (int row = 0; row < kRows; ++row) {
            const std::size_t at = canvas.Line(row).find(text);
            if (at != std::string::npos) {
                return input.OnClick(view, layout, kRows, hits, row, static_cast<int>(at) + offset);
            }
        }
        ADD_FAILURE() << "not on the screen: " << text;
        return {};
    }

    static constexpr int kRows = 24;
    CDialogView view;
    CDialogLayout layout;
    CDialogInteraction input;
    CHitMap hits;
};

TEST_F(SetupDialogInput, FocusStartsOnTheFirstTabStopWhenTheFrameworkGivesNone) {
    EXPECT_EQ(FocusedId(), 1);  // OK
}

TEST_F(SetupDialogInput, FocusStartsWhereTheFrameworkPutsIt) {
    input.Start(view, IndexOfId(view, 1007));
    EXPECT_EQ(FocusedId(), 1007);
    // A hidden button cannot have it.
    input.Start(view, IndexOfId(view, 1001));
    EXPECT_EQ(FocusedId(), 1);
}

TEST_F(SetupDialogInput, TabGoesOverTheVisibleTabStopsInTemplateOrder) {
    const std::vector<int> order = {2,    1003, 1004, 1005, 1006, 1007, 1008,
                                    1009, 1010, 1011, 1012, 1013, 1014, 1};
    for (int id : order) {
        EXPECT_EQ(Press(EKey::kTab).type, EType::kNone);
        EXPECT_EQ(FocusedId(), id);
    }
    // Back the other way, with Shift-Tab and the arrows alike.
    EXPECT_EQ((Press(EKey::kBackTab), FocusedId()), 1014);
    EXPECT_EQ((Press(EKey::kUp), FocusedId()), 1013);
    EXPECT_EQ((Press(EKey::kLeft), FocusedId()), 1012);
    EXPECT_EQ((Press(EKey::kDown), FocusedId()), 1013);
    EXPECT_EQ((Press(EKey::kRight), FocusedId()), 1014);
}

TEST_F(SetupDialogInput, DisabledFieldsAreSkippedAndLoseTheFocus) {
    for (int id : {1004, 1005, 1006}) {
        ControlById(view, id)->enabled = false;
    }
    FocusOn(1003);
    Press(EKey::kTab);
    EXPECT_EQ(FocusedId(), 1007);
    Press(EKey::kBackTab);
    EXPECT_EQ(FocusedId(), 1003);
    // The program disables the focused field: the focus moves on.
    ControlById(view, 1003)->enabled = false;
    input.Sync(view);
    EXPECT_EQ(FocusedId(), 1007);
}

TEST_F(SetupDialogInput, EnterPressesTheFocusedButtonElseTheDefault) {
    FocusOn(2);
    CUserAction action = Press(EKey::kEnter);
    EXPECT_EQ(action.type, EType::kClick);
    EXPECT_EQ(action.controlId, 2);
    FocusOn(1004);
    EXPECT_EQ(Press(EKey::kEnter).type, EType::kDefault);
    // Space presses a button but opens a field.
    FocusOn(2);
    action = Press(EKey::kSpace);
    EXPECT_EQ(action.type, EType::kClick);
    EXPECT_EQ(action.controlId, 2);
}

TEST_F(SetupDialogInput, TheMarkedButtonIsTheOneEnterPresses) {
    EXPECT_EQ(input.PaintState(view).enterTarget, IndexOfId(view, 1));
    FocusOn(2);
    EXPECT_EQ(input.PaintState(view).enterTarget, IndexOfId(view, 2));
    FocusOn(1012);
    EXPECT_EQ(input.PaintState(view).enterTarget, IndexOfId(view, 1));
}

TEST_F(SetupDialogInput, DialogKeysBecomeActions) {
    EXPECT_EQ(Press(EKey::kEscape).type, EType::kCancel);
    EXPECT_EQ(Press(EKey::kF1).type, EType::kHelp);
    EXPECT_EQ(Press(EKey::kF11).type, EType::kReadPort);
    EXPECT_EQ(Press(EKey::kF12).type, EType::kWriteNow);
    EXPECT_EQ(Type('5').type, EType::kNone);
}

TEST_F(SetupDialogInput, SpaceF4AndAltDownOpenTheListOnTheSelectedEntry) {
    for (EKey key : {EKey::kSpace, EKey::kF4, EKey::kAltDown}) {
        FocusOn(1003);
        EXPECT_EQ(Press(key).type, EType::kNone);
        ASSERT_TRUE(input.ListOpen());
        EXPECT_EQ(input.Highlight(), 2);  // "534"
        Press(EKey::kEscape);
        EXPECT_FALSE(input.ListOpen());
    }
}

TEST_F(SetupDialogInput, AnEmptyOrDisabledFieldDoesNotOpen) {
    ControlById(view, 1004)->entries.clear();
    ControlById(view, 1004)->selection = -1;
    FocusOn(1004);
    Press(EKey::kSpace);
    EXPECT_FALSE(input.ListOpen());
}

TEST_F(SetupDialogInput, TheOpenListMovesAndStopsAtItsEnds) {
    FocusOn(1003);
    Press(EKey::kSpace);
    Press(EKey::kUp);
    Press(EKey::kUp);
    EXPECT_EQ(input.Highlight(), 0);
    Press(EKey::kUp);
    EXPECT_EQ(input.Highlight(), 0);
    Press(EKey::kEnd);
    EXPECT_EQ(input.Highlight(), 15);
    Press(EKey::kDown);
    EXPECT_EQ(input.Highlight(), 15);
    Press(EKey::kHome);
    EXPECT_EQ(input.Highlight(), 0);
    const int page =
        DroppedListGeometry(layout, static_cast<std::size_t>(IndexOfId(view, 1003)), 16, kRows)
            .visible -
        1;
    Press(EKey::kPageDown);
    EXPECT_EQ(input.Highlight(), page);
    Press(EKey::kPageUp);
    EXPECT_EQ(input.Highlight(), 0);
    // Arrows in an open list never move the focus, Tab does nothing there.
    Press(EKey::kTab);
    EXPECT_TRUE(input.ListOpen());
    EXPECT_EQ(FocusedId(), 1003);
}

TEST_F(SetupDialogInput, TypingJumpsToTheNextEntryStartingWithIt) {
    FocusOn(1003);
    Press(EKey::kSpace);  // on "534"
    Type('5');
    EXPECT_EQ(input.Highlight(), 3);  // "544"
    Type('6');
    EXPECT_EQ(input.Highlight(), 15);  // "604"
    Type('5');
    EXPECT_EQ(input.Highlight(), 2);  // round to the top: "534"
    Type('p');
    EXPECT_EQ(input.Highlight(), 0);  // "PnP", in either case
    Type('z');
    EXPECT_EQ(input.Highlight(), 0);  // no entry: stays
}

TEST_F(SetupDialogInput, EnterPicksOnceAndClosesTheList) {
    FocusOn(1004);
    Press(EKey::kSpace);
    Press(EKey::kDown);
    const CUserAction action = Press(EKey::kEnter);
    EXPECT_EQ(action.type, EType::kPick);
    EXPECT_EQ(action.controlId, 1004);
    EXPECT_EQ(action.index, 1);
    EXPECT_FALSE(input.ListOpen());
    // Picking the entry that is selected already is still a pick.
    Press(EKey::kSpace);
    const CUserAction again = Press(EKey::kEnter);
    EXPECT_EQ(again.type, EType::kPick);
    EXPECT_EQ(again.index, 0);  // the view still says "5"
}

TEST_F(SetupDialogInput, EscapeInTheListPicksNothingAndDoesNotCancel) {
    FocusOn(1004);
    Press(EKey::kSpace);
    Press(EKey::kDown);
    EXPECT_EQ(Press(EKey::kEscape).type, EType::kNone);
    EXPECT_FALSE(input.ListOpen());
    EXPECT_EQ(Press(EKey::kEscape).type, EType::kCancel);
}

TEST_F(SetupDialogInput, TheListClosesWhenItsFieldIsDisabled) {
    FocusOn(1005);
    Press(EKey::kSpace);
    ASSERT_TRUE(input.ListOpen());
    ControlById(view, 1005)->enabled = false;
    input.Sync(view);
    EXPECT_FALSE(input.ListOpen());
}

TEST_F(SetupDialogInput, TheListScrollsToKeepTheHighlightShown) {
    FocusOn(1003);
    Press(EKey::kSpace);
    Press(EKey::kEnd);
    const CDialogPaintState state = input.PaintState(view);
    const int visible =
        DroppedListGeometry(layout, static_cast<std::size_t>(state.openList), 16, kRows).visible;
    EXPECT_EQ(state.top, 16 - visible);
}

TEST_F(SetupDialogInput, AClickOnAFieldFocusesAndOpensItAndOnAnEntryPicks) {
    EXPECT_EQ(ClickOn("[300").type, EType::kNone);
    EXPECT_EQ(FocusedId(), 1007);
    ASSERT_TRUE(input.ListOpen());
    const CUserAction pick = ClickOn("320");
    EXPECT_EQ(pick.type, EType::kPick);
    EXPECT_EQ(pick.controlId, 1007);
    EXPECT_EQ(pick.index, 3);
    EXPECT_FALSE(input.ListOpen());
}

TEST_F(SetupDialogInput, AClickBesideAnOpenListOnlyClosesIt) {
    ClickOn("[300");
    ASSERT_TRUE(input.ListOpen());
    // On the Cancel button: the list closes, Cancel is not pressed.
    EXPECT_EQ(ClickOn("Cancel").type, EType::kNone);
    EXPECT_FALSE(input.ListOpen());
    EXPECT_EQ(FocusedId(), 1007);
}

TEST_F(SetupDialogInput, AClickOnAButtonPressesIt) {
    const CUserAction action = ClickOn("Cancel");
    EXPECT_EQ(action.type, EType::kClick);
    EXPECT_EQ(action.controlId, 2);
    EXPECT_EQ(FocusedId(), 2);
}

TEST_F(SetupDialogInput, AClickOnADisabledFieldOrALabelDoesNothing) {
    ControlById(view, 1010)->enabled = false;
    EXPECT_EQ(ClickOn("[388").type, EType::kNone);
    EXPECT_FALSE(input.ListOpen());
    EXPECT_EQ(FocusedId(), 1);
    EXPECT_EQ(ClickOn("WSS Play DMA").type, EType::kNone);
    EXPECT_EQ(FocusedId(), 1);
}

TEST_F(SetupDialogInput, TheScrollMarksOfALongListScrollIt) {
    ClickOn("[534");
    ASSERT_TRUE(input.ListOpen());
    const std::size_t index = static_cast<std::size_t>(IndexOfId(view, 1003));
    const CListGeometry list = DroppedListGeometry(layout, index, 16, kRows);
    ASSERT_LT(list.visible, 16);
    const int topBefore = input.PaintState(view).top;
    ClickAt(list.frame.Bottom(), list.frame.col + 2);  // the lower frame, with its mark
    EXPECT_EQ(input.PaintState(view).top, topBefore + 1);
    EXPECT_TRUE(input.ListOpen());
    ClickAt(list.frame.row, list.frame.col + 2);
    EXPECT_EQ(input.PaintState(view).top, topBefore);
    // Not beyond the end of the list.
    for (int i = 0; i < 30; ++i) {
        ClickAt(list.frame.Bottom(), list.frame.col + 2);
    }
    EXPECT_EQ(input.PaintState(view).top, 16 - list.visible);
    EXPECT_TRUE(input.ListOpen());  // a click on the list's frame never closes it
}

}  // namespace
