#include "driver/EepromFileLocation.h"

#include "driver/WindowsErrorFromErrno.h"
#include "files/CompleteFile.h"
#include "files/Folders.h"
#include "files/PlatformFiles.h"
#include "pnp/FactoryImage.h"

int DefaultEepromFilePath(std::string* path, DWORD* error) {
    char chosen[FILE_PATH_SIZE];
    CFileError fileError;
    if (ChooseUserFolder(NonEmptyVariable("XDG_DATA_HOME"), HomeFolder(), ".local/share", "vymcnf",
                         "eeprom.bin", chosen, sizeof chosen, &fileError) == 0) {
        *error = fileError.code == PathTooLongError() ? ERROR_FILENAME_EXCED_RANGE
                                                      : ERROR_PATH_NOT_FOUND;
        return 0;
    }
    *path = chosen;
    return 1;
}

int CreateEepromFileIfAbsent(const std::string& path, DWORD* error) {
    if (PathExists(path.c_str())) {
        return 1;  // the user's card: never replaced, whatever it holds
    }
    char folder[FILE_PATH_SIZE];
    if (FolderOfPath(path.c_str(), folder, sizeof folder) == 0) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    CFileError fileError;
    if (MakeFolders(folder, &fileError) == 0) {
        *error = WindowsErrorFromErrno(fileError.code, ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const std::array<std::uint8_t, EEPROM_SIZE>& image = FactoryImage();
    // Never replacing: if another process put a file there first, theirs stays.
    if (SaveCompleteFile(path.c_str(), image.data(), image.size(), false, &fileError) == 0 &&
        !IsNameTaken(fileError)) {
        *error = WindowsErrorFromErrno(fileError.code, ERROR_WRITE_FAULT);
        return 0;
    }
    return 1;
}

int LocateEepromFile(std::string* path, DWORD* error, DefaultCardFile use) {
    if (const char* named = NamedCardFile()) {
        *path = named;  // a file the user chose: used as it is, never created
        return 1;
    }
    if (!DefaultEepromFilePath(path, error)) {
        return 0;
    }
    return use == DefaultCardFile::NameOnly ? 1 : CreateEepromFileIfAbsent(*path, error);
}
