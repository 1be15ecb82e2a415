#include "cli/BackupLookup.h"

#include <cstdio>

#include "backup/BackupFolder.h"

namespace {

bool CanOpen(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

bool HoldsFolder(const std::string& name) {
#ifdef _WIN32
    return name.find_first_of("/\\:") != std::string::npos;
#else
    return name.find('/') != std::string::npos;
#endif
}

}  // namespace

std::string FindImageFile(const std::string& given) {
    if (given.empty() || HoldsFolder(given) || CanOpen(given)) {
        return given;
    }
    char folder[BACKUP_PATH_SIZE];
    CFileError error;
    if (BackupFolder(folder, sizeof folder, &error) == 0) {
        return given;
    }
#ifdef _WIN32
    const std::string backup = std::string(folder) + "\\" + given;
#else
    const std::string backup = std::string(folder) + "/" + given;
#endif
    return CanOpen(backup) ? backup : given;
}
