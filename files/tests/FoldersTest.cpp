// Folders of a user's files by the base directory rules, paths joined, and folders made one
// level at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/Folders.h"
#include "files/PlatformFiles.h"
#include "testsupport/ScratchFolder.h"

namespace {

// The folder the rules give for a user's data, or "(none: CODE)".
std::string UserData(const char* xdgHome, const char* home, std::size_t size = FILE_PATH_SIZE) {
    char folder[FILE_PATH_SIZE] = "left over";
    CFileError error;
    if (ChooseUserFolder(xdgHome, home, ".local/share", "vymcnf", "eeprom.bin", folder, size,
                         &error) == 0) {
        EXPECT_STREQ(folder, "");
        EXPECT_STRNE(error.reason, "");
        return "(none: " + std::to_string(error.code) + ")";
    }
    return folder;
}

TEST(UserFolders, AnAbsoluteXdgFolderWinsOverTheHomeFolder) {
    EXPECT_EQ(UserData("/srv/data", "/home/ann"), "/srv/data/vymcnf/eeprom.bin");
    EXPECT_EQ(UserData("/srv/data/", "/home/ann"), "/srv/data/vymcnf/eeprom.bin");
    EXPECT_EQ(UserData("/", "/home/ann"), "/vymcnf/eeprom.bin");
}

TEST(UserFolders, WithoutAValidXdgFolderTheHomeFoldersDefaultHoldsThem) {
    EXPECT_EQ(UserData(nullptr, "/home/ann"), "/home/ann/.local/share/vymcnf/eeprom.bin");
    EXPECT_EQ(UserData("", "/home/ann/"), "/home/ann/.local/share/vymcnf/eeprom.bin");
    EXPECT_EQ(UserData("relative/data", "/home/ann"), "/home/ann/.local/share/vymcnf/eeprom.bin");
}

TEST(UserFolders, NeitherFolderKnownOrNoRoomIsNoFolder) {
    const std::string noFolder = "(none: " + std::to_string(NoFolderError()) + ")";
    const std::string tooLong = "(none: " + std::to_string(PathTooLongError()) + ")";
    EXPECT_EQ(UserData(nullptr, nullptr), noFolder);
    EXPECT_EQ(UserData("relative/data", ""), noFolder);
    const std::string fits = "/home/ann/.local/share/vymcnf/eeprom.bin";
    EXPECT_EQ(UserData(nullptr, "/home/ann", fits.size() + 1), fits);
    EXPECT_EQ(UserData(nullptr, "/home/ann", fits.size()), tooLong);
    const std::string longHome(FILE_PATH_SIZE, 'h');
    EXPECT_EQ(UserData(nullptr, ("/" + longHome).c_str()), tooLong);
}

TEST(JoinedPaths, OneSeparatorBetweenPartsAndNoRoomIsAFailure) {
    char path[24];
    ASSERT_EQ(JoinPath(path, sizeof path, '\\', "C:\\Data\\", "VYM", "backups"), 1);
    EXPECT_STREQ(path, "C:\\Data\\VYM\\backups");
    ASSERT_EQ(JoinPath(path, sizeof path, '/', "/home/ann", nullptr), 1);
    EXPECT_STREQ(path, "/home/ann");
    EXPECT_EQ(JoinPath(path, sizeof path, '/', "/home/ann", "a-name-too-long"), 0);
    EXPECT_EQ(JoinPath(path, 10, '/', "/home/ann", nullptr), 1);
    EXPECT_EQ(JoinPath(path, 9, '/', "/home/ann", nullptr), 0);
}

TEST(Variables, AnEmptyVariableCountsAsUnset) {
    CScratchFolder scratch;
    scratch.SetVariable("VYM_FILES_TEST", "");
    EXPECT_EQ(NonEmptyVariable("VYM_FILES_TEST"), nullptr);
    scratch.SetVariable("VYM_FILES_TEST", std::nullopt);
    EXPECT_EQ(NonEmptyVariable("VYM_FILES_TEST"), nullptr);
    scratch.SetVariable("VYM_FILES_TEST", "x");
    EXPECT_STREQ(NonEmptyVariable("VYM_FILES_TEST"), "x");
}

#ifndef _WIN32
TEST(Variables, TheHomeFolderIsHomeElseTheUserDatabases) {
    CScratchFolder scratch;
    scratch.SetVariable("HOME", "/home/ann");
    EXPECT_STREQ(HomeFolder(), "/home/ann");
    scratch.SetVariable("HOME", "");
    const char* fromDatabase = HomeFolder();
    ASSERT_NE(fromDatabase, nullptr);  // every account the tests run under has one
    EXPECT_STRNE(fromDatabase, "");
}
#endif

TEST(FolderMaking, EveryMissingLevelIsMadeAndOnesThereAreKept) {
    CScratchFolder scratch;
    const std::string folder = (scratch.Path() / "a" / "b" / "c").string();
    CFileError error;
    ASSERT_EQ(MakeFolders(folder.c_str(), &error), 1) << error.reason;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    CScratchFolder::WriteBytes(scratch.In("a/b/kept.bin"), {1, 2, 3});
    ASSERT_EQ(MakeFolders(folder.c_str(), &error), 1) << error.reason;
    EXPECT_EQ(FileBytes(scratch.In("a/b/kept.bin")), (std::vector<std::uint8_t>{1, 2, 3}));
    const std::string trailing = (scratch.Path() / "d" / "e").string() + "/";
    ASSERT_EQ(MakeFolders(trailing.c_str(), &error), 1) << error.reason;
    EXPECT_TRUE(std::filesystem::is_directory(scratch.Path() / "d" / "e"));
}

TEST(FolderMaking, AFileInTheWayIsAFailureWithTheSystemsReason) {
    CScratchFolder scratch;
    CScratchFolder::WriteBytes(scratch.In("file"), {0});
    const std::string below = (scratch.Path() / "file" / "backups").string();
    CFileError error;
    EXPECT_EQ(MakeFolders(below.c_str(), &error), 0);
    EXPECT_NE(error.code, 0);
    EXPECT_STRNE(error.reason, "");
    const std::string same = scratch.In("file");
    EXPECT_EQ(MakeFolders(same.c_str(), &error), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(same));
}

}  // namespace
