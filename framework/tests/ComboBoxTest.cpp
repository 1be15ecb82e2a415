#include <gtest/gtest.h>

#include <cstring>

#include "framework/tests/TestDialogs.h"

using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

// Runs the main test dialog with body inside OnInitDialog, then ends it with Cancel.
class ComboBoxTest : public ::testing::Test {
protected:
    void RunWithin(const std::function<void(CTestDlg&)>& body) {
        CTestDlg dialog;
        dialog.onInit = [&] { body(dialog); };
        host.Escape();
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }

    ScopedTestResources resources;
    ScriptedHost host;
};

void Fill(CComboBox& combo, std::initializer_list<std::pair<const char*, DWORD_PTR>> entries) {
    for (const auto& [text, data] : entries) {
        const int index = combo.InsertString(-1, text);
        combo.SetItemData(index, data);
    }
}

TEST_F(ComboBoxTest, EntriesInsertedAtTheEndKeepTheirOrderDespiteTheSortStyle) {
    RunWithin([](CTestDlg& dialog) {
        ASSERT_NE(dialog.m_first.GetState()->style & CBS_SORT, 0u);
        EXPECT_EQ(dialog.m_first.InsertString(-1, "PnP"), 0);
        EXPECT_EQ(dialog.m_first.InsertString(-1, "---"), 1);
        EXPECT_EQ(dialog.m_first.InsertString(-1, "534"), 2);
        EXPECT_EQ(dialog.m_first.InsertString(-1, "1"), 3);
        char text[8];
        const char* expected[] = {"PnP", "---", "534", "1"};
        ASSERT_EQ(dialog.m_first.GetCount(), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(dialog.m_first.GetLBText(i, text, sizeof text),
                      static_cast<int>(std::strlen(expected[i])));
            EXPECT_STREQ(text, expected[i]);
        }
    });
}

TEST_F(ComboBoxTest, InsertAtAnIndexAndBadIndexes) {
    RunWithin([](CTestDlg& dialog) {
        Fill(dialog.m_first, {{"a", 1}, {"c", 3}});
        EXPECT_EQ(dialog.m_first.InsertString(1, "b"), 1);
        EXPECT_EQ(dialog.m_first.InsertString(4, "x"), CB_ERR);
        EXPECT_EQ(dialog.m_first.InsertString(-2, "x"), CB_ERR);
        EXPECT_EQ(dialog.m_first.GetCount(), 3);
        EXPECT_EQ(dialog.m_first.GetItemData(2), 3u);
        EXPECT_EQ(dialog.m_first.SetItemData(3, 9), CB_ERR);
        EXPECT_EQ(dialog.m_first.GetItemData(3), static_cast<DWORD_PTR>(CB_ERR));
        EXPECT_EQ(dialog.m_first.GetItemData(-1), static_cast<DWORD_PTR>(CB_ERR));
        char text[2];
        EXPECT_EQ(dialog.m_first.GetLBText(5, text, sizeof text), CB_ERR);
        EXPECT_STREQ(text, "");
    });
}

TEST_F(ComboBoxTest, ItemDataBelongsToEachEntry) {
    RunWithin([](CTestDlg& dialog) {
        Fill(dialog.m_first, {{"PnP", 255}, {"---", 4095}, {"534", 0x534}});
        EXPECT_EQ(dialog.m_first.GetItemData(0), 255u);
        EXPECT_EQ(dialog.m_first.GetItemData(1), 4095u);
        EXPECT_EQ(dialog.m_first.GetItemData(2), 0x534u);
        dialog.m_first.SetItemData(1, 7);
        EXPECT_EQ(dialog.m_first.GetItemData(1), 7u);
        EXPECT_EQ(dialog.m_first.GetItemData(2), 0x534u);
    });
}

TEST_F(ComboBoxTest, SelectionAndShownText) {
    RunWithin([](CTestDlg& dialog) {
        EXPECT_EQ(dialog.m_first.GetCurSel(), -1);
        Fill(dialog.m_first, {{"PnP", 255}, {"388", 0x388}});
        EXPECT_EQ(dialog.m_first.GetCurSel(), -1);
        EXPECT_EQ(dialog.m_first.SetCurSel(1), 1);
        EXPECT_EQ(dialog.m_first.GetCurSel(), 1);
        char text[16];
        dialog.m_first.GetWindowText(text, sizeof text);
        EXPECT_STREQ(text, "388");
        EXPECT_EQ(dialog.m_first.SetCurSel(-1), CB_ERR);
        EXPECT_EQ(dialog.m_first.GetCurSel(), -1);
        EXPECT_EQ(dialog.m_first.GetWindowTextLength(), 0);
        dialog.m_first.SetCurSel(0);
        EXPECT_EQ(dialog.m_first.SetCurSel(2), CB_ERR);  // out of range clears, as Windows does
        EXPECT_EQ(dialog.m_first.GetCurSel(), -1);
    });
}

