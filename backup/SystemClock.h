#pragma once

#include <cstdint>

#include "backup/CalendarTime.h"

// The system's clock as the store reads it to name backups: one implementation over the C
// library (SystemClockPosix.cpp), one over Win32 (SystemClockWin32.cpp) that Windows 98 has.

// A calendar time of the local time zone, to the second.
using CLocalTime = CCalendarTime;
CLocalTime CurrentLocalTime();
// The same moment in UTC, which a time zone or a change to summer time does not move.
CCalendarTime CurrentUtcTime();
// The system's time (seconds since 1970, UTC) of a calendar time read in the local time zone.
std::int64_t LocalTimeToSystemTime(const CLocalTime& time);
