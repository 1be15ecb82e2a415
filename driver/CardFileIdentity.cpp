#include "driver/CardFileIdentity.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "driver/EepromFileLocation.h"
#endif

bool IsCardFile(const char* path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    // The card's file as the emulated card finds it, without making the default one.
    std::string card;
    const char* named = std::getenv(EEPROM_FILE_VARIABLE);
    DWORD error = 0;
    if (named != nullptr && named[0] != '\0') {
        card = named;
    } else if (DefaultEepromFilePath(&card, &error) == 0) {
        return false;
    }
    struct stat cardStatus;
    struct stat pathStatus;
    if (stat(card.c_str(), &cardStatus) != 0 || stat(path, &pathStatus) != 0) {
        return false;
    }
    return cardStatus.st_dev == pathStatus.st_dev && cardStatus.st_ino == pathStatus.st_ino;
#endif
}
