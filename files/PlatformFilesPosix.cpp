// The file services over POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/PlatformFiles.h"

int FailWith(CFileError* error, int code) {
    if (error != nullptr) {
        error->code = code;
        // strerror's buffer is overwritten by the next call; the copy is ours.
        const char* text = std::strerror(code);
        std::strncpy(error->reason, text != nullptr ? text : "", FILE_ERROR_REASON_SIZE - 1);
        error->reason[FILE_ERROR_REASON_SIZE - 1] = '\0';
    }
    return 0;
}

int FailWithLastError(CFileError* error) {
    return FailWith(error, errno);
}

namespace {

FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    return S_ISLNK(mode) ? FileKind::Link : FileKind::Other;
}

}  // namespace

int NameTakenError() {
    return EEXIST;
}

int PathTooLongError() {
    return ENAMETOOLONG;
}

int NoFolderError() {
    return ENOENT;
}

bool IsNameTaken(const CFileError& error) {
    return error.code == EEXIST;
}

char PathSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

const char* HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] != '\0') {
        return entry->pw_dir;
    }
    return nullptr;
}

int MakeOneFolder(const char* path, CFileError* error) {
    if (mkdir(path, 0700) == 0) {
        return 1;
    }
    const int made = errno;
    if (made == EEXIST && IsFolder(path)) {
        return 1;
    }
    return FailWith(error, made == EEXIST ? ENOTDIR : made);
}

std::FILE* OpenTemporaryFile(const char* folder, char* path, std::size_t size, CFileError* error) {
    // A dot name that no listing takes for a backup, made unique by mkstemp.
    char name[] = "/.eeprom-XXXXXX";
    const std::size_t folderLength = std::strlen(folder);
    if (folderLength + sizeof name > size) {
        FailWith(error, ENAMETOOLONG);
        return nullptr;
    }
    std::memcpy(path, folder, folderLength);
    std::memcpy(path + folderLength, name, sizeof name);
    const int fd = mkostemp(path, O_CLOEXEC);
    if (fd < 0) {
        FailWithLastError(error);
        path[0] = '\0';
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        FailWithLastError(error);
        close(fd);
        unlink(path);
        path[0] = '\0';
    }
    return file;
}

int FlushToDisk(std::FILE* file, CFileError* error) {
    if (std::fflush(file) != 0 || fsync(fileno(file)) != 0) {
        return FailWithLastError(error);
    }
    return 1;
}

int MoveWithoutReplacing(const char* from, const char* to, CFileError* error) {
    // link() never replaces a file, so two programs saving at the same moment never take the
    // same name; the temporary name goes afterwards.
    if (link(from, to) == 0) {
        unlink(from);
        return 1;
    }
    const int linked = errno;
    if (linked == EEXIST) {
        return FailWith(error, EEXIST);
    }
    if (linked != EPERM && linked != ENOTSUP && linked != EOPNOTSUPP && linked != ENOSYS) {
        return FailWith(error, linked);
    }
#ifdef RENAME_NOREPLACE
    // A file system without hard links may still rename without replacing, in one step.
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 1;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP) {
        return FailWithLastError(error);  // EEXIST among them: the name is taken
    }
#endif
    // Neither: the name is claimed by creating it exclusively, then the complete file is
    // renamed over that empty claim of ours.
    const int claim = open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (claim < 0) {
        return FailWithLastError(error);
    }
    close(claim);
    if (rename(from, to) != 0) {
        const int renamed = errno;
        unlink(to);
        return FailWith(error, renamed);
    }
    return 1;
}

int MoveReplacing(const char* from, const char* to, CFileError* error) {
    if (rename(from, to) != 0) {
        return FailWithLastError(error);
    }
    return 1;
}

void SyncFolder(const char* folder) {
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

void RemoveFile(const char* path) {
    unlink(path);
}

std::FILE* OpenRegularFileForReading(const char* path, bool* notAFile, CFileError* error) {
    *notAFile = false;
    // Without O_NONBLOCK the open of a FIFO waits for a writer, and no signal handler that
    // lets calls restart can end that wait.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        FailWithLastError(error);
        return nullptr;
    }
    struct stat status;
    if (fstat(fd, &status) != 0) {
        FailWithLastError(error);
        close(fd);
        return nullptr;
    }
    if (KindOfMode(status.st_mode) != FileKind::Regular) {
        *notAFile = true;
        close(fd);
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        FailWithLastError(error);
        close(fd);
    }
    return file;
}

int ListFolder(const char* folder, void (*visit)(const char* name, void* context), void* context,
               CFileError* error) {
    DIR* entries = opendir(folder);
    if (entries == nullptr) {
        return FailWithLastError(error);
    }
    for (const dirent* entry = readdir(entries); entry != nullptr; entry = readdir(entries)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            visit(entry->d_name, context);
        }
    }
    closedir(entries);
    return 1;
}

bool IsFolder(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

int KindOfPath(const char* path, FileKind* kind, CFileError* error) {
    struct stat status;
    if (lstat(path, &status) != 0) {
        *kind = FileKind::Nothing;
        return errno == ENOENT ? 1 : FailWithLastError(error);
    }
    *kind = KindOfMode(status.st_mode);
    return 1;
}

int NotARegularFileError(FileKind kind) {
    return kind == FileKind::Link ? ELOOP : kind == FileKind::Folder ? EISDIR : EINVAL;
}

int ProgramFolder(char* folder, std::size_t size) {
    if (size > 0) {
        folder[0] = '\0';
    }
    return 0;  // backups beside the program are a Windows habit only
}
