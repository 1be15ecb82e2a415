#include "backup/BackupList.h"

#include <algorithm>

#include "backup/BackupFolder.h"
#include "backup/SystemClock.h"
#include "files/CompleteFile.h"
#include "files/PlatformFiles.h"

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
    // Anything else of a backup's name is no backup: reading a FIFO would wait for good, and
    // a link may point anywhere.
    if (PathInFolder(listing.folder, name, path, sizeof path) == 0 || !IsRegularFile(path)) {
        return;
    }
    const CCalendarTime time = StampCalendarTime(stamp);
    const std::int64_t savedAt = stamp.utc ? SecondsSinceEpoch(time) : LocalTimeToSystemTime(time);
    listing.backups->push_back(CBackupFile{name, path, stamp, savedAt});
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
        if (a.savedAt != b.savedAt) {
            return a.savedAt > b.savedAt;
        }
        if (a.stamp.sequence != b.stamp.sequence) {
            return a.stamp.sequence > b.stamp.sequence;
        }
        return a.name > b.name;  // one order for names of the same moment, whatever the listing
    });
    return 1;
}
