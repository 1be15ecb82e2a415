#pragma once

#include <cstddef>
#include <cstdint>

#include "backup/BackupFolder.h"
#include "backup/CalendarTime.h"
#include "files/FileError.h"

// A backup just saved, or why it could not be.
struct CSavedBackup {
    char folder[BACKUP_PATH_SIZE] = "";  // the backup folder, once known
    char path[BACKUP_PATH_SIZE] = "";    // the new backup; empty unless saved
    CFileError error;                    // why not, when not
};

// Saves image (an EEPROM's bytes) as a new backup in the backup folder, which is made when it
// is missing. The file is named for time, in UTC (eeprom-YYYYMMDD-HHMMSSZ.bin, -2, -3, ... when
// that name is taken: no backup is ever overwritten) and is complete on disk when this returns
// 1. Returns 0 with saved->error, and nothing left behind, when it cannot be saved. Uses no
// heap.
int SaveBackup(const std::uint8_t* image, std::size_t size, const CCalendarTime& time,
               CSavedBackup* saved);
// The same, named for now.
int SaveBackup(const std::uint8_t* image, std::size_t size, CSavedBackup* saved);
