#include <gtest/gtest.h>

#include <string>

#include "framework/MessageQueue.h"
#include "framework/tests/TestDialogs.h"

using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

// An application shaped like the program's: one dialog run modally from InitInstance.
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(nullptr) {}

    BOOL InitInstance() override {
        AfxEnableControlContainer(nullptr);
        Enable3dControls();
        ++initCount;
        if (!runDialog) {
            return initResult;
        }
        {
            CTestDlg dialog;
            dialog.onInit = onInit;
            m_pMainWnd = &dialog;
            dialogResult = dialog.DoModal();
            mainWindowAfterDialog = m_pMainWnd;
        }
        return initResult;
    }
    int ExitInstance() override {
        ++exitCount;
        return CWinApp::ExitInstance();
    }

    bool runDialog = true;
    BOOL initResult = FALSE;
    std::function<void()> onInit;
    int initCount = 0;
    int exitCount = 0;
    INT_PTR dialogResult = 0;
    CWnd* mainWindowAfterDialog = reinterpret_cast<CWnd*>(1);

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

class WinAppTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

TEST_F(WinAppTest, WithoutAnApplicationObjectNothingRuns) {
    EXPECT_EQ(AfxWinMain(host), -1);
    EXPECT_TRUE(host.DialogsCreated().empty());
}

TEST_F(WinAppTest, TheApplicationRegistersItselfOnce) {
    CTestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    {
        CTestApp second;
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), &app);
}

TEST_F(WinAppTest, InitInstanceFalseEndsAfterTheDialogWithExitInstance) {
    CTestApp app;
    host.Click(IDOK);
    EXPECT_EQ(AfxWinMain(host), 0);
    EXPECT_EQ(app.initCount, 1);
    EXPECT_EQ(app.exitCount, 1);
    EXPECT_EQ(app.dialogResult, IDOK);
    EXPECT_EQ(app.mainWindowAfterDialog, nullptr);
}

TEST_F(WinAppTest, QuitFromTheDialogGivesItsExitCode) {
    CTestApp app;
    app.onInit = [] { PostQuitMessage(4); };
    EXPECT_EQ(AfxWinMain(host), 4);
    EXPECT_EQ(app.dialogResult, -1);
    EXPECT_FALSE(framework::QuitPending());  // AfxWinMain leaves nothing behind
}

TEST_F(WinAppTest, RunPumpsUntilAQuit) {
    CTestApp app;
    app.runDialog = false;
    app.initResult = TRUE;
    EXPECT_EQ(AfxWinMain(host), framework::kInputEndedExitCode);
    EXPECT_TRUE(host.RanOutOfInput());
    EXPECT_EQ(app.exitCount, 1);
}

TEST_F(WinAppTest, HelpKeyInTheDialogReachesTheApplicationMap) {
    CTestApp app;
    host.Help();
    host.Escape();
    AfxWinMain(host);
    EXPECT_EQ(host.HelpCount(), 1);
    EXPECT_EQ(app.dialogResult, IDCANCEL);
}

TEST_F(WinAppTest, NameComesFromTheModuleThenFromTheExecutable) {
    CTestApp app;
    app.runDialog = false;
    AfxWinMain(host, "/usr/local/bin/vymsetup.exe");
    EXPECT_STREQ(AfxGetAppName(), "Framework Test");
    AfxSetResourceModule(nullptr);
    EXPECT_STREQ(AfxGetAppName(), "vymsetup");
}

TEST_F(WinAppTest, StandInApplicationWhenNoneIsRegistered) {
    ASSERT_NE(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
    EXPECT_NE(AfxGetApp()->LoadIcon(kIcon), nullptr);
}

TEST_F(WinAppTest, DestroyedMainWindowIsNeverLeftBehind) {
    CTestApp app;
    {
        CTestDlg dialog;
        app.m_pMainWnd = &dialog;
    }
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

}  // namespace
