#pragma once

#include <cstddef>

#include "files/FileError.h"
#include "files/Folders.h"

// Where backups of the card's EEPROM go. VYMCNF_BACKUPS names the folder when it is set;
// otherwise, on Windows, %APPDATA%\VYM Card Setup\backups, or a backups folder beside the
// program where there is no APPDATA (Windows 98); elsewhere $XDG_STATE_HOME/vymcnf/backups,
// ~/.local/state/vymcnf/backups when XDG_STATE_HOME is unset or not absolute.
constexpr const char* BACKUP_FOLDER_VARIABLE = "VYMCNF_BACKUPS";
constexpr int BACKUP_PATH_SIZE = FILE_PATH_SIZE;

// What the rules look at; an empty or null text counts as unset.
struct CBackupFolderSources {
    const char* backupsVariable = nullptr;  // VYMCNF_BACKUPS
    const char* appData = nullptr;          // Windows: %APPDATA%
    const char* programFolder = nullptr;    // Windows: the folder of the program
    const char* stateHome = nullptr;        // elsewhere: $XDG_STATE_HOME
    const char* home = nullptr;             // elsewhere: the home folder
};

enum class BackupFolderRules { Windows, Posix };

// The folder the rules give, in folder. 0 with error when they give none or it does not fit.
int ChooseBackupFolder(const CBackupFolderSources& sources, BackupFolderRules rules, char* folder,
                       std::size_t size, CFileError* error);

// The folder for this system and this user's environment.
int BackupFolder(char* folder, std::size_t size, CFileError* error);
