#include "backup/BackupFolder.h"

#include <cstdlib>
#include <cstring>

#include "backup/PlatformFiles.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

bool IsSet(const char* text) {
    return text != nullptr && text[0] != '\0';
}

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return IsSet(value) ? value : nullptr;
}

// Joins parts with separator into folder; false when they do not fit.
bool Join(char* folder, std::size_t size, char separator, const char* first, const char* second,
          const char* third = nullptr) {
    std::size_t length = 0;
    const char* parts[] = {first, second, third};
    for (const char* part : parts) {
        if (part == nullptr) {
            continue;
        }
        std::size_t partLength = std::strlen(part);
        if (length > 0) {
            // "C:\Data\" and "/home/user/" end in a separator already.
            if (folder[length - 1] == separator || folder[length - 1] == '/') {
                --length;
            }
            if (length + 1 >= size) {
                return false;
            }
            folder[length++] = separator;
        }
        if (length + partLength >= size) {
            return false;
        }
        std::memcpy(folder + length, part, partLength);
        length += partLength;
    }
    folder[length] = '\0';
    return true;
}

int Fits(bool joined, char* folder, CFileError* error) {
    if (!joined) {
        folder[0] = '\0';
        return FailWith(error, PathTooLongError());
    }
    return 1;
}

// Where the folders below folder's root begin: after "/", "C:\" or "\\server\share\".
std::size_t RootLength(const char* folder) {
#ifdef _WIN32
    if (IsPathSeparator(folder[0]) && IsPathSeparator(folder[1])) {
        std::size_t at = 2;
        for (int part = 0; part < 2 && folder[at] != '\0'; ++part) {
            while (folder[at] != '\0' && !IsPathSeparator(folder[at])) {
                ++at;
            }
            if (folder[at] != '\0') {
                ++at;
            }
        }
        return at;
    }
    if (folder[0] != '\0' && folder[1] == ':') {
        return IsPathSeparator(folder[2]) ? 3 : 2;
    }
#endif
    return IsPathSeparator(folder[0]) ? 1 : 0;
}

}  // namespace

int ChooseBackupFolder(const CBackupFolderSources& sources, BackupFolderRules rules, char* folder,
                       std::size_t size, CFileError* error) {
    if (size == 0) {
        return FailWith(error, PathTooLongError());
    }
    folder[0] = '\0';
    if (IsSet(sources.backupsVariable)) {
        return Fits(Join(folder, size, '/', sources.backupsVariable, nullptr), folder, error);
    }
    if (rules == BackupFolderRules::Windows) {
        if (IsSet(sources.appData)) {
            return Fits(Join(folder, size, '\\', sources.appData, "VYM Card Setup", "backups"),
                        folder, error);
        }
        if (IsSet(sources.programFolder)) {
            return Fits(Join(folder, size, '\\', sources.programFolder, "backups"), folder, error);
        }
        return FailWith(error, NoFolderError());
    }
    // A relative XDG_STATE_HOME is invalid and is ignored, as the base directory rules say.
    if (IsSet(sources.stateHome) && sources.stateHome[0] == '/') {
        return Fits(Join(folder, size, '/', sources.stateHome, "vymcnf", "backups"), folder, error);
    }
    if (IsSet(sources.home)) {
        return Fits(Join(folder, size, '/', sources.home, ".local/state/vymcnf", "backups"), folder,
                    error);
    }
    return FailWith(error, NoFolderError());
}

int BackupFolder(char* folder, std::size_t size, CFileError* error) {
    CBackupFolderSources sources;
    sources.backupsVariable = Variable(BACKUP_FOLDER_VARIABLE);
#ifdef _WIN32
    sources.appData = Variable("APPDATA");
    char programFolder[BACKUP_PATH_SIZE];
    if (ProgramFolder(programFolder, sizeof programFolder) == 1) {
        sources.programFolder = programFolder;
    }
    return ChooseBackupFolder(sources, BackupFolderRules::Windows, folder, size, error);
#else
    sources.stateHome = Variable("XDG_STATE_HOME");
    sources.home = Variable("HOME");
    if (sources.home == nullptr) {
        const passwd* entry = getpwuid(getuid());
        if (entry != nullptr && IsSet(entry->pw_dir)) {
            sources.home = entry->pw_dir;
        }
    }
    return ChooseBackupFolder(sources, BackupFolderRules::Posix, folder, size, error);
#endif
}

int MakeFolders(const char* folder, CFileError* error) {
    char partial[BACKUP_PATH_SIZE];
    const std::size_t length = std::strlen(folder);
    if (length == 0 || length >= sizeof partial) {
        return FailWith(error, length == 0 ? NoFolderError() : PathTooLongError());
    }
    std::memcpy(partial, folder, length + 1);
    // Each level in turn, top down: the systems this runs on make one folder per call.
    for (std::size_t at = RootLength(folder); at <= length; ++at) {
        if (at < length && !IsPathSeparator(folder[at])) {
            continue;
        }
        if (at > 0 && !IsPathSeparator(folder[at - 1])) {
            partial[at] = '\0';
            if (MakeOneFolder(partial, error) == 0) {
                return 0;
            }
            partial[at] = folder[at];
        }
    }
    return 1;
}
