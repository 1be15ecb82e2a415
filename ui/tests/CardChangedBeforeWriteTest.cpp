// The card read again just before a write: what is saved as the backup, and what the user is
// asked when another program changed the card while the dialog was open.
#include <filesystem>
#include <iterator>

#include "testsupport/FileContents.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

constexpr const char* kQuestion =
    "Settings are changed. Do you want to write new settings to EEPROM ?";
constexpr const char* kChanged =
    "The EEPROM has changed since this program read it, so the settings shown may not be the "
    "card's own any more. The EEPROM as it is now will be saved as a backup first.\n\nWrite the "
    "new settings anyway?";
constexpr int kChangedAddress = 1500;  // past the image the dialog writes

class CardChangedBeforeWriteTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(StandardCard()); }

    // Another program writes one byte of the card while the dialog is open.
    void ChangeCardWhileOpen() {
        WhileOpen([&] {
            ASSERT_GT(kChangedAddress, dlg.m_imageLength);
            card.eeprom[kChangedAddress] ^= 0x5A;
            changedCard.assign(std::begin(card.eeprom), std::end(card.eeprom));
        });
    }

    void ChangeAndConfirm() {
        Pick(IDC_WSS_IO, "544");
        host.Answer(IDYES);
        host.Enter(IDD_SETUP_DIALOG);
    }

    std::vector<std::uint8_t> changedCard;
};

TEST_F(CardChangedBeforeWriteTest, NoToTheChangedCardWritesNothingAndKeepsTheDialogOpen) {
    ChangeCardWhileOpen();
    ChangeAndConfirm();
    host.Answer(IDNO);
    WhileOpen([&] { EXPECT_EQ(dlg.m_writeComplete, 0); });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);  // still open after No: the queued Cancel ends it

    EXPECT_EQ(BoxTexts(), (Strings{kQuestion, kChanged}));
    const auto& box = host.MessageBoxes()[1];
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(box.caption, "VYM Card Setup");
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(backups.Files().empty());
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG}));
    EXPECT_EQ(std::vector<std::uint8_t>(std::begin(card.eeprom), std::end(card.eeprom)),
              changedCard);
}

TEST_F(CardChangedBeforeWriteTest, YesSavesTheCardAsItIsNowAndWrites) {
    ChangeCardWhileOpen();
    ChangeAndConfirm();
    host.Answer(IDYES);
    EXPECT_EQ(Run(), IDOK);

    EXPECT_EQ(BoxTexts(), (Strings{kQuestion, kChanged}));
    ASSERT_EQ(backups.Files().size(), 1u);
    EXPECT_EQ(FileBytes(backups.Files()[0]), changedCard);
    EXPECT_NE(FileBytes(backups.Files()[0]),
              std::vector<std::uint8_t>(std::begin(dlg.m_readImage), std::end(dlg.m_readImage)));
    EXPECT_EQ(Writes().size(), static_cast<std::size_t>(dlg.m_imageLength));
}

TEST_F(CardChangedBeforeWriteTest, TheHiddenWriteAsksTooAndNothingQueuedIsNo) {
    ChangeCardWhileOpen();
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(BoxTexts(), (Strings{kChanged}));
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(backups.Files().empty());
}

TEST_F(CardChangedBeforeWriteTest, TheCardIsReadWholeAgainBetweenTheQuestionAndTheFirstWrite) {
    ChangeAndConfirm();
    EXPECT_EQ(Run(), IDOK);
    const int n = dlg.m_imageLength;
    // The start's 2048 reads, 2048 more just before writing, the n writes and their read-back.
    ASSERT_EQ(card.requests.size(), static_cast<std::size_t>(2 * 2048 + 2 * n));
    for (int i = 0; i < 2048; ++i) {
        const CDeviceDouble::CRequest& request = card.requests[2048 + i];
        ASSERT_EQ(request.code, IOCTL_CNF_READ_BYTE) << i;
        ASSERT_EQ(request.input[0] | (request.input[1] << 8), i);
    }
    EXPECT_EQ(card.requests[2 * 2048].code, IOCTL_CNF_WRITE_BYTE);
    EXPECT_EQ(BoxTexts(), (Strings{kQuestion}));  // an unchanged card asks nothing more
}

TEST_F(CardChangedBeforeWriteTest, AfterItsOwnWriteTheDialogStillNoticesAnotherProgramsChange) {
    Click(IDC_BUTTON1);  // the dialog's own write changes nothing it has to tell
    ChangeCardWhileOpen();
    ChangeAndConfirm();
    host.Answer(IDNO);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(BoxTexts(), (Strings{kQuestion, kChanged}));
    EXPECT_EQ(Writes().size(), static_cast<std::size_t>(dlg.m_imageLength));  // the first only
}

TEST_F(CardChangedBeforeWriteTest, ACardThatCannotBeReadAgainIsNotWritten) {
    WhileOpen([&] { card.FailReadAt(700); });
    ChangeAndConfirm();
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(BoxTexts(),
              (Strings{kQuestion,
                       "Couldn't read the EEPROM again just before writing, so nothing was "
                       "written."}));
    EXPECT_EQ(host.MessageBoxes()[1].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(backups.Files().empty());
}

}  // namespace
