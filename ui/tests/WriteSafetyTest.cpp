// The backup saved before every write and the check of the card after it: what is saved and
// when, what the user is asked when it cannot be saved, and what the user is told when the card
// does not hold what was written.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "backup/BackupFolder.h"
#include "testsupport/FileContents.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

constexpr const char* kQuestion =
    "Settings are changed. Do you want to write new settings to EEPROM ?";
constexpr const char* kNoBackup = "No backup of the EEPROM was saved before this write.";

std::string BackupPlace(const std::string& backup) {
    return "The EEPROM as it was before this program wrote to it is saved in " + backup +
           ". To put it back, run:\nvymcnf write \"" + backup + "\"";
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Looks at the backup folder when the first byte write reaches the card.
class CFirstWriteWatcher final : public CScopedForwardingDeviceApi {
public:
    explicit CFirstWriteWatcher(const CBackupFolderForTest& backups) : m_backups(backups) {}

    BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                         DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped) override {
        if (code == IOCTL_CNF_WRITE_BYTE && !m_sawWrite) {
            m_sawWrite = true;
            for (const std::string& file : m_backups.Files()) {
                filesAtFirstWrite.push_back(FileBytes(file));
            }
        }
        return CScopedForwardingDeviceApi::DeviceIoControl(device, code, in, inSize, out, outSize,
                                                           returned, overlapped);
    }

    std::vector<std::vector<std::uint8_t>> filesAtFirstWrite;

private:
    const CBackupFolderForTest& m_backups;
    bool m_sawWrite = false;
};

// Fails the reads of one address once the card has been written to: a card that reads at start
// but not in the check afterwards.
class CReadFailureAfterWrites final : public CScopedForwardingDeviceApi {
public:
    explicit CReadFailureAfterWrites(int address) : m_address(address) {}

    BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                         DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped) override {
        if (code == IOCTL_CNF_WRITE_BYTE) {
            m_written = true;
        }
        const auto* request = static_cast<const std::uint8_t*>(in);
        if (code == IOCTL_CNF_READ_BYTE && m_written && in != nullptr &&
            (request[0] | (request[1] << 8)) == m_address) {
            return FALSE;  // the double keeps the last error: the check reports this read
        }
        return CScopedForwardingDeviceApi::DeviceIoControl(device, code, in, inSize, out, outSize,
                                                           returned, overlapped);
    }

private:
    int m_address;
    bool m_written = false;
};

class WriteSafetyTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(StandardCard()); }

    // A folder for backups that can never be made: a file stands where its parent must be.
    std::string UnusableBackupFolder() {
        const std::string blocker = backups.Folder() + "/not-a-folder";
        std::ofstream(blocker) << "x";
        const std::string folder = (std::filesystem::path(blocker) / "backups").string();
        SetProcessVariable(BACKUP_FOLDER_VARIABLE, folder.c_str());
        return folder;
    }

    // Picks a change and confirms it with OK and Yes.
    void ChangeAndConfirm() {
        Pick(IDC_WSS_IO, "544");
        host.Answer(IDYES);
        host.Enter(IDD_SETUP_DIALOG);
    }

    std::vector<std::uint8_t> InitialCard() const {
        const CCardImage initial = StandardCard();
        return std::vector<std::uint8_t>(std::begin(initial.Image()), std::end(initial.Image()));
    }
};

TEST_F(WriteSafetyTest, TheCardAsReadIsSavedWholeBeforeItsFirstByteIsWritten) {
    CFirstWriteWatcher watcher(backups);
    ChangeAndConfirm();
    EXPECT_EQ(Run(), IDOK);
    ASSERT_EQ(watcher.filesAtFirstWrite.size(), 1u);
    EXPECT_EQ(watcher.filesAtFirstWrite[0], InitialCard());
    ASSERT_EQ(backups.Files().size(), 1u);
    EXPECT_EQ(std::string(dlg.m_backup.path), backups.Files()[0]);
    EXPECT_TRUE(
        StartsWith(std::filesystem::path(backups.Files()[0]).filename().string(), "eeprom-"));
    // A backup that could be saved is not mentioned: the user sees only the question.
    EXPECT_EQ(BoxTexts(), (Strings{kQuestion}));
}

