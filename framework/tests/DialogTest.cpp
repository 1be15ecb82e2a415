#include <gtest/gtest.h>

#include "framework/MessageQueue.h"
#include "framework/UserInput.h"
#include "framework/tests/TestDialogs.h"

using framework::WindowKind;
using framework::WindowState;
using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class DialogTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

TEST_F(DialogTest, WindowsAreBuiltFromTheTemplateHiddenOnesIncluded) {
    CTestDlg dialog;
    std::vector<int> ids;
    std::vector<WindowKind> kinds;
    std::vector<bool> visible;
    dialog.onInit = [&] {
        const WindowState* window = dialog.GetState();
        for (const auto& child : window->children) {
            ids.push_back(child->id);
            kinds.push_back(child->kind);
            visible.push_back(child->visible);
        }
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(ids, (std::vector<int>{IDOK, IDCANCEL, kHiddenButton, kFirstCombo, kSecondCombo, -1,
                                     -1, kUnmappedButton}));
    EXPECT_EQ(kinds, (std::vector<WindowKind>{WindowKind::Button, WindowKind::Button,
                                              WindowKind::Button, WindowKind::ComboBox,
                                              WindowKind::ComboBox, WindowKind::GroupBox,
                                              WindowKind::Static, WindowKind::Button}));
    EXPECT_EQ(visible, (std::vector<bool>{true, true, false, true, true, true, true, true}));
}

TEST_F(DialogTest, InitialisationBindsMembersAndFocusesTheFirstTabStop) {
    CTestDlg dialog;
    int focus = 0;
    bool bound = false;
    dialog.onInit = [&] { bound = dialog.m_first.GetState() != nullptr; };
    host.Do("look", [&](const WindowState& window) {
        focus = window.focusId;
        return 1;
    });
    host.Escape();
    dialog.DoModal();
    EXPECT_TRUE(bound);
    EXPECT_EQ(focus, IDOK);
    EXPECT_EQ(dialog.m_initCount, 1);
    EXPECT_EQ(host.DialogsShown(), (std::vector<int>{kMainDialog}));
}

TEST_F(DialogTest, UpdateDataRunsTheExchangeAgainWithoutRebinding) {
    CTestDlg dialog;
    framework::WindowState* first = nullptr;
    dialog.onInit = [&] {
        first = dialog.m_first.GetState();
        EXPECT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_TRUE(dialog.UpdateData(FALSE));
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(dialog.m_exchanges, 3);
    EXPECT_NE(first, nullptr);
    EXPECT_FALSE(dialog.UpdateData(TRUE));  // no window any more
    EXPECT_EQ(dialog.m_exchanges, 3);
}

TEST_F(DialogTest, OkButtonEndsWithIdok) {
    CTestDlg dialog;
    host.Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_okCount, 1);
    EXPECT_EQ(host.DialogsDestroyed(), (std::vector<int>{kMainDialog}));
}

TEST_F(DialogTest, CancelButtonEscapeAndCloseBoxEndWithIdcancel) {
    for (int way = 0; way < 3; ++way) {
        CTestDlg dialog;
        if (way == 0) {
            host.Click(IDCANCEL);
        } else if (way == 1) {
            host.Escape();
        } else {
            host.Close();
        }
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << way;
        EXPECT_EQ(dialog.m_okCount, 0) << way;
    }
}

TEST_F(DialogTest, EnterActsOnTheDefaultButtonUnlessAPushButtonHasTheFocus) {
    {
        CTestDlg dialog;
        host.Enter();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_okCount, 1);
    }
    {
        CTestDlg dialog;
        host.Do("focus cancel", [](const WindowState& window) {
            return framework::UserFocus(*window.FindChild(IDCANCEL));
        });
        host.Enter();
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    {
        CTestDlg dialog;  // the focus on a combo box: Enter is the default button again
        host.Do("focus combo", [](const WindowState& window) {
            return framework::UserFocus(*window.FindChild(kFirstCombo));
        });
        host.Enter();
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
}

TEST_F(DialogTest, EnterInADialogWithoutButtonsIsIdok) {
    CProgressTestDlg dialog;
    host.Enter();
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(DialogTest, DisabledButtonsRefuseClicksEnterAndEscape) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.GetDlgItem(IDOK)->EnableWindow(FALSE);
        dialog.GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
        dialog.GetDlgItem(kHiddenButton)->EnableWindow(FALSE);
    };
    host.Click(IDOK);
    host.Enter();
    host.Escape();
    host.Close();
    host.Click(kHiddenButton);
    host.Do("enable cancel", [](const WindowState& window) {
        window.attached->GetDlgItem(IDCANCEL)->EnableWindow(TRUE);
        return 1;
    });
    host.Escape();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_okCount, 0);
    EXPECT_EQ(dialog.m_hiddenClicks, 0);
    EXPECT_EQ(host.Refused().size(), 5u);
}

TEST_F(DialogTest, UnknownTemplateFailsWithoutRunning) {
    CDialog dialog(999);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(host.DialogsCreated().empty());
}

TEST_F(DialogTest, NoResourceModuleFailsWithoutRunning) {
    AfxSetResourceModule(nullptr);
    CTestDlg dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(host.DialogsCreated().empty());
}

TEST_F(DialogTest, EndDialogInsideInitialisationEndsBeforeShowing) {
    CTestDlg dialog;
    dialog.onInit = [&] { dialog.EndDialog(42); };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(host.DialogsShown().empty());
    EXPECT_FALSE(host.RanOutOfInput());
}

TEST_F(DialogTest, ADialogObjectCanRunAgainAfterItEnded) {
    CTestDlg dialog;
    host.Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    host.Escape();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_initCount, 2);
}

TEST_F(DialogTest, RunningOutOfInputEndsTheDialogAsAQuit) {
    CTestDlg dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(host.RanOutOfInput());
    EXPECT_TRUE(framework::QuitPending());
    EXPECT_EQ(framework::QuitCode(), framework::kInputEndedExitCode);
}

TEST_F(DialogTest, WindowTextOfTheDialogAndItsControls) {
    CTestDlg dialog;
    std::string caption;
    std::string label;
    dialog.onInit = [&] {
        char text[32];
        dialog.GetWindowText(text, sizeof text);
        caption = text;
        dialog.GetDlgItem(IDOK)->SetWindowText("Write");
        dialog.GetDlgItem(IDOK)->GetWindowText(text, 4);
        label = text;
    };
    host.Escape();
    dialog.DoModal();
    EXPECT_EQ(caption, "Main");
    EXPECT_EQ(label, "Wri");  // cut to the buffer
}

}  // namespace
