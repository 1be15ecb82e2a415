#include "backup/BackupFolder.h"

#include "files/Folders.h"
#include "files/PlatformFiles.h"

namespace {

int Fits(int joined, char* folder, CFileError* error) {
    if (joined == 0) {
        folder[0] = '\0';
        return FailWith(error, PathTooLongError());
    }
    return 1;
}

bool IsSet(const char* text) {
    return text != nullptr && text[0] != '\0';
}

}  // namespace

int ChooseBackupFolder(const CBackupFolderSources& sources, BackupFolderRules rules, char* folder,
                       std::size_t size, CFileError* error) {
    if (size == 0) {
        return FailWith(error, PathTooLongError());
    }
    folder[0] = '\0';
    if (IsSet(sources.backupsVariable)) {
        return Fits(JoinPath(folder, size, '/', sources.backupsVariable, nullptr), folder, error);
    }
    if (rules == BackupFolderRules::Windows) {
        if (IsSet(sources.appData)) {
            return Fits(JoinPath(folder, size, '\\', sources.appData, "VYM Card Setup", "backups"),
                        folder, error);
        }
        if (IsSet(sources.programFolder)) {
            return Fits(JoinPath(folder, size, '\\', sources.programFolder, "backups"), folder,
                        error);
        }
        return FailWith(error, NoFolderError());
    }
    return ChooseUserFolder(sources.stateHome, sources.home, ".local/state", "vymcnf", "backups",
                            folder, size, error);
}

int BackupFolder(char* folder, std::size_t size, CFileError* error) {
    CBackupFolderSources sources;
    sources.backupsVariable = NonEmptyVariable(BACKUP_FOLDER_VARIABLE);
#ifdef _WIN32
    sources.appData = NonEmptyVariable("APPDATA");
    char programFolder[BACKUP_PATH_SIZE];
    if (ProgramFolder(programFolder, sizeof programFolder) == 1) {
        sources.programFolder = programFolder;
    }
    return ChooseBackupFolder(sources, BackupFolderRules::Windows, folder, size, error);
#else
    sources.stateHome = NonEmptyVariable("XDG_STATE_HOME");
    sources.home = HomeFolder();
    return ChooseBackupFolder(sources, BackupFolderRules::Posix, folder, size, error);
#endif
}
