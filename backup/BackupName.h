#pragma once

#include <cstddef>
#include <cstdint>

#include "backup/SystemClock.h"

// Backups are named for the time they were made in UTC, eeprom-YYYYMMDD-HHMMSSZ.bin, so that
// neither the user's time zone nor a change to or from summer time reorders them; a second one
// of the same second gets -2, -3, ... before the extension. Names of the local time without the
// Z, as earlier versions made them, are backups too.
constexpr int BACKUP_NAME_SIZE = 40;
constexpr int FIRST_BACKUP_SEQUENCE = 1;  // the name without a number
constexpr int LAST_BACKUP_SEQUENCE = 999;

// The name of backup number sequence (1 for the first) made at time (UTC), in name. Returns 0
// when the time or the sequence is out of range.
int FormatBackupName(const CCalendarTime& time, int sequence, char* name, std::size_t size);

// What a backup's name says of it.
struct CBackupStamp {
    std::uint64_t time = 0;  // YYYYMMDDHHMMSS as one number: later is larger in one zone
    int sequence = 0;        // 1 for the name without a number
    bool utc = false;        // the time is UTC (a Z); else the local time of an older name
};
// The calendar time a stamp's name gives, in the stamp's zone.
CCalendarTime StampCalendarTime(const CBackupStamp& stamp);
// Whether name is one FormatBackupName makes; stamp gets what it says.
bool ParseBackupName(const char* name, CBackupStamp* stamp);
