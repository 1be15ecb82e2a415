// Backup names: the local time they were made, a number for a second one of the same second,
// and only such names taken for backups when a folder is listed.
#include <gtest/gtest.h>

#include <string>

#include "backup/BackupName.h"

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

TEST(BackupName, IsTheLocalTimeWithEveryFieldZeroPadded) {
    EXPECT_EQ(Name(At(2024, 3, 5, 7, 8, 9), 1), "eeprom-20240305-070809.bin");
    EXPECT_EQ(Name(At(1999, 12, 31, 23, 59, 59), 1), "eeprom-19991231-235959.bin");
}

TEST(BackupName, ASecondBackupOfTheSameSecondIsNumberedFromTwo) {
    const CLocalTime time = At(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(Name(time, 2), "eeprom-20240305-070809-2.bin");
    EXPECT_EQ(Name(time, 3), "eeprom-20240305-070809-3.bin");
    EXPECT_EQ(Name(time, LAST_BACKUP_SEQUENCE), "eeprom-20240305-070809-999.bin");
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
             ".eeprom-Ab3dEf",                   // our temporary file elsewhere
             "vym1A2B.tmp",                      // our temporary file on Windows
             "eeprom.bin",                       //
             "",
         }) {
        EXPECT_FALSE(ParseBackupName(name, nullptr)) << name;
    }
}

}  // namespace
