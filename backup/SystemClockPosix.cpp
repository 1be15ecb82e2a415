// The store's clock over the C library.
#include <ctime>

#include "backup/SystemClock.h"

namespace {

CCalendarTime FromBrokenDownTime(const std::tm& broken) {
    return CCalendarTime{broken.tm_year + 1900, broken.tm_mon + 1, broken.tm_mday,
                         broken.tm_hour,        broken.tm_min,     broken.tm_sec};
}

}  // namespace

CLocalTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FromBrokenDownTime(local);
}

CCalendarTime CurrentUtcTime() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    return FromBrokenDownTime(utc);
}

std::int64_t LocalTimeToSystemTime(const CLocalTime& time) {
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;  // the zone's own rule for that date says whether it was summer time
    return static_cast<std::int64_t>(std::mktime(&local));
}
