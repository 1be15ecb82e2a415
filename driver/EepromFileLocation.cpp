#include "driver/EepromFileLocation.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "driver/CardFileChoice.h"
#include "driver/WindowsErrorFromErrno.h"
#include "pnp/FactoryImage.h"

namespace {

const char* NonEmptyVariable(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && value[0] != '\0') ? value : nullptr;
}

std::string HomeFolder() {
    if (const char* home = NonEmptyVariable("HOME")) {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return std::string();
}

// mkdir -p; folders we make are the user's alone, as the base directory rules ask.
int MakeFolders(const std::string& folder, DWORD* error) {
    std::string partial;
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos) {
            end = folder.size();
        }
        partial = folder.substr(0, end);
        start = end + 1;
        if (partial.empty()) {
            continue;  // the root
        }
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            *error = WindowsErrorFromErrno(errno, ERROR_PATH_NOT_FOUND);
            return 0;
        }
    }
    struct stat status;
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        *error = ERROR_PATH_NOT_FOUND;
        return 0;
    }
    return 1;
}

int WriteAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t written = write(fd, bytes + done, count - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 0;
        }
        done += static_cast<std::size_t>(written);
    }
    return 1;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int DefaultEepromFilePath(std::string* path, DWORD* error) {
    std::string base;
    const char* dataHome = NonEmptyVariable("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        base = dataHome;
    } else {
        // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
        const std::string home = HomeFolder();
        if (home.empty()) {
            *error = ERROR_PATH_NOT_FOUND;
            return 0;
        }
        base = home + "/.local/share";
    }
    *path = base + "/vymcnf/eeprom.bin";
    return 1;
}

int CreateEepromFileIfAbsent(const std::string& path, DWORD* error) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0) {
        return 1;  // the user's card: never replaced, whatever it holds
    }
    const std::string folder = FolderOf(path);
    if (!MakeFolders(folder, error)) {
        return 0;
    }

    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = WindowsErrorFromErrno(errno, ERROR_WRITE_FAULT);
        return 0;
    }
    const std::array<std::uint8_t, EEPROM_SIZE>& image = FactoryImage();
    const bool written = WriteAll(fd, image.data(), image.size()) && fsync(fd) == 0;
    const int writeErrno = errno;
    close(fd);
    if (!written) {
        unlink(temporary.c_str());
        *error = WindowsErrorFromErrno(writeErrno, ERROR_WRITE_FAULT);
        return 0;
    }

    // link() never replaces: if another process put a file there first, theirs stays.
    int result = 1;
    if (link(temporary.c_str(), path.c_str()) != 0 && errno != EEXIST) {
        int placeErrno = errno;
#ifdef RENAME_NOREPLACE
        // Some file systems have no hard links; a rename that refuses to replace does the same.
        if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
            placeErrno = 0;
        } else if (errno == EEXIST) {
            placeErrno = 0;
        }
#endif
        if (placeErrno != 0) {
            *error = WindowsErrorFromErrno(placeErrno, ERROR_WRITE_FAULT);
            result = 0;
        }
    }
    unlink(temporary.c_str());  // harmless when the rename already took it

    // Make the new name itself durable, like the bytes it names.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return result;
}

int LocateEepromFile(std::string* path, DWORD* error) {
    if (const char* chosen = SelectedCardFile()) {
        *path = chosen;  // named on the command line: wins over the environment
        return 1;
    }
    if (const char* named = NonEmptyVariable(EEPROM_FILE_VARIABLE)) {
        *path = named;  // a file the user chose: used as it is, never created
        return 1;
    }
    if (!DefaultEepromFilePath(path, error)) {
        return 0;
    }
    return CreateEepromFileIfAbsent(*path, error);
}
