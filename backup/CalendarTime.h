#pragma once

#include <cstdint>

// A calendar time to the second, of whichever time zone its maker says.
struct CCalendarTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Seconds from 1970-01-01 00:00:00 to time, both read in the same zone (no leap seconds, the
// proleptic Gregorian calendar): for a UTC time, the system's time.
std::int64_t SecondsSinceEpoch(const CCalendarTime& time);