TEST_F(WriteSafetyTest, EveryWriteSavesABackupTheHiddenOneToo) {
    Click(IDC_BUTTON1);
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    const Strings saved = backups.Files();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_NE(saved[0], saved[1]);
    EXPECT_EQ(FileBytes(saved[0]), InitialCard());
    EXPECT_EQ(FileBytes(saved[1]), InitialCard());
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(WriteSafetyTest, AWriteRefusedBeforeItBeginsSavesNoBackup) {
    card.FailReadAt(2047);
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_TRUE(backups.Files().empty());
}

TEST_F(WriteSafetyTest, ABackupThatCannotBeSavedIsAskedAboutAndNoWritesNothing) {
    const std::string folder = UnusableBackupFolder();
    ChangeAndConfirm();
    host.Answer(IDNO);
    WhileOpen([&] { EXPECT_EQ(dlg.m_writeComplete, 0); });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);  // the dialog stayed open after No

    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    const auto& box = host.MessageBoxes()[1];
    const std::string start = "Couldn't save a backup of the EEPROM in " + folder + ": ";
    const std::string end =
        ".\n\nWithout a backup, the card's present settings cannot be put back if the write goes "
        "wrong. Write the new settings anyway?";
    EXPECT_TRUE(StartsWith(box.text, start)) << box.text;
    EXPECT_TRUE(EndsWith(box.text, end)) << box.text;
    EXPECT_GT(box.text.size(), start.size() + end.size()) << "the system's reason is missing";
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(box.caption, "VYM Card Setup");
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG}));
}

TEST_F(WriteSafetyTest, TheHiddenWriteAsksTooWhenNoBackupCanBeSaved) {
    UnusableBackupFolder();
    Click(IDC_BUTTON1);  // nothing queued: the question is answered No
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteSafetyTest, YesWritesWithoutABackupAndTheBoxesSaySo) {
    UnusableBackupFolder();
    card.StoreOtherValueAt(50, 0xEE);
    ChangeAndConfirm();
    host.Answer(IDYES);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(host.MessageBoxes().size(), 3u);
    EXPECT_TRUE(EndsWith(host.MessageBoxes()[2].text, std::string("\n\n") + kNoBackup));
    EXPECT_EQ(Writes().size(), static_cast<std::size_t>(dlg.m_imageLength));
    EXPECT_STREQ(dlg.m_backup.path, "");
}

TEST_F(WriteSafetyTest, TheWrittenBytesAreReadBackOnceAfterTheLastWrite) {
    ChangeAndConfirm();
    EXPECT_EQ(Run(), IDOK);  // the card holds the image: the dialog closes
    const int n = dlg.m_imageLength;
    ASSERT_GT(n, 0);
    // The start's 2048 reads, 2048 more just before writing, n writes, then n reads of
    // addresses 0 to n - 1.
    ASSERT_EQ(card.requests.size(), static_cast<std::size_t>(2 * 2048 + 2 * n));
    for (int i = 0; i < n; ++i) {
        const CDeviceDouble::CRequest& request = card.requests[2 * 2048 + n + i];
        EXPECT_EQ(request.code, IOCTL_CNF_READ_BYTE);
        EXPECT_EQ(request.input[0] | (request.input[1] << 8), i);
    }
    EXPECT_EQ(dlg.m_writeComplete, 1);
}

TEST_F(WriteSafetyTest, ACellThatKeptAnotherValueIsReportedAndTheDialogStaysOpen) {
    card.StoreOtherValueAt(50, 0xEE);
    card.StoreOtherValueAt(120, 0xEE);
    ChangeAndConfirm();
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_writeComplete, 0);
        ASSERT_NE(dlg.m_writeImage[50], 0xEE);
        ASSERT_NE(dlg.m_writeImage[120], 0xEE);
    });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(backups.Files().size(), 1u);
    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    EXPECT_EQ(host.MessageBoxes()[1].text,
              "The EEPROM does not hold what was written: 2 bytes differ, the first at address "
              "50. The card may now hold a damaged image.\n\n" +
                  BackupPlace(backups.Files()[0]));
    EXPECT_EQ(host.MessageBoxes()[1].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_EQ(host.MessageBoxes()[1].caption, "VYM Card Setup");
}

TEST_F(WriteSafetyTest, OneDifferingByteIsOneByte) {
    card.StoreOtherValueAt(200, 0xEE);
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_TRUE(StartsWith(host.MessageBoxes()[0].text,
                           "The EEPROM does not hold what was written: 1 byte differs, the first "
                           "at address 200."));
}

TEST_F(WriteSafetyTest, AReadThatFailsInTheCheckIsReported) {
    CReadFailureAfterWrites failing(30);
    ChangeAndConfirm();
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    ASSERT_EQ(backups.Files().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[1].text,
              "Couldn't read EEPROM at address 30 to check what was written, so the card may hold "
              "an incomplete image.\n\n" +
                  BackupPlace(backups.Files()[0]));
    EXPECT_EQ(host.MessageBoxes()[1].type, static_cast<UINT>(MB_ICONHAND));
}

}  // namespace
