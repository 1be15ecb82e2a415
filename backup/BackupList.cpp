#include "backup/BackupList.h"

#include <algorithm>

#include "backup/BackupFolder.h"
#include "backup/CompleteFile.h"
#include "backup/PlatformFiles.h"

namespace {

struct CListing {
    const char* folder;
    std::vector<CBackupFile>* backups;
};

void Collect(const char* name, void* context) {
    CListing& listing = *static_cast<CListing*>(context);
    CBackupStamp stamp;
    if (!ParseBackupName(name, &stamp)) {
        return;  // a temporary file, or anything else the user keeps there
    }
    char path[BACKUP_PATH_SIZE];
    if (PathInFolder(listing.folder, name, path, sizeof path) == 0) {
        return;
    }
    listing.backups->push_back(CBackupFile{name, path, stamp});
}

}  // namespace

int ListBackups(const char* folder, std::vector<CBackupFile>* backups, CFileError* error) {
    backups->clear();
    if (!IsFolder(folder)) {
        return 1;  // nothing was ever saved here
    }
    CListing listing{folder, backups};
    if (ListFolder(folder, Collect, &listing, error) == 0) {
        return 0;
    }
    std::sort(backups->begin(), backups->end(), [](const CBackupFile& a, const CBackupFile& b) {
        if (a.stamp.time != b.stamp.time) {
            return a.stamp.time > b.stamp.time;
        }
        return a.stamp.sequence > b.stamp.sequence;
    });
    return 1;
}
