#include <gtest/gtest.h>

#include "framework/UserInput.h"
#include "framework/tests/TestDialogs.h"

using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class MessageMapTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

void FillFirst(CTestDlg& dialog) {
    dialog.onInit = [&dialog] {
        for (const char* text : {"PnP", "5", "7"}) {
            dialog.m_first.InsertString(-1, text);
        }
    };
}

TEST_F(MessageMapTest, UserPickSendsExactlyOneSelectionChange) {
    CTestDlg dialog;
    FillFirst(dialog);
    host.Pick(kFirstCombo, 2);
    host.Escape();
    dialog.DoModal();
    ASSERT_EQ(dialog.m_firstChanges.size(), 1u);
    EXPECT_EQ(dialog.m_firstChanges[0], 2);  // the selection is in place when the handler runs
    EXPECT_EQ(dialog.m_secondChanges, 0);
}

TEST_F(MessageMapTest, PickingTheSelectedEntryAgainStillNotifies) {
    CTestDlg dialog;
    FillFirst(dialog);
    host.Pick(kFirstCombo, 1);
    host.Pick(kFirstCombo, 1);
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(dialog.m_firstChanges, (std::vector<int>{1, 1}));
}

TEST_F(MessageMapTest, PickShowsTheEntryText) {
    CTestDlg dialog;
    FillFirst(dialog);
    std::string shown;
    dialog.onFirstChanged = [&] {
        char text[8];
        dialog.m_first.GetWindowText(text, sizeof text);
        shown = text;
    };
    host.Pick(kFirstCombo, 2);
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(shown, "7");
}

TEST_F(MessageMapTest, DisabledComboBoxOrBadIndexCannotBePicked) {
    CTestDlg dialog;
    FillFirst(dialog);
    auto onInit = dialog.onInit;
    dialog.onInit = [&] {
        onInit();
        dialog.m_second.InsertString(-1, "x");
        dialog.m_second.EnableWindow(FALSE);
    };
    host.Pick(kSecondCombo, 0);
    host.Pick(kFirstCombo, 3);
    host.Pick(kFirstCombo, -1);
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(dialog.m_secondChanges, 0);
    EXPECT_TRUE(dialog.m_firstChanges.empty());
    EXPECT_EQ(host.Refused().size(), 3u);
}

TEST_F(MessageMapTest, HiddenButtonReachesItsHandlerInTheBaseMap) {
    CTestDlg dialog;
    bool visible = true;
    dialog.onInit = [&] { visible = dialog.GetDlgItem(kHiddenButton)->IsWindowVisible(); };
    host.Click(kHiddenButton);
    host.Click(kHiddenButton);
    host.Escape();
    dialog.DoModal();
    EXPECT_FALSE(visible);
    EXPECT_EQ(dialog.m_hiddenClicks, 2);
}

TEST_F(MessageMapTest, ButtonWithoutEntryDoesNothing) {
    CTestDlg dialog;
    host.Click(kUnmappedButton);
    host.Escape();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_hiddenClicks, 0);
    EXPECT_EQ(dialog.m_okCount, 0);
    EXPECT_TRUE(host.Refused().empty());
}

TEST_F(MessageMapTest, CommandsSentByTheProgramAreDispatchedToo) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kHiddenButton, BN_CLICKED), 0);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kHiddenButton, CBN_SELCHANGE), 0);  // no entry
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(dialog.m_hiddenClicks, 1);
}

TEST_F(MessageMapTest, OwnEntriesComeBeforeTheBaseMap) {
    // CTestDlg overrides OnOK; the base map's IDOK entry calls it through the virtual table.
    CTestDlg dialog;
    host.Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_okCount, 1);
}

TEST_F(MessageMapTest, QueryDragIconReturnsTheHandlersIcon) {
    CTestDlg dialog;
    LRESULT icon = 0;
    dialog.onInit = [&] {
        dialog.m_hIcon = AfxGetApp()->LoadIcon(kIcon);
        icon = dialog.SendMessage(WM_QUERYDRAGICON);
    };
    host.Escape();
    dialog.DoModal();
    ASSERT_NE(dialog.m_hIcon, nullptr);
    EXPECT_EQ(icon, reinterpret_cast<LRESULT>(dialog.m_hIcon));
}

}  // namespace
