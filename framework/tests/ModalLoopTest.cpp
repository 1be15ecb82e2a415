#include <gtest/gtest.h>

#include "framework/MessageQueue.h"
#include "framework/UserInput.h"
#include "framework/tests/TestDialogs.h"

using framework::WindowState;
using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class ModalLoopTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

// Main dialog -> message box -> progress dialog, as the write on OK nests them.
TEST_F(ModalLoopTest, DialogsAndBoxesNest) {
    CTestDlg outer;
    INT_PTR innerResult = 0;
    int answer = 0;
    bool outerEnabledDuringInner = true;
    outer.onHiddenButton = [&] {
        answer = outer.MessageBox("Write?", "Question", MB_YESNO | MB_ICONQUESTION);
        CProgressTestDlg inner;
        inner.onInit = [&] { outerEnabledDuringInner = outer.IsWindowEnabled() != FALSE; };
        innerResult = inner.DoModal();
    };
    AfxGetApp()->m_pMainWnd = &outer;
    host.Answer(IDYES);
    host.Click(kHiddenButton, kMainDialog);
    host.Enter(kProgressDialog);
    host.Click(IDCANCEL, kMainDialog);
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_FALSE(outerEnabledDuringInner);  // the main window owns the inner dialog
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{kMainDialog, kProgressDialog}));
    EXPECT_EQ(host.DialogsDestroyed(), (std::vector<int>{kProgressDialog, kMainDialog}));
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);  // cleared when its window went
}

TEST_F(ModalLoopTest, OwnerIsEnabledAgainAfterTheInnerDialog) {
    CTestDlg outer;
    bool enabledAfter = false;
    outer.onHiddenButton = [&] {
        CProgressTestDlg inner;
        host.Escape(kProgressDialog);
        inner.DoModal();
        enabledAfter = outer.IsWindowEnabled() != FALSE;
    };
    AfxGetApp()->m_pMainWnd = &outer;
    host.Click(kHiddenButton);
    host.Escape(kMainDialog);
    outer.DoModal();
    EXPECT_TRUE(enabledAfter);
}

TEST_F(ModalLoopTest, InputGoesOnlyToTheInnermostDialog) {
    CTestDlg outer;
    int refusedBefore = -1;
    outer.onHiddenButton = [&] {
        CTestDlg inner(&outer);
        inner.DoModal();
        refusedBefore = static_cast<int>(host.Refused().size());
    };
    host.Click(kHiddenButton);
    host.Do("click outer", [&outer](const WindowState&) {
        return framework::UserClick(*outer.GetState()->FindChild(IDOK));
    });
    host.Escape();  // the inner dialog
    host.Escape();  // the outer one
    outer.DoModal();
    EXPECT_EQ(refusedBefore, 1);
    EXPECT_EQ(outer.m_okCount, 0);
}

TEST_F(ModalLoopTest, QuitEndsEveryRunningLoop) {
    CTestDlg outer;
    INT_PTR innerResult = 0;
    bool boxShownAfterQuit = false;
    outer.onHiddenButton = [&] {
        CProgressTestDlg inner;
        inner.onTimer = [](UINT_PTR) { PostQuitMessage(3); };
        inner.onInit = [&inner] { inner.SetTimer(1, 100); };
        innerResult = inner.DoModal();
        // While the quit is pending no box is shown.
        const std::size_t boxes = host.MessageBoxes().size();
        outer.MessageBox("after", "x", MB_OK);
        boxShownAfterQuit = host.MessageBoxes().size() != boxes;
    };
    host.Click(kHiddenButton);
    host.Escape(kMainDialog);  // never used: the quit ends the outer dialog too
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);
    EXPECT_FALSE(boxShownAfterQuit);
    EXPECT_EQ(host.PendingActions(), 1);
    EXPECT_TRUE(framework::QuitPending());
    EXPECT_EQ(framework::QuitCode(), 3);
    EXPECT_EQ(host.QuitsPosted(), 1);
}

TEST_F(ModalLoopTest, QuitPostedInInitialisationEndsRightAfterIt) {
    CTestDlg dialog;
    bool initReturned = false;
    dialog.onInit = [&] { PostQuitMessage(0); };
    host.Escape();
    const INT_PTR result = dialog.DoModal();
    initReturned = dialog.m_initCount == 1;
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(initReturned);
    EXPECT_TRUE(host.DialogsShown().empty());
    EXPECT_EQ(host.PendingActions(), 1);  // no input was asked for
    EXPECT_EQ(framework::QuitCode(), 0);
}

#ifdef _WIN32
// On Windows PostQuitMessage is the system's: the thread keeps a single quit request, carrying
// the code of the latest call, and the loop takes it as one quit.
TEST_F(ModalLoopTest, SystemQuitCarriesTheLatestCodeOnWindows) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        PostQuitMessage(5);
        PostQuitMessage(9);
    };
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(framework::QuitCode(), 9);
    EXPECT_EQ(host.QuitsPosted(), 1);
}
#else
TEST_F(ModalLoopTest, FirstQuitCodeWins) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        PostQuitMessage(5);
        PostQuitMessage(9);
    };
    dialog.DoModal();
    EXPECT_EQ(framework::QuitCode(), 5);
}
#endif

TEST_F(ModalLoopTest, PostedMessagesAreDispatchedInOrder) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.PostMessage(WM_COMMAND, MAKEWPARAM(kHiddenButton, BN_CLICKED));
        dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        EXPECT_EQ(dialog.m_hiddenClicks, 0);  // not before the loop runs
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_hiddenClicks, 1);
}

TEST_F(ModalLoopTest, MessagesPostedToAnEndedDialogAreDropped) {
    {
        CTestDlg dialog;
        dialog.onInit = [&] {
            dialog.PostMessage(WM_COMMAND, MAKEWPARAM(kHiddenButton, BN_CLICKED));
            dialog.EndDialog(IDCANCEL);
        };
        dialog.DoModal();
        EXPECT_EQ(dialog.m_hiddenClicks, 0);
    }
    CTestDlg next;
    host.Escape();
    EXPECT_EQ(next.DoModal(), IDCANCEL);
    EXPECT_EQ(next.m_hiddenClicks, 0);
}

}  // namespace
