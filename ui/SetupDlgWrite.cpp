// Writing the EEPROM: OK's question, the write flow, the byte the progress dialog sends and the
// check of what the card holds afterwards.
#include <cstdio>
#include <cstring>

#include "driver/CardReadBack.h"
#include "driver/WritePace.h"
#include "text/Sentences.h"
#include "ui/MessageText.h"
#include "ui/SetupDlg.h"
#include "ui/SetupOutcome.h"
#include "ui/WriteEepromDlg.h"

void CSetupDlg::OnOK() {
    if (CheckIrqOverlap() == 0) {
        return;
    }
    if (m_settingsChanged != 0) {
        const int answer =
            MessageBox("Settings are changed. Do you want to write new settings to EEPROM ?",
                       "Write EEPROM", MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES) {
            WriteSettings();
            // The dialog closes only over a card that holds the new settings; otherwise the
            // user has been told why and may try OK again or leave with Cancel.
            if (m_writeComplete == 0) {
                return;
            }
        }
    }
    CDialog::OnOK();
}

int CSetupDlg::CanWriteImage() {
    // Writing rebuilds the whole image from what was read: a partial read or a card without
    // its six devices would turn into an image the card never had.
    if (m_wholeImageRead == 0) {
        AfxMessageBox("Couldn't read the whole EEPROM, so nothing was written.", MB_ICONHAND, 0);
        m_writeFailure = "the whole EEPROM could not be read";
        return 0;
    }
    if (m_deviceCount < WRITTEN_LOGICAL_DEVICES) {
        AfxMessageBox("Couldn't find six logical devices in the EEPROM, so nothing was written.",
                      MB_ICONHAND, 0);
        m_writeFailure = "six logical devices could not be found in the EEPROM";
        return 0;
    }
    // Said before the backup and the first byte: every write to a card opened for reading only
    // would be refused, and a backup of a card that cannot change is no use.
    if (m_driver.IsReadOnly() != 0) {
        AfxMessageBox(
            "The card's EEPROM file may be read but not written, so nothing was written. Give "
            "yourself permission to write the file, or copy it to a place where you may, and "
            "try again.",
            MB_ICONHAND, 0);
        m_writeFailure = "the card's file may not be written";
        return 0;
    }
    return 1;
}

void CSetupDlg::WriteSettings() {
    m_writeComplete = 0;
    m_writeFailure = nullptr;
    m_backup = CSavedBackup{};  // the backup of this write, once saved
    RunWrite();
    RecordWriteOutcome();
}

void CSetupDlg::RecordWriteOutcome() {
    CSetupOutcome& outcome = SetupOutcome();
    ++outcome.writesAsked;
    if (m_writeComplete != 0) {
        ++outcome.writesCompleted;
        outcome.lastWriteFailed = 0;
        outcome.lastBytesWritten = m_bytesSent;
        std::snprintf(outcome.lastBackupPath, sizeof outcome.lastBackupPath, "%s", m_backup.path);
        return;
    }
    outcome.lastWriteFailed = 1;
    std::snprintf(outcome.failure, sizeof outcome.failure, "%s",
                  m_writeFailure != nullptr ? m_writeFailure : "the write did not complete");
    std::snprintf(outcome.failedBackupPath, sizeof outcome.failedBackupPath, "%s", m_backup.path);
}

void CSetupDlg::RunWrite() {
    if (CanWriteImage() == 0) {
        return;
    }
    ApplyChoices();
    if (BuildImage() == 0) {
        return;
    }
    // The card as it is now, not as it was when the dialog opened, goes to a backup before its
    // first byte changes: another program may have written it meanwhile.
    if (ReadCardBeforeWrite() == 0) {
        return;
    }
    if (SaveBackupOfCard() == 0) {
        m_writeFailure = "no backup could be saved, and writing without one was declined";
        return;
    }

    // Where the backup is goes out before the first byte, so that however the program ends
    // from here on, the way back is named.
    if (AfxWriteStarting(m_backup.path) == 0) {
        AfxMessageBox("Couldn't tell where the backup of the EEPROM is, so nothing was written.",
                      MB_ICONHAND, 0);
        return;
    }
    m_bytesSent = 0;
    m_firstFailedWrite = -1;
    {
        CWriteEepromDlg progress;
        progress.m_pSetupDlg = this;
        progress.DoModal();
    }
    ReportWriteResult();
    RememberCardAfterWrite();
}

