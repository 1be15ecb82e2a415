#include "backup/RestoreCommand.h"

#include <cstring>

namespace {

bool NeedsEscape(char c) {
#ifdef _WIN32
    (void)c;
    return false;  // the command prompt takes everything between the quotes as it stands
#else
    return c == '$' || c == '`' || c == '"' || c == '\\';
#endif
}

}  // namespace

const char* RestoreCommand(const char* backupPath, char* out, std::size_t size, bool force) {
    if (out == nullptr || size == 0) {
        return out;
    }
    std::size_t length = 0;
    const auto put = [&](char c) {
        if (length + 1 < size) {
            out[length++] = c;
        }
    };
    for (const char* c = force ? "vymcnf write --force \"" : "vymcnf write \""; *c != '\0'; ++c) {
        put(*c);
    }
    for (const char* c = backupPath; c != nullptr && *c != '\0'; ++c) {
        if (NeedsEscape(*c)) {
            put('\\');
        }
        put(*c);
    }
    put('"');
    out[length] = '\0';
    return out;
}
