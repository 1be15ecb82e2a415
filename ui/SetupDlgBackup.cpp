// The copy of the card made before every write, and the words that tell the user where it is.
#include "backup/BackupStore.h"
#include "backup/RestoreCommand.h"
#include "text/Sentences.h"
#include "ui/MessageText.h"
#include "ui/SetupDlg.h"

int CSetupDlg::SaveBackupOfCard() {
    if (SaveBackup(m_cardBeforeWrite, sizeof m_cardBeforeWrite, &m_backup) == 1) {
        return 1;
    }
    const char* reason = m_backup.error.reason;
    CMessageText text;
    if (m_backup.folder[0] != '\0') {
        text.Append("Couldn't save a backup of the EEPROM in %s: %s%s", m_backup.folder, reason,
                    FullStop(reason));
    } else {
        text.Append("Couldn't save a backup of the EEPROM: %s%s", reason, FullStop(reason));
    }
    text.Append(
        "\n\nWithout a backup, the card's present settings cannot be put back if the write goes "
        "wrong. Write the new settings anyway?");
    // No writes nothing: the dialog stays as it is, and the user may free the folder and try
    // again.
    return AfxMessageBox(text.Text(), MB_YESNO | MB_ICONQUESTION, 0) == IDYES ? 1 : 0;
}

void CSetupDlg::AppendBackupPlace(CMessageText& text) const {
    if (m_backup.path[0] == '\0') {
        text.Append("No backup of the EEPROM was saved before this write.");
        return;
    }
    // The backup is the card as it was read right before this write.
    char restore[BACKUP_PATH_SIZE * 2 + 32];
    text.Append(
        "The EEPROM as it was before this program wrote to it is saved in %s. To put it back, "
        "run:\n%s",
        m_backup.path, RestoreCommand(m_backup.path, restore, sizeof restore));
}
