#include "backup/CalendarTime.h"

namespace {

// Days from 1970-01-01 to year-month-day: the civil calendar counted in eras of 400 years,
// whose days repeat, with March as the first month so that the leap day ends a year.
std::int64_t DaysSinceEpoch(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const int shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::int64_t SecondsSinceEpoch(const CCalendarTime& time) {
    return DaysSinceEpoch(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
           time.minute * 60 + time.second;
}
