#pragma once

#include <string>
#include <vector>

#include "backup/BackupName.h"
#include "backup/FileError.h"

// One saved backup as the folder holds it.
struct CBackupFile {
    std::string name;  // eeprom-YYYYMMDD-HHMMSS.bin, maybe with -N
    std::string path;
    CBackupStamp stamp;
};

// The backups in folder, newest first (by the time in their names, then by their number):
// only files named as backups are listed. A folder that does not exist holds none. Returns 0
// with error when the folder cannot be read.
int ListBackups(const char* folder, std::vector<CBackupFile>* backups, CFileError* error);
