#include "backup/BackupStore.h"

#include <cstring>

#include "backup/BackupName.h"
#include "backup/SystemClock.h"
#include "files/CompleteFile.h"
#include "files/PlatformFiles.h"

int SaveBackup(const std::uint8_t* image, std::size_t size, const CCalendarTime& time,
               CSavedBackup* saved) {
    saved->folder[0] = '\0';
    saved->path[0] = '\0';
    saved->error = CFileError{};
    if (BackupFolder(saved->folder, sizeof saved->folder, &saved->error) == 0 ||
        MakeFolders(saved->folder, &saved->error) == 0) {
        return 0;
    }

    char temporary[BACKUP_PATH_SIZE];
    if (WriteTemporaryFile(saved->folder, image, size, temporary, sizeof temporary,
                           &saved->error) == 0) {
        return 0;
    }
    // The complete file takes the first free name of its second; a name is only ever taken
    // by a step that fails when it is taken already.
    for (int sequence = FIRST_BACKUP_SEQUENCE; sequence <= LAST_BACKUP_SEQUENCE; ++sequence) {
        char name[BACKUP_NAME_SIZE];
        char path[BACKUP_PATH_SIZE];
        if (FormatBackupName(time, sequence, name, sizeof name) == 0 ||
            PathInFolder(saved->folder, name, path, sizeof path) == 0) {
            FailWith(&saved->error, PathTooLongError());
            break;
        }
        if (MoveWithoutReplacing(temporary, path, &saved->error) == 1) {
            SyncFolder(saved->folder);
            std::memcpy(saved->path, path, std::strlen(path) + 1);
            saved->error = CFileError{};
            return 1;
        }
        if (!IsNameTaken(saved->error)) {
            break;
        }
    }
    RemoveFile(temporary);
    return 0;
}

int SaveBackup(const std::uint8_t* image, std::size_t size, CSavedBackup* saved) {
    return SaveBackup(image, size, CurrentUtcTime(), saved);
}
