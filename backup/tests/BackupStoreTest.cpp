// Saving a backup: complete, named for its second, never over another file, nothing left
// behind when it cannot be saved; and listing them newest first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup/BackupList.h"
#include "backup/BackupStore.h"
#include "testsupport/ScratchFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

CLocalTime At(int hour, int minute, int second) {
    CLocalTime time;
    time.year = 2024;
    time.month = 3;
    time.day = 5;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

Bytes Image(std::uint8_t seed) {
    Bytes bytes(2048);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return bytes;
}

class BackupStoreTest : public ::testing::Test {
protected:
    void SetUp() override { scratch.SetVariable(BACKUP_FOLDER_VARIABLE, Folder()); }

    std::string Folder() const { return scratch.In("state/backups"); }

    // Saves image at time; the new file's name, or "(failed)".
    std::string Save(const Bytes& image, const CLocalTime& time) {
        CSavedBackup saved;
        if (SaveBackup(image.data(), image.size(), time, &saved) == 0) {
            EXPECT_STREQ(saved.path, "");
            failure = saved;
            return "(failed)";
        }
        EXPECT_EQ(std::string(saved.folder), Folder());
        return std::filesystem::path(saved.path).filename().string();
    }

    CScratchFolder scratch;
    CSavedBackup failure;
};

TEST_F(BackupStoreTest, TheImageIsSavedWholeInAFolderMadeForIt) {
    const Bytes image = Image(1);
    EXPECT_EQ(Save(image, At(7, 8, 9)), "eeprom-20240305-070809Z.bin");
    EXPECT_EQ(FileBytes(Folder() + "/eeprom-20240305-070809Z.bin"), image);
    // Nothing else: the temporary file got the name.
    EXPECT_EQ(CScratchFolder::Names(Folder()),
              (std::vector<std::string>{"eeprom-20240305-070809Z.bin"}));
}

TEST_F(BackupStoreTest, BackupsOfTheSameSecondAreNumberedAndNoneIsOverwritten) {
    const Bytes first = Image(1);
    const Bytes second = Image(2);
    const Bytes third = Image(3);
    EXPECT_EQ(Save(first, At(7, 8, 9)), "eeprom-20240305-070809Z.bin");
    EXPECT_EQ(Save(second, At(7, 8, 9)), "eeprom-20240305-070809Z-2.bin");
    EXPECT_EQ(Save(third, At(7, 8, 9)), "eeprom-20240305-070809Z-3.bin");
    EXPECT_EQ(FileBytes(Folder() + "/eeprom-20240305-070809Z.bin"), first);
    EXPECT_EQ(FileBytes(Folder() + "/eeprom-20240305-070809Z-2.bin"), second);
    EXPECT_EQ(FileBytes(Folder() + "/eeprom-20240305-070809Z-3.bin"), third);
    EXPECT_EQ(Save(first, At(7, 8, 10)), "eeprom-20240305-070810Z.bin");
}

TEST_F(BackupStoreTest, AFileSomeoneElsePutUnderTheNameIsKept) {
    std::filesystem::create_directories(Folder());
    CScratchFolder::WriteBytes(Folder() + "/eeprom-20240305-070809Z.bin", {9, 9});
    EXPECT_EQ(Save(Image(1), At(7, 8, 9)), "eeprom-20240305-070809Z-2.bin");
    EXPECT_EQ(FileBytes(Folder() + "/eeprom-20240305-070809Z.bin"), (Bytes{9, 9}));
}

TEST_F(BackupStoreTest, AFolderThatCannotBeMadeIsReportedWithTheFolderAndTheReason) {
    CScratchFolder::WriteBytes(scratch.In("state"), {0});  // a file where a folder must go
    EXPECT_EQ(Save(Image(1), At(7, 8, 9)), "(failed)");
    EXPECT_EQ(std::string(failure.folder), Folder());
    EXPECT_NE(failure.error.code, 0);
    EXPECT_STRNE(failure.error.reason, "");
    EXPECT_EQ(CScratchFolder::Names(scratch.Path().string()), (std::vector<std::string>{"state"}));
}

TEST_F(BackupStoreTest, ListingShowsOnlyBackupsNewestFirst) {
    EXPECT_EQ(Save(Image(1), At(7, 8, 9)), "eeprom-20240305-070809Z.bin");
    EXPECT_EQ(Save(Image(2), At(23, 0, 0)), "eeprom-20240305-230000Z.bin");
    EXPECT_EQ(Save(Image(3), At(7, 8, 9)), "eeprom-20240305-070809Z-2.bin");
    EXPECT_EQ(Save(Image(4), At(0, 0, 1)), "eeprom-20240305-000001Z.bin");
    CScratchFolder::WriteBytes(Folder() + "/notes.txt", {1});
    CScratchFolder::WriteBytes(Folder() + "/eeprom-20990101-000000.bin.old", {1});
    std::filesystem::create_directories(Folder() + "/older");

    std::vector<CBackupFile> backups;
    CFileError error;
    ASSERT_EQ(ListBackups(Folder().c_str(), &backups, &error), 1) << error.reason;
    std::vector<std::string> names;
    for (const CBackupFile& backup : backups) {
        names.push_back(backup.name);
        EXPECT_EQ(std::filesystem::path(backup.path),
                  std::filesystem::path(Folder()) / backup.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "eeprom-20240305-230000Z.bin", "eeprom-20240305-070809Z-2.bin",
                         "eeprom-20240305-070809Z.bin", "eeprom-20240305-000001Z.bin"}));
}

TEST_F(BackupStoreTest, AFolderNeverMadeHoldsNoBackups) {
    std::vector<CBackupFile> backups{CBackupFile{}};
    CFileError error;
    EXPECT_EQ(ListBackups(Folder().c_str(), &backups, &error), 1);
    EXPECT_TRUE(backups.empty());
}

}  // namespace
