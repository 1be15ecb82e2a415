#include "driver/CardFileIdentity.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <string>

#include "driver/CardIdentity.h"
#endif

bool IsCardFile(const char* path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    // The card's file as the emulated card finds it (--card, VYMCNF_EEPROM, the user's own),
    // without making the default one.
    const std::string card = CardName();
    if (card.empty()) {
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
