#pragma once

#include <cstddef>
#include <cstdint>

#include "backup/PlatformFiles.h"

// Backups are named for the local time they were made, eeprom-YYYYMMDD-HHMMSS.bin, and a second
// one of the same second gets -2, -3, ... before the extension.
constexpr int BACKUP_NAME_SIZE = 40;
constexpr int FIRST_BACKUP_SEQUENCE = 1;  // the name without a number
constexpr int LAST_BACKUP_SEQUENCE = 999;

// The name of backup number sequence (1 for the first) made at time, in name. Returns 0 when
// the time or the sequence is out of range.
int FormatBackupName(const CLocalTime& time, int sequence, char* name, std::size_t size);

// What a backup's name says of it.
struct CBackupStamp {
    std::uint64_t time = 0;  // YYYYMMDDHHMMSS as one number: later is larger
    int sequence = 0;        // 1 for the name without a number
};
// Whether name is one FormatBackupName makes; stamp gets what it says.
bool ParseBackupName(const char* name, CBackupStamp* stamp);
