// Where backups go: the variable that names a folder, the Windows and the POSIX rules.
#include <gtest/gtest.h>

#include <string>

#include "backup/BackupFolder.h"
#include "testsupport/ScratchFolder.h"

namespace {

// The folder the rules give, or "(none: CODE)".
std::string Chosen(const CBackupFolderSources& sources, BackupFolderRules rules,
                   std::size_t size = BACKUP_PATH_SIZE) {
    char folder[BACKUP_PATH_SIZE] = "left over";
    CFileError error;
    if (ChooseBackupFolder(sources, rules, folder, size, &error) == 0) {
        EXPECT_STREQ(folder, "");
        EXPECT_STRNE(error.reason, "");
        return "(none: " + std::to_string(error.code) + ")";
    }
    return folder;
}

std::string NoFolder() {
    return "(none: " + std::to_string(NoFolderError()) + ")";
}

TEST(BackupFolderRules, TheVariableNamesTheFolderOnEverySystem) {
    CBackupFolderSources sources;
    sources.backupsVariable = "/srv/cards/backups";
    sources.appData = "C:\\Users\\Ann\\AppData\\Roaming";
    sources.stateHome = "/home/ann/.state";
    sources.home = "/home/ann";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix), "/srv/cards/backups");
    sources.backupsVariable = "D:\\card backups";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Windows), "D:\\card backups");
}

TEST(BackupFolderRules, WindowsKeepsThemInTheUsersApplicationData) {
    CBackupFolderSources sources;
    sources.appData = "C:\\Users\\Ann\\AppData\\Roaming";
    sources.programFolder = "C:\\VYM";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Windows),
              "C:\\Users\\Ann\\AppData\\Roaming\\VYM Card Setup\\backups");
    sources.appData = "C:\\Profiles\\";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Windows), "C:\\Profiles\\VYM Card Setup\\backups");
    sources.backupsVariable = "";  // empty is unset
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Windows), "C:\\Profiles\\VYM Card Setup\\backups");
}

TEST(BackupFolderRules, WindowsWithoutApplicationDataKeepsThemBesideTheProgram) {
    CBackupFolderSources sources;
    sources.programFolder = "C:\\Program Files\\VYM";
    sources.appData = "";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Windows), "C:\\Program Files\\VYM\\backups");
    sources.programFolder = nullptr;
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Windows), NoFolder());
}

TEST(BackupFolderRules, ElsewhereTheyAreStateOfTheUser) {
    CBackupFolderSources sources;
    sources.stateHome = "/home/ann/.state";
    sources.home = "/home/ann";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix), "/home/ann/.state/vymcnf/backups");
    sources.stateHome = "/home/ann/.state/";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix), "/home/ann/.state/vymcnf/backups");
    sources.stateHome = nullptr;
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix), "/home/ann/.local/state/vymcnf/backups");
    sources.stateHome = "relative/state";  // not absolute: ignored
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix), "/home/ann/.local/state/vymcnf/backups");
    sources.home = nullptr;
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix), NoFolder());
}

TEST(BackupFolderRules, AFolderThatDoesNotFitIsNoFolder) {
    CBackupFolderSources sources;
    sources.home = "/home/ann";
    const std::string tooLong = "(none: " + std::to_string(PathTooLongError()) + ")";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix, 20), tooLong);
    const std::string fits = "/home/ann/.local/state/vymcnf/backups";
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix, fits.size() + 1), fits);
    EXPECT_EQ(Chosen(sources, BackupFolderRules::Posix, fits.size()), tooLong);
}

TEST(BackupFolderRules, TheRunningProgramReadsItsEnvironment) {
    CScratchFolder scratch;
    scratch.SetVariable(BACKUP_FOLDER_VARIABLE, scratch.In("chosen"));
    char folder[BACKUP_PATH_SIZE];
    CFileError error;
    ASSERT_EQ(BackupFolder(folder, sizeof folder, &error), 1) << error.reason;
    EXPECT_EQ(std::string(folder), scratch.In("chosen"));
#ifndef _WIN32
    scratch.SetVariable(BACKUP_FOLDER_VARIABLE, std::nullopt);
    scratch.SetVariable("XDG_STATE_HOME", scratch.In("state"));
    ASSERT_EQ(BackupFolder(folder, sizeof folder, &error), 1) << error.reason;
    EXPECT_EQ(std::string(folder), scratch.In("state") + "/vymcnf/backups");
    scratch.SetVariable("XDG_STATE_HOME", std::nullopt);
    scratch.SetVariable("HOME", scratch.In("home"));
    ASSERT_EQ(BackupFolder(folder, sizeof folder, &error), 1) << error.reason;
    EXPECT_EQ(std::string(folder), scratch.In("home") + "/.local/state/vymcnf/backups");
#else
    scratch.SetVariable(BACKUP_FOLDER_VARIABLE, std::nullopt);
    scratch.SetVariable("APPDATA", scratch.In("roaming"));
    ASSERT_EQ(BackupFolder(folder, sizeof folder, &error), 1) << error.reason;
    EXPECT_EQ(std::string(folder), scratch.In("roaming") + "\\VYM Card Setup\\backups");
#endif
}

}  // namespace
