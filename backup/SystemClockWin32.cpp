// The store's clock over Win32: only what Windows 98 SE has.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "backup/SystemClock.h"

namespace {

CCalendarTime FromSystemTime(const SYSTEMTIME& system) {
    return CCalendarTime{system.wYear, system.wMonth,  system.wDay,
                         system.wHour, system.wMinute, system.wSecond};
}

}  // namespace

CLocalTime CurrentLocalTime() {
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    return FromSystemTime(local);
}

CCalendarTime CurrentUtcTime() {
    SYSTEMTIME utc;
    ::GetSystemTime(&utc);
    return FromSystemTime(utc);
}

std::int64_t LocalTimeToSystemTime(const CLocalTime& time) {
    // Windows 98 has no conversion for another date than today's, so the zone's offset of
    // now stands for the offset of then: off by the summer-time hour at worst.
    const CCalendarTime utcNow = CurrentUtcTime();
    const CLocalTime localNow = CurrentLocalTime();
    const std::int64_t offset = SecondsSinceEpoch(localNow) - SecondsSinceEpoch(utcNow);
    return SecondsSinceEpoch(time) - offset;
}
