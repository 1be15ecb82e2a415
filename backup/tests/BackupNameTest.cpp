// Backup names: the local time they were made, a number for a second one of the same second,
// and only such names taken for backups when a folder is listed.
#include <gtest/gtest.h>

#include <string>

#include "backup/BackupName.h"
#include "backup/CalendarTime.h"

namespace {

CLocalTime At(int year, int month, int day, int hour, int minute, int second) {
    CLocalTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

std::string Name(const CLocalTime& time, int sequence) {
    char name[BACKUP_NAME_SIZE];
    if (FormatBackupName(time, sequence, name, sizeof name) == 0) {
        return "(refused)";
    }
    return name;
}

TEST(BackupName, IsTheUtcTimeWithEveryFieldZeroPaddedAndAZ) {
    EXPECT_EQ(Name(At(2024, 3, 5, 7, 8, 9), 1), "eeprom-20240305-070809Z.bin");
    EXPECT_EQ(Name(At(1999, 12, 31, 23, 59, 59), 1), "eeprom-19991231-235959Z.bin");
}

TEST(BackupName, ASecondBackupOfTheSameSecondIsNumberedFromTwo) {
    const CLocalTime time = At(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(Name(time, 2), "eeprom-20240305-070809Z-2.bin");
    EXPECT_EQ(Name(time, 3), "eeprom-20240305-070809Z-3.bin");
    EXPECT_EQ(Name(time, LAST_BACKUP_SEQUENCE), "eeprom-20240305-070809Z-999.bin");
}

TEST(BackupName, TimesAndNumbersOutOfRangeGiveNoName) {
    EXPECT_EQ(Name(At(2024, 13, 5, 7, 8, 9), 1), "(refused)");
    EXPECT_EQ(Name(At(2024, 0, 5, 7, 8, 9), 1), "(refused)");
    EXPECT_EQ(Name(At(2024, 3, 32, 7, 8, 9), 1), "(refused)");
    EXPECT_EQ(Name(At(2024, 3, 5, 24, 8, 9), 1), "(refused)");
    EXPECT_EQ(Name(At(10000, 3, 5, 7, 8, 9), 1), "(refused)");
    EXPECT_EQ(Name(At(2024, 3, 5, 7, 8, 9), 0), "(refused)");
    EXPECT_EQ(Name(At(2024, 3, 5, 7, 8, 9), LAST_BACKUP_SEQUENCE + 1), "(refused)");
    char small[10];
    EXPECT_EQ(FormatBackupName(At(2024, 3, 5, 7, 8, 9), 1, small, sizeof small), 0);
}

TEST(BackupName, ParsingGivesBackWhatTheNameWasMadeFrom) {
    for (int sequence : {1, 2, 10, 999}) {
        const std::string name = Name(At(2024, 3, 5, 7, 8, 9), sequence);
        CBackupStamp stamp;
        ASSERT_TRUE(ParseBackupName(name.c_str(), &stamp)) << name;
        EXPECT_EQ(stamp.time, 20240305070809u);
        EXPECT_EQ(stamp.sequence, sequence);
    }
}

TEST(BackupName, LaterTimesParseToLargerStamps) {
    CBackupStamp earlier;
    CBackupStamp later;
    ASSERT_TRUE(ParseBackupName("eeprom-20231231-235959.bin", &earlier));
    ASSERT_TRUE(ParseBackupName("eeprom-20240101-000000.bin", &later));
    EXPECT_LT(earlier.time, later.time);
}

TEST(BackupName, UtcNamesAndTheOlderLocalTimeNamesAreToldApart) {
    CBackupStamp utc;
    ASSERT_TRUE(ParseBackupName("eeprom-20240305-070809Z-2.bin", &utc));
    EXPECT_TRUE(utc.utc);
    EXPECT_EQ(utc.time, 20240305070809u);
    EXPECT_EQ(utc.sequence, 2);
    CBackupStamp local;
    ASSERT_TRUE(ParseBackupName("eeprom-20240305-070809-2.bin", &local));
    EXPECT_FALSE(local.utc);
    EXPECT_EQ(local.time, 20240305070809u);
    EXPECT_EQ(local.sequence, 2);
}

TEST(BackupName, TheStampGivesBackTheCalendarTimeOfTheName) {
    CBackupStamp stamp;
    ASSERT_TRUE(ParseBackupName(Name(At(1999, 12, 31, 23, 58, 57), 3).c_str(), &stamp));
    const CCalendarTime time = StampCalendarTime(stamp);
    EXPECT_EQ(time.year, 1999);
    EXPECT_EQ(time.month, 12);
    EXPECT_EQ(time.day, 31);
    EXPECT_EQ(time.hour, 23);
    EXPECT_EQ(time.minute, 58);
    EXPECT_EQ(time.second, 57);
}

TEST(CalendarTime, SecondsSinceEpochCountLeapDaysAndCenturies) {
    EXPECT_EQ(SecondsSinceEpoch(At(1970, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(SecondsSinceEpoch(At(1969, 12, 31, 23, 59, 59)), -1);
    EXPECT_EQ(SecondsSinceEpoch(At(2000, 3, 1, 0, 0, 0)), 951868800);  // 2000 was a leap year
    EXPECT_EQ(SecondsSinceEpoch(At(2024, 2, 29, 12, 0, 0)), 1709208000);
    EXPECT_EQ(SecondsSinceEpoch(At(2100, 3, 1, 0, 0, 0)), 4107542400);  // 2100 will not be
    EXPECT_EQ(SecondsSinceEpoch(At(2038, 1, 19, 3, 14, 8)), 2147483648);
}

TEST(BackupName, OtherFilesAreNotTakenForBackups) {
    for (const char* name : {
             "eeprom-2024030-070809.bin",        // a digit short
             "eeprom-20240305-07080.bin",        //
             "eeprom-20240305_070809.bin",       // wrong separator
             "eeprom-2024O305-070809.bin",       // a letter
             "eeprom-20240305-070809.bin.bak",   // another extension after it
             "eeprom-20240305-070809.BIN",       //
             "eeprom-20240305-070809-1.bin",     // the first one has no number
             "eeprom-20240305-070809-02.bin",    // not as we write numbers
             "eeprom-20240305-070809-1000.bin",  // beyond the last number
             "eeprom-20240305-070809-.bin",      //
             "eeprom-20240305-070809z.bin",      // the mark is a capital
             "eeprom-20240305-070809ZZ.bin",     //
             "eeprom-20240305-070809-2Z.bin",    // the mark stands before the number
             "eeprom-20240305-070809Z-1.bin",    //
             ".eeprom-Ab3dEf",                   // our temporary file elsewhere
             "vym1A2B.tmp",                      // our temporary file on Windows
             "eeprom.bin",                       //
             "",
         }) {
        EXPECT_FALSE(ParseBackupName(name, nullptr)) << name;
    }
}

}  // namespace
