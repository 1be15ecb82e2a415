// The store's file services over POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "backup/PlatformFiles.h"

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

CLocalTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CLocalTime time;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec;
    return time;
}

CCalendarTime CurrentUtcTime() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    CCalendarTime time;
    time.year = utc.tm_year + 1900;
    time.month = utc.tm_mon + 1;
    time.day = utc.tm_mday;
    time.hour = utc.tm_hour;
    time.minute = utc.tm_min;
    time.second = utc.tm_sec;
    return time;
}

std::int64_t LocalTimeToSystemTime(const CLocalTime& time) {
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;  // the zone's own rule for that date says whether it was summer time
    return static_cast<std::int64_t>(std::mktime(&local));
}

char PathSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

int MakeOneFolder(const char* path, CFileError* error) {
    // Folders we make hold the user's card images: the user's alone.
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
    // A file system without hard links: the name is claimed by creating it exclusively, then
    // the complete file is renamed over that empty claim of ours.
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
    if (!S_ISREG(status.st_mode)) {
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

bool IsRegularFile(const char* path) {
    struct stat status;
    return lstat(path, &status) == 0 && S_ISREG(status.st_mode);
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

int IsRegularFileOrNothing(const char* path, CFileError* error) {
    struct stat status;
    if (lstat(path, &status) != 0) {
        return errno == ENOENT ? 1 : FailWithLastError(error);
    }
    if (S_ISREG(status.st_mode)) {
        return 1;
    }
    return FailWith(error, S_ISLNK(status.st_mode)   ? ELOOP
                           : S_ISDIR(status.st_mode) ? EISDIR
                                                     : EINVAL);
}

int ProgramFolder(char* folder, std::size_t size) {
    if (size > 0) {
        folder[0] = '\0';
    }
    return 0;  // backups beside the program are a Windows habit only
}
