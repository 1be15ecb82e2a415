#include <cstdio>
#include <vector>

#include "backup/BackupFolder.h"
#include "backup/BackupList.h"
#include "cli/Commands.h"
#include "cli/ImageFile.h"
#include "cli/ImageSummary.h"
#include "cli/InfoText.h"
#include "cli/Messages.h"
#include "text/Sentences.h"

int BackupsCommand(CConsole& console) {
    char folder[BACKUP_PATH_SIZE];
    CFileError error;
    if (BackupFolder(folder, sizeof folder, &error) == 0) {
        return Fail(console, "there is no folder for backups: %s%s", error.reason,
                    FullStop(error.reason));
    }
    std::vector<CBackupFile> backups;
    if (ListBackups(folder, &backups, &error) == 0) {
        return Fail(console, "couldn't list the backups in %s: %s%s", folder, error.reason,
                    FullStop(error.reason));
    }
    if (backups.empty()) {
        Say(console, "No backups in %s.", folder);
        return VYMCNF_DONE;
    }
    Say(console, "Backups in %s, newest first:", folder);
    for (const CBackupFile& backup : backups) {
        std::uint8_t image[EEPROM_SIZE];
        CImageFileResult loaded;
        if (LoadImageFile(backup.path.c_str(), image, &loaded) == 0) {
            Say(console, "%s: not usable: %s", backup.path.c_str(),
                ImageFileProblemText(backup.name, loaded).c_str());
            continue;
        }
        // The full path, so that a line copied into `vymcnf write` works from any folder.
        std::fprintf(console.out, "%s: %s", backup.path.c_str(),
                     BriefInfoText(SummarizeImage(image)).c_str());
    }
    return VYMCNF_DONE;
}
