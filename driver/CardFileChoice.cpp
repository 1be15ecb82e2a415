#include "driver/CardFileChoice.h"

#include <cstdio>
#include <cstring>

#include "files/Folders.h"
#include "pnp/IntelHex.h"

namespace {

const char* g_selectedFile = nullptr;

constexpr const char kLongOption[] = "--card";
constexpr const char kShortOption[] = "-c";

}  // namespace

int CardOptionAt(int argc, const char* const* argv, int at, const char** file) {
    if (at <= 0 || at >= argc || argv[at] == nullptr) {
        return 0;
    }
    const char* word = argv[at];
    if (std::strcmp(word, kLongOption) == 0 || std::strcmp(word, kShortOption) == 0) {
        if (at + 1 >= argc || argv[at + 1] == nullptr || argv[at + 1][0] == '\0') {
            return -1;
        }
        *file = argv[at + 1];
        return 2;
    }
    const std::size_t prefix = sizeof kLongOption - 1;
    if (std::strncmp(word, kLongOption, prefix) == 0 && word[prefix] == '=') {
        if (word[prefix + 1] == '\0') {
            return -1;
        }
        *file = word + prefix + 1;
        return 1;
    }
    return 0;
}

int CardFileArguments(int argc, const char* const* argv, const char** file, char* problem,
                      int problemSize) {
    const std::size_t size = static_cast<std::size_t>(problemSize);
    *file = nullptr;
    bool optionsEnded = false;
    for (int at = 1; at < argc; ++at) {
        const char* word = argv[at];
        const char* named = nullptr;
        int taken = 0;
        if (!optionsEnded) {
            if (std::strcmp(word, "--") == 0) {
                optionsEnded = true;
                continue;
            }
            taken = CardOptionAt(argc, argv, at, &named);
            if (taken < 0) {
                std::snprintf(problem, size, "%s", CARD_OPTION_WITHOUT_FILE);
                return 0;
            }
            if (taken == 0 && word[0] == '-' && word[1] != '\0') {
                std::snprintf(problem, size, "unknown option '%s'", word);
                return 0;
            }
        }
        if (taken == 0) {
            named = word;
            taken = 1;
        }
        if (*file != nullptr) {
            std::snprintf(problem, size, "only one card FILE can be given ('%s' and '%s')", *file,
                          named);
            return 0;
        }
        *file = named;
        at += taken - 1;
    }
    return 1;
}

int SelectCardFile(const char* file, char* problem, int problemSize) {
    if (file != nullptr && HasIntelHexExtension(file)) {
        // The card is the chip's bytes one for one; a HEX file would be rewritten byte by byte
        // as if it were that, and ruined. A raw copy is one command away.
        std::snprintf(problem, static_cast<std::size_t>(problemSize),
                      "%s is an Intel HEX file; the card must be a raw 2048-byte image. Convert "
                      "it first: vymcnf convert %s %.*s.bin",
                      file, file, static_cast<int>(std::strlen(file) - 4), file);
        return 0;
    }
    g_selectedFile = file;
    return 1;
}

const char* SelectedCardFile() {
    return g_selectedFile;
}

const char* NamedCardFile() {
    if (g_selectedFile != nullptr) {
        return g_selectedFile;  // named on the command line: wins over the environment
    }
    return NonEmptyVariable(EEPROM_FILE_VARIABLE);
}

const char* CardFileBaseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\' || *p == ':') {
            name = p + 1;
        }
    }
    return name;
}
