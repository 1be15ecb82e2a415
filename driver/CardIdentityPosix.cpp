// The emulated card is a file: its path names it, and the file itself tells why it could not
// be opened, in words a user can act on rather than a system text about "the data".
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/CardIdentity.h"
#include "driver/ConfigDriver.h"
#include "driver/EepromFileLocation.h"

namespace {

// The file the card opens, without making the per-user card: a name is wanted, not a card.
std::string CardFilePath() {
    std::string path;
    DWORD error = 0;
    return LocateEepromFile(&path, &error, DefaultCardFile::NameOnly) == 1 ? path : std::string();
}

std::string Trimmed(const char* text) {
    std::string result = text;
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.')) {
        result.pop_back();
    }
    return result;
}

const char* KindOfFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a pipe";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "a special file";
}

// Who holds the file, where the system tells it (Linux's /proc): "process 4711 (vymsetup)",
// or empty. Only processes this user may look into are seen; others stay unnamed.
std::string HolderOf(const struct stat& file) {
    DIR* processes = opendir("/proc");
    if (processes == nullptr) {
        return {};
    }
    const pid_t self = getpid();
    std::string holder;
    while (holder.empty()) {
        const dirent* entry = readdir(processes);
        if (entry == nullptr) {
            break;
        }
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == self) {
            continue;
        }
        const std::string fdFolder = std::string("/proc/") + entry->d_name + "/fd";
        DIR* descriptors = opendir(fdFolder.c_str());
        if (descriptors == nullptr) {
            continue;
        }
        while (const dirent* descriptor = readdir(descriptors)) {
            struct stat opened;
            const std::string link = fdFolder + "/" + descriptor->d_name;
            if (descriptor->d_name[0] != '.' && stat(link.c_str(), &opened) == 0 &&
                opened.st_dev == file.st_dev && opened.st_ino == file.st_ino) {
                holder = std::string("process ") + entry->d_name;
                break;
            }
        }
        closedir(descriptors);
        if (!holder.empty()) {
            const std::string commPath = std::string("/proc/") + entry->d_name + "/comm";
            if (std::FILE* comm = std::fopen(commPath.c_str(), "r")) {
                char name[64] = "";
                if (std::fgets(name, sizeof name, comm) != nullptr) {
                    const std::string trimmed = Trimmed(name);
                    if (!trimmed.empty()) {
                        holder += " (" + trimmed + ")";
                    }
                }
                std::fclose(comm);
            }
        }
    }
    closedir(processes);
    return holder;
}

}  // namespace

std::string CardName() {
    return CardFilePath();
}

std::string CardOpenProblem(DWORD error) {
    const std::string path = CardFilePath();
    char text[1024];
    const std::string systemText = Trimmed(SystemErrorText(error, text, sizeof text));
    if (path.empty()) {
        return "couldn't tell where the card's file is: " + systemText;
    }
    struct stat file;
    if (stat(path.c_str(), &file) != 0) {
        if (errno == ENOENT) {
            return path + " does not exist";
        }
        if (errno == EACCES) {
            return "you have no permission to reach " + path;
        }
        return path + ": " + systemText;
    }
    if (!S_ISREG(file.st_mode)) {
        return path + " is " + KindOfFile(file.st_mode) +
               ", not a regular file holding the card's EEPROM image";
    }
    if (file.st_size != CNF_EEPROM_SIZE) {
        return path + " is " + std::to_string(static_cast<long long>(file.st_size)) +
               (file.st_size == 1 ? " byte" : " bytes") +
               " long; a card's EEPROM image is exactly 2048 bytes";
    }
    if (error == ERROR_SHARING_VIOLATION) {
        const std::string holder = HolderOf(file);
        return path + " is in use by " + (holder.empty() ? "another program" : holder) +
               "; the card can be used by one program at a time";
    }
    if (error == ERROR_ACCESS_DENIED) {
        return "you have no permission to read " + path;
    }
    return path + ": " + systemText;
}

int CardFileIsReadOnly() {
    const std::string path = CardFilePath();
    if (path.empty() || access(path.c_str(), R_OK) != 0) {
        return 0;
    }
    if (access(path.c_str(), W_OK) == 0) {
        return 0;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS ? 1 : 0;
}
