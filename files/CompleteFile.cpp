#include "files/CompleteFile.h"

#include <cstdio>
#include <cstring>

#include "files/Folders.h"
#include "files/PlatformFiles.h"

int WriteTemporaryFile(const char* folder, const std::uint8_t* bytes, std::size_t count,
                       char* temporary, std::size_t size, CFileError* error) {
    std::FILE* file = OpenTemporaryFile(folder, temporary, size, error);
    if (file == nullptr) {
        return 0;
    }
    int written = 1;
    if (std::fwrite(bytes, 1, count, file) != count) {
        written = FailWithLastError(error);
    } else if (FlushToDisk(file, error) == 0) {
        written = 0;
    }
    // A close can still fail on some file systems: the bytes are not known to be there then.
    if (std::fclose(file) != 0 && written == 1) {
        written = FailWithLastError(error);
    }
    if (written == 0) {
        RemoveFile(temporary);
        temporary[0] = '\0';
    }
    return written;
}

int SaveCompleteFile(const char* path, const std::uint8_t* bytes, std::size_t count, bool replace,
                     CFileError* error) {
    char folder[FILE_PATH_SIZE];
    if (FolderOfPath(path, folder, sizeof folder) == 0) {
        return FailWith(error, PathTooLongError());
    }
    char temporary[FILE_PATH_SIZE];
    if (WriteTemporaryFile(folder, bytes, count, temporary, sizeof temporary, error) == 0) {
        return 0;
    }
    const int placed = replace ? MoveReplacing(temporary, path, error)
                               : MoveWithoutReplacing(temporary, path, error);
    if (placed == 0) {
        RemoveFile(temporary);
        return 0;
    }
    SyncFolder(folder);
    return 1;
}

int ReplaceRegularFile(const char* path, const std::uint8_t* bytes, std::size_t count,
                       CFileError* error) {
    if (IsRegularFileOrNothing(path, error) == 0) {
        return 0;
    }
    return SaveCompleteFile(path, bytes, count, true, error);
}

int FolderOfPath(const char* path, char* folder, std::size_t size) {
    std::size_t end = std::strlen(path);
    while (end > 0 && !IsPathSeparator(path[end - 1])
#ifdef _WIN32
           && path[end - 1] != ':'  // "C:card.bin" lies in the current folder of drive C
#endif
    ) {
        --end;
    }
    if (end == 0) {
        if (size < 2) {
            return 0;
        }
        folder[0] = '.';  // a bare name lies in the current folder
        folder[1] = '\0';
        return 1;
    }
    // "/card.bin" lies in "/", "dir/card.bin" in "dir", "C:\card.bin" in "C:\".
    std::size_t length = end;
    if (length > 1 && IsPathSeparator(path[length - 1]) && path[length - 2] != ':') {
        --length;
    }
    if (length >= size) {
        return 0;
    }
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    return 1;
}

int PathInFolder(const char* folder, const char* name, char* path, std::size_t size) {
    std::size_t folderLength = std::strlen(folder);
    while (folderLength > 1 && IsPathSeparator(folder[folderLength - 1])) {
        --folderLength;  // "backups/" and "backups" are the same folder
    }
    const std::size_t nameLength = std::strlen(name);
    const bool needsSeparator = folderLength > 0 && !IsPathSeparator(folder[folderLength - 1]);
    const std::size_t length = folderLength + (needsSeparator ? 1 : 0) + nameLength;
    if (length >= size) {
        return 0;
    }
    std::memcpy(path, folder, folderLength);
    if (needsSeparator) {
        path[folderLength] = PathSeparator();
    }
    std::memcpy(path + length - nameLength, name, nameLength + 1);
    return 1;
}
