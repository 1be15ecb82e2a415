// Writing the EEPROM: OK's question, the write flow, the byte the progress dialog sends and the
// check of what the card holds afterwards.
#include "driver/CardReadBack.h"
#include "ui/MessageText.h"
#include "ui/SetupDlg.h"
#include "ui/WriteEepromDlg.h"

namespace {

constexpr int kPauseAfterByteMs = 20;  // the EEPROM's write cycle

}  // namespace

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
        return 0;
    }
    if (m_deviceCount < WRITTEN_LOGICAL_DEVICES) {
        AfxMessageBox("Couldn't find six logical devices in the EEPROM, so nothing was written.",
                      MB_ICONHAND, 0);
        return 0;
    }
    return 1;
}

void CSetupDlg::WriteSettings() {
    m_writeComplete = 0;
    if (CanWriteImage() == 0) {
        return;
    }
    ApplyChoices();
    if (BuildImage() == 0) {
        return;
    }
    // The card as it is now goes to a backup before its first byte changes.
    if (SaveBackupOfReadImage() == 0) {
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
}

void CSetupDlg::ReportWriteResult() {
    if (m_bytesSent == 0) {
        AfxMessageBox("Writing was stopped before it began, so nothing was written.",
                      MB_ICONEXCLAMATION, 0);
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
            readBack.differences, readBack.differences == 1 ? "byte differs" : "bytes differ",
            readBack.firstDifference);
    }
    AppendBackupPlace(text);
    AfxMessageBox(text.Text(), MB_ICONHAND, 0);
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
    m_driver.PauseAfterWrite(kPauseAfterByteMs);
}