TEST_F(ComboBoxTest, EmptyWindowTextRemovesTheSelection) {
    RunWithin([](CTestDlg& dialog) {
        Fill(dialog.m_first, {{"5", 5}, {"PnP", 255}});
        dialog.m_first.SetCurSel(0);
        dialog.m_first.SetWindowText("");
        EXPECT_EQ(dialog.m_first.GetCurSel(), -1);
        EXPECT_EQ(dialog.m_first.GetWindowTextLength(), 0);
        EXPECT_EQ(dialog.m_first.GetCount(), 2);
        dialog.m_first.SetCurSel(1);
        dialog.m_first.SetWindowText("typed");
        EXPECT_EQ(dialog.m_first.GetCurSel(), -1);
        char text[16];
        dialog.m_first.GetWindowText(text, sizeof text);
        EXPECT_STREQ(text, "typed");
    });
}

TEST_F(ComboBoxTest, DisabledComboBoxKeepsItsListAndSelection) {
    RunWithin([](CTestDlg& dialog) {
        Fill(dialog.m_first, {{"PnP", 255}, {"0", 0}, {"1", 1}});
        dialog.m_first.SetCurSel(2);
        EXPECT_EQ(dialog.m_first.EnableWindow(FALSE), FALSE);  // was enabled
        EXPECT_FALSE(dialog.m_first.IsWindowEnabled());
        EXPECT_EQ(dialog.m_first.GetCount(), 3);
        EXPECT_EQ(dialog.m_first.GetCurSel(), 2);
        // Filling a disabled list works as well: the lists of a switched-off device are full.
        Fill(dialog.m_first, {{"3", 3}});
        EXPECT_EQ(dialog.m_first.GetCount(), 4);
        EXPECT_EQ(dialog.m_first.EnableWindow(TRUE), TRUE);  // was disabled
        EXPECT_TRUE(dialog.m_first.IsWindowEnabled());
        EXPECT_EQ(dialog.m_first.GetItemData(3), 3u);
    });
}

TEST_F(ComboBoxTest, ProgramCallsSendNoNotification) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        Fill(dialog.m_first, {{"PnP", 255}, {"5", 5}});
        dialog.m_first.SetCurSel(1);
        dialog.m_first.SetCurSel(1);
        dialog.m_first.SetWindowText("");
        dialog.m_first.SendMessage(CB_SETCURSEL, 0, 0);
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_TRUE(dialog.m_firstChanges.empty());
    EXPECT_EQ(dialog.m_secondChanges, 0);
}

TEST_F(ComboBoxTest, MessagesDriveTheSameState) {
    RunWithin([](CTestDlg& dialog) {
        EXPECT_EQ(dialog.m_first.SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>("PnP")),
                  0);
        EXPECT_EQ(dialog.m_first.SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>("11")),
                  1);
        dialog.m_first.SendMessage(CB_SETITEMDATA, 1, 11);
        EXPECT_EQ(dialog.m_first.SendMessage(CB_GETCOUNT), 2);
        EXPECT_EQ(dialog.m_first.SendMessage(CB_GETITEMDATA, 1), 11);
        EXPECT_EQ(dialog.m_first.SendMessage(CB_GETCURSEL), CB_ERR);
        EXPECT_EQ(dialog.m_first.SendMessage(CB_SETCURSEL, 1), 1);
        EXPECT_EQ(dialog.m_first.GetCurSel(), 1);
        EXPECT_EQ(dialog.m_first.GetItemData(dialog.m_first.GetCurSel()), 11u);
    });
}

TEST_F(ComboBoxTest, CallsBeforeTheWindowExistsAreHarmless) {
    CComboBox combo;
    EXPECT_EQ(combo.InsertString(-1, "x"), CB_ERR);
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.SetCurSel(0), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.SetItemData(0, 1), CB_ERR);
    EXPECT_EQ(combo.GetItemData(0), static_cast<DWORD_PTR>(CB_ERR));
    combo.SetWindowText("");
    EXPECT_FALSE(combo.EnableWindow(FALSE));
    EXPECT_FALSE(combo.IsWindowEnabled());
    EXPECT_EQ(combo.SendMessage(CB_GETCOUNT), 0);
    EXPECT_EQ(combo.GetSafeHwnd(), nullptr);
}

TEST_F(ComboBoxTest, MembersLoseTheirWindowWhenTheDialogEnds) {
    CTestDlg dialog;
    dialog.onInit = [&] { Fill(dialog.m_first, {{"a", 1}}); };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(dialog.m_first.GetState(), nullptr);
    EXPECT_EQ(dialog.m_first.GetCount(), 0);
    EXPECT_EQ(dialog.m_first.InsertString(-1, "b"), CB_ERR);
}

}  // namespace