void CSetupDlg::RememberCardAfterWrite() {
    if (m_bytesSent == 0) {
        std::memcpy(m_cardAfterWrite, m_cardBeforeWrite, EEPROM_SIZE);  // nothing changed
        m_cardKnown = CardKnowledge::AfterOwnWrite;
        return;
    }
    if (m_writeComplete == 0) {
        // The user has been told the card may hold an incomplete image; no byte of it is
        // known well enough to tell another program's change from this write's.
        m_cardKnown = CardKnowledge::Unknown;
        return;
    }
    std::memcpy(m_cardAfterWrite, m_cardBeforeWrite, EEPROM_SIZE);
    std::memcpy(m_cardAfterWrite, m_writeImage, static_cast<std::size_t>(m_imageLength));
    m_cardKnown = CardKnowledge::AfterOwnWrite;
}

int CSetupDlg::ReadCardBeforeWrite() {
    if (m_driver.ReadImage(m_cardBeforeWrite) == 0) {
        AfxMessageBox("Couldn't read the EEPROM again just before writing, so nothing was written.",
                      MB_ICONHAND, 0);
        m_writeFailure = "the EEPROM could not be read again just before writing";
        return 0;
    }
    // Changes of this dialog's own writes are no news to the user.
    const std::uint8_t* known =
        m_cardKnown == CardKnowledge::ReadAtStart ? m_readImage : m_cardAfterWrite;
    if (m_cardKnown == CardKnowledge::Unknown ||
        std::memcmp(m_cardBeforeWrite, known, EEPROM_SIZE) == 0) {
        return 1;
    }
    // The new image is built from what the dialog read at start; written now, it would undo
    // whatever changed the card since. No leaves the dialog open and the card as it is.
    if (AfxMessageBox("The EEPROM has changed since this program read it, so the settings shown "
                      "may not be the card's own any more. The EEPROM as it is now will be saved "
                      "as a backup first.\n\nWrite the new settings anyway?",
                      MB_YESNO | MB_ICONQUESTION, 0) != IDYES) {
        m_writeFailure =
            "the EEPROM had changed since it was read, and writing over it was declined";
        return 0;
    }
    return 1;
}

void CSetupDlg::ReportWriteResult() {
    if (m_bytesSent == 0) {
        AfxMessageBox("Writing was stopped before it began, so nothing was written.",
                      MB_ICONEXCLAMATION, 0);
        m_writeFailure = "writing was stopped before it began";
        return;
    }
    int failed = m_firstFailedWrite;
    if (failed < 0 && m_bytesSent < m_imageLength) {
        failed = m_bytesSent;  // the loop ended early: the rest of the image is missing
    }
    if (failed >= 0) {
        CMessageText text;
        text.Append(
            "Couldn't write EEPROM at address %d. The card may now hold an incomplete image.\n\n",
            failed);
        AppendBackupPlace(text);
        AfxMessageBox(text.Text(), MB_ICONHAND, 0);
        m_writeFailure = "a byte could not be written, so the card may hold an incomplete image";
        return;
    }
    // Every byte was acknowledged; only reading them back shows that the cells took them.
    if (VerifyWrittenImage() == 0) {
        return;
    }
    m_writeComplete = 1;
}

int CSetupDlg::VerifyWrittenImage() {
    CReadBack readBack;
    if (ReadBackAndCompare(m_driver, m_writeImage, m_imageLength, &readBack) == 1) {
        return 1;
    }
    CMessageText text;
    if (readBack.failedRead >= 0) {
        text.Append(
            "Couldn't read EEPROM at address %d to check what was written, so the card may hold "
            "an incomplete image.\n\n",
            readBack.failedRead);
    } else {
        text.Append(
            "The EEPROM does not hold what was written: %d %s, the first at address %d. The card "
            "may now hold a damaged image.\n\n",
            readBack.differences, BytesDifferWords(readBack.differences), readBack.firstDifference);
    }
    AppendBackupPlace(text);
    AfxMessageBox(text.Text(), MB_ICONHAND, 0);
    m_writeFailure = readBack.failedRead >= 0 ? "the written bytes could not be read back"
                                              : "the card does not hold what was written";
    return 0;
}

void CSetupDlg::WriteImageByte(int index) {
    if (index < 0 || index >= m_imageLength) {
        return;  // only bytes of the built image reach the card
    }
    if (m_driver.WriteByte(static_cast<std::uint16_t>(index), m_writeImage[index]) == 0 &&
        m_firstFailedWrite < 0) {
        m_firstFailedWrite = index;
    }
    ++m_bytesSent;
    // The pause belongs to the card, so it goes through the card's services: a runner that
    // sets the pace (or a test) replaces it there, on Windows as everywhere else.
    m_driver.PauseAfterWrite(WRITE_PAUSE_MS);
}
