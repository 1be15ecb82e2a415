// The application object: one modal run of the setup dialog, then the end.
#include "app/SetupApp.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

class ApplicationTest : public ::testing::Test {
protected:
    CRegisteredResources resources;
    CDeviceDouble card;
    CTestHost host;
};

TEST_F(ApplicationTest, TheOneApplicationObjectIsTheProgramsAndHasTheTitleAsName) {
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_STREQ(AfxGetAppName(), "VYM Card Setup");
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(ApplicationTest, RunsTheSetupDialogOnceAsTheMainWindowThenEnds) {
    std::copy(FactoryImage().begin(), FactoryImage().end(), card.eeprom);
    host.Do(
        "look",
        [](const framework::WindowState& dialog) {
            EXPECT_NE(theApp.m_pMainWnd, nullptr);
            EXPECT_EQ(theApp.m_pMainWnd->GetState(), &dialog);
            return 1;
        },
        IDD_SETUP_DIALOG);
    host.Escape(IDD_SETUP_DIALOG);
    EXPECT_EQ(AfxWinMain(host, "vymsetup"), 0);
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG}));
    EXPECT_EQ(host.DialogsDestroyed(), (std::vector<int>{IDD_SETUP_DIALOG}));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(host.PendingActions(), 0);
    EXPECT_TRUE(host.Refused().empty());
}

TEST_F(ApplicationTest, OkEndsTheProgramTooAndTheResultIsNotExamined) {
    std::copy(FactoryImage().begin(), FactoryImage().end(), card.eeprom);
    host.Enter(IDD_SETUP_DIALOG);
    host.Enter(IDD_SETUP_DIALOG);  // never reached: nothing runs after the dialog
    EXPECT_EQ(AfxWinMain(host, "vymsetup"), 0);
    EXPECT_EQ(host.PendingActions(), 1);
    EXPECT_EQ(host.DialogsCreated().size(), 1u);
}

TEST_F(ApplicationTest, AMissingDriverShowsOneBoxAndEndsTheProgram) {
    card.FailOpen(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(AfxWinMain(host, "vymsetup"), 0);  // the quit's code
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "The system cannot find the file specified.\r\n");
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(host.MessageBoxes()[0].caption, "VYM Card Setup");
    EXPECT_FALSE(host.RanOutOfInput());
}

TEST_F(ApplicationTest, TheHelpKeyReachesTheApplication) {
    std::copy(FactoryImage().begin(), FactoryImage().end(), card.eeprom);
    host.Help(IDD_SETUP_DIALOG);
    host.Escape(IDD_SETUP_DIALOG);
    AfxWinMain(host, "vymsetup");
    EXPECT_EQ(host.HelpCount(), 1);
}

}  // namespace
