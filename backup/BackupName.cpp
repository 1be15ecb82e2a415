#include "backup/BackupName.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kPrefix = "eeprom-";
constexpr const char* kExtension = ".bin";
constexpr char kUtcMark = 'Z';

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// Reads count decimal digits at text into value; false unless all are digits.
bool ReadDigits(const char* text, int count, std::uint64_t* value) {
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        *value = *value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    return true;
}

}  // namespace

int FormatBackupName(const CCalendarTime& time, int sequence, char* name, std::size_t size) {
    if (!InRange(time.year, 0, 9999) || !InRange(time.month, 1, 12) || !InRange(time.day, 1, 31) ||
        !InRange(time.hour, 0, 23) || !InRange(time.minute, 0, 59) ||
        !InRange(time.second, 0, 60) ||  // a leap second is a second too
        !InRange(sequence, FIRST_BACKUP_SEQUENCE, LAST_BACKUP_SEQUENCE)) {
        return 0;
    }
    char number[8] = "";
    if (sequence > FIRST_BACKUP_SEQUENCE) {
        std::snprintf(number, sizeof number, "-%d", sequence);
    }
    const int length = std::snprintf(name, size, "%s%04d%02d%02d-%02d%02d%02d%c%s%s", kPrefix,
                                     time.year, time.month, time.day, time.hour, time.minute,
                                     time.second, kUtcMark, number, kExtension);
    return length > 0 && static_cast<std::size_t>(length) < size ? 1 : 0;
}

bool ParseBackupName(const char* name, CBackupStamp* stamp) {
    const std::size_t prefixLength = std::strlen(kPrefix);
    if (std::strncmp(name, kPrefix, prefixLength) != 0) {
        return false;
    }
    const char* text = name + prefixLength;
    std::uint64_t date = 0;
    std::uint64_t clock = 0;
    if (!ReadDigits(text, 8, &date) || text[8] != '-' || !ReadDigits(text + 9, 6, &clock)) {
        return false;
    }
    text += 15;
    const bool utc = *text == kUtcMark;
    if (utc) {
        ++text;
    }
    std::uint64_t sequence = FIRST_BACKUP_SEQUENCE;
    if (*text == '-') {
        ++text;
        // 2 to 999, written as FormatBackupName writes it: no leading zero.
        std::size_t digits = 0;
        while (text[digits] >= '0' && text[digits] <= '9') {
            ++digits;
        }
        sequence = 0;
        if (digits == 0 || digits > 3 || text[0] == '0' ||
            !ReadDigits(text, static_cast<int>(digits), &sequence) || sequence < 2) {
            return false;
        }
        text += digits;
    }
    if (std::strcmp(text, kExtension) != 0) {
        return false;
    }
    if (stamp != nullptr) {
        stamp->time = date * 1000000 + clock;
        stamp->sequence = static_cast<int>(sequence);
        stamp->utc = utc;
    }
    return true;
}

CCalendarTime StampCalendarTime(const CBackupStamp& stamp) {
    std::uint64_t rest = stamp.time;
    CCalendarTime time;
    time.second = static_cast<int>(rest % 100);
    rest /= 100;
    time.minute = static_cast<int>(rest % 100);
    rest /= 100;
    time.hour = static_cast<int>(rest % 100);
    rest /= 100;
    time.day = static_cast<int>(rest % 100);
    rest /= 100;
    time.month = static_cast<int>(rest % 100);
    time.year = static_cast<int>(rest / 100);
    return time;
}
