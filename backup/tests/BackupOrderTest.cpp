// The order of the backups a folder holds: the order they were saved in whatever time zone
// each was named in, and what in the folder is no backup although it is named like one.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "backup/BackupFolder.h"
#include "backup/BackupList.h"
#include "backup/BackupStore.h"
#include "testsupport/ScratchFolder.h"

namespace {

class BackupOrderTest : public ::testing::Test {
protected:
    std::string Folder() const { return scratch.In("backups"); }

    void Put(const std::string& name) {
        CScratchFolder::WriteBytes(Folder() + "/" + name, std::vector<std::uint8_t>(2048, 1));
    }

    std::vector<std::string> Listed() {
        std::vector<CBackupFile> backups;
        CFileError error;
        EXPECT_EQ(ListBackups(Folder().c_str(), &backups, &error), 1) << error.reason;
        std::vector<std::string> names;
        for (const CBackupFile& backup : backups) {
            names.push_back(backup.name);
        }
        return names;
    }

#ifndef _WIN32
    // The local time zone of this process, for names of the older local-time kind. (Windows
    // takes its zone from the system's settings, not from the C library's TZ.)
    void UseTimeZone(const std::string& zone) {
        scratch.SetVariable("TZ", zone);
        tzset();
    }

    void TearDown() override {
        scratch.SetVariable("TZ", std::nullopt);
        tzset();
    }
#endif

    CScratchFolder scratch;
};

TEST_F(BackupOrderTest, UtcNamesKeepTheirOrderInEveryTimeZone) {
    std::filesystem::create_directories(Folder());
    Put("eeprom-20241103-053000Z.bin");  // 01:30 summer time in New York
    Put("eeprom-20241103-063000Z.bin");  // 01:30 again, after the clocks went back
    Put("eeprom-20241103-063000Z-2.bin");
#ifdef _WIN32
    for (const char* zone : {"the system's"}) {
#else
    for (const char* zone : {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "JST-9"}) {
        UseTimeZone(zone);
#endif
        EXPECT_EQ(Listed(), (std::vector<std::string>{"eeprom-20241103-063000Z-2.bin",
                                                      "eeprom-20241103-063000Z.bin",
                                                      "eeprom-20241103-053000Z.bin"}))
            << zone;
    }
}

#ifndef _WIN32
TEST_F(BackupOrderTest, LocalTimeNamesOfOlderVersionsTakeTheirPlaceAmongUtcOnes) {
    std::filesystem::create_directories(Folder());
    UseTimeZone("EST5");
    Put("eeprom-20240305-065959.bin");   // 11:59:59 UTC
    Put("eeprom-20240305-120000Z.bin");  // noon UTC
    Put("eeprom-20240305-080000.bin");   // 13:00 UTC, though its name reads earlier
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"eeprom-20240305-080000.bin", "eeprom-20240305-120000Z.bin",
                                        "eeprom-20240305-065959.bin"}));
}

TEST_F(BackupOrderTest, BackupsSavedAcrossAZoneChangeAreListedInTheOrderTheyWereSaved) {
    // Saved first in UTC, then a second later with the zone five hours behind: by local-time
    // names the first would look five hours newer.
    scratch.SetVariable(BACKUP_FOLDER_VARIABLE, Folder());
    const std::vector<std::uint8_t> image(2048, 7);
    CSavedBackup first;
    CSavedBackup second;
    UseTimeZone("UTC0");
    ASSERT_EQ(SaveBackup(image.data(), image.size(), &first), 1) << first.error.reason;
    UseTimeZone("EST5");
    ASSERT_EQ(SaveBackup(image.data(), image.size(), &second), 1) << second.error.reason;
    const std::vector<std::string> listed = Listed();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(Folder() + "/" + listed[0], second.path);
    EXPECT_EQ(Folder() + "/" + listed[1], first.path);
}
TEST_F(BackupOrderTest, OnlyRegularFilesNamedAsBackupsAreListedAndAFifoIsNotOpened) {
    std::filesystem::create_directories(Folder());
    Put("eeprom-20240305-120000Z.bin");
    const std::string fifo = Folder() + "/eeprom-20240305-130000Z.bin";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string target = scratch.In("elsewhere.bin");
    CScratchFolder::WriteBytes(target, std::vector<std::uint8_t>(2048, 2));
    ASSERT_EQ(symlink(target.c_str(), (Folder() + "/eeprom-20240305-140000Z.bin").c_str()), 0);
    std::filesystem::create_directories(Folder() + "/eeprom-20240305-150000Z.bin");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"eeprom-20240305-120000Z.bin"}));
}
#endif

}  // namespace
