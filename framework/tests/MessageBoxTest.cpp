#include <gtest/gtest.h>

#include "framework/tests/TestDialogs.h"

using framework::testing::ScriptedHost;
using namespace test_dialogs;

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    ScopedTestResources resources;
    ScriptedHost host;
};

TEST_F(MessageBoxTest, ResultValuesAreThoseOfWindows) {
    EXPECT_EQ(MB_OK, 0x0);
    EXPECT_EQ(MB_YESNO | MB_ICONQUESTION, 0x24);
    EXPECT_EQ(MB_OK | MB_ICONEXCLAMATION, 0x30);
    EXPECT_EQ(MB_OK | MB_ICONINFORMATION, 0x40);
    EXPECT_EQ(IDOK, 1);
    EXPECT_EQ(IDCANCEL, 2);
    EXPECT_EQ(IDYES, 6);
    EXPECT_EQ(IDNO, 7);
}

TEST_F(MessageBoxTest, OkBoxesAreAnsweredOkQuestionsTakeTheQueuedAnswer) {
    host.Answer(IDYES);
    EXPECT_EQ(AfxMessageBox("Overlap", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(AfxMessageBox("Write?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("Again?", MB_YESNO | MB_ICONQUESTION), IDNO);  // none queued
    EXPECT_EQ(AfxMessageBox("Go on?", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(host.MessageBoxes().size(), 4u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Overlap");
    EXPECT_EQ(host.MessageBoxes()[0].type, 0x30u);
    EXPECT_EQ(host.MessageBoxes()[1].type, 0x24u);
}

TEST_F(MessageBoxTest, AnswersATypeDoesNotOfferBecomeTheSafeOne) {
    host.Answer(IDOK);  // not a Yes/No answer
    host.Answer(IDYES);
    EXPECT_EQ(AfxMessageBox("Write?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("Cancel?", MB_OKCANCEL), IDCANCEL);
}

TEST_F(MessageBoxTest, AfxMessageBoxIsCaptionedWithTheApplicationTitle) {
    AfxMessageBox("text");
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].caption, "Framework Test");
    EXPECT_EQ(host.MessageBoxes()[0].ownerId, 0);  // no dialog runs
}

TEST_F(MessageBoxTest, NamedApplicationGivesItsName) {
    CWinApp app("Named");
    AfxMessageBox("text");
    EXPECT_EQ(host.MessageBoxes().back().caption, "Named");
}

TEST_F(MessageBoxTest, WindowMessageBoxIsOwnedByTheWindowAndKeepsItsCaption) {
    CTestDlg dialog;
    dialog.onInit = [&] {
        dialog.MessageBox("Port 0", "Device 1", MB_OK);
        dialog.MessageBox("no caption");
        AfxMessageBox("from the dialog");
    };
    host.Escape();
    dialog.DoModal();
    ASSERT_EQ(host.MessageBoxes().size(), 3u);
    EXPECT_EQ(host.MessageBoxes()[0].caption, "Device 1");
    EXPECT_EQ(host.MessageBoxes()[0].ownerId, kMainDialog);
    EXPECT_EQ(host.MessageBoxes()[1].caption, "Framework Test");
    EXPECT_EQ(host.MessageBoxes()[2].ownerId, kMainDialog);
}

TEST_F(MessageBoxTest, BoxesOneAfterTheOtherAreEachModal) {
    std::vector<std::size_t> seen;
    host.onMessageBox = [&](const framework::testing::RecordedMessageBox&) {
        seen.push_back(host.MessageBoxes().size());
    };
    for (int i = 0; i < 3; ++i) {
        AfxMessageBox("box");
    }
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2, 3}));
}

}  // namespace
