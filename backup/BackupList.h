#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backup/BackupName.h"
#include "files/FileError.h"

// One saved backup as the folder holds it.
struct CBackupFile {
    std::string name;  // eeprom-YYYYMMDD-HHMMSS.bin, maybe with -N
    std::string path;
    CBackupStamp stamp;
    std::int64_t savedAt = 0;  // the system's time (seconds since 1970, UTC) of the name
};

// The backups in folder, newest first: in the order they were saved, by the moment their names
// give (a name of the local time read in this time zone), then by their number. Only regular
// files named as backups are listed: not a link, a FIFO or a folder of such a name. A folder
// that does not exist holds none. Returns 0 with error when the folder cannot be read.
int ListBackups(const char* folder, std::vector<CBackupFile>* backups, CFileError* error);
