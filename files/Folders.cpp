#include "files/Folders.h"

#include <cstdlib>
#include <cstring>

#include "files/PlatformFiles.h"

namespace {

bool IsSet(const char* text) {
    return text != nullptr && text[0] != '\0';
}

// Where the folders below folder's root begin: after "/", "C:\" or "\\server\share\".
std::size_t RootLength(const char* folder) {
#ifdef _WIN32
    if (IsPathSeparator(folder[0]) && IsPathSeparator(folder[1])) {
        std::size_t at = 2;
        for (int part = 0; part < 2 && folder[at] != '\0'; ++part) {
            while (folder[at] != '\0' && !IsPathSeparator(folder[at])) {
                ++at;
            }
            if (folder[at] != '\0') {
                ++at;
            }
        }
        return at;
    }
    if (folder[0] != '\0' && folder[1] == ':') {
        return IsPathSeparator(folder[2]) ? 3 : 2;
    }
#endif
    return IsPathSeparator(folder[0]) ? 1 : 0;
}

}  // namespace

const char* NonEmptyVariable(const char* name) {
    const char* value = std::getenv(name);
    return IsSet(value) ? value : nullptr;
}

int JoinPath(char* path, std::size_t size, char separator, const char* first, const char* second,
             const char* third) {
    std::size_t length = 0;
    const char* parts[] = {first, second, third};
    for (const char* part : parts) {
        if (part == nullptr) {
            continue;
        }
        std::size_t partLength = std::strlen(part);
        if (length > 0) {
            if (path[length - 1] == separator || path[length - 1] == '/') {
                --length;
            }
            if (length + 1 >= size) {
                return 0;
            }
            path[length++] = separator;
        }
        if (length + partLength >= size) {
            return 0;
        }
        std::memcpy(path + length, part, partLength);
        length += partLength;
    }
    path[length] = '\0';
    return 1;
}

int ChooseUserFolder(const char* xdgHome, const char* home, const char* homeDefault,
                     const char* app, const char* below, char* folder, std::size_t size,
                     CFileError* error) {
    if (size == 0) {
        return FailWith(error, PathTooLongError());
    }
    folder[0] = '\0';
    char base[FILE_PATH_SIZE];
    // A relative XDG_..._HOME is invalid and is ignored, as the base directory rules say.
    if (IsSet(xdgHome) && xdgHome[0] == '/') {
        if (JoinPath(base, sizeof base, '/', xdgHome, app) == 0) {
            return FailWith(error, PathTooLongError());
        }
    } else if (IsSet(home)) {
        if (JoinPath(base, sizeof base, '/', home, homeDefault, app) == 0) {
            return FailWith(error, PathTooLongError());
        }
    } else {
        return FailWith(error, NoFolderError());
    }
    if (JoinPath(folder, size, '/', base, below) == 0) {
        folder[0] = '\0';
        return FailWith(error, PathTooLongError());
    }
    return 1;
}

int MakeFolders(const char* folder, CFileError* error) {
    char partial[FILE_PATH_SIZE];
    const std::size_t length = std::strlen(folder);
    if (length == 0 || length >= sizeof partial) {
        return FailWith(error, length == 0 ? NoFolderError() : PathTooLongError());
    }
    std::memcpy(partial, folder, length + 1);
    // Each level in turn, top down: the systems this runs on make one folder per call.
    for (std::size_t at = RootLength(folder); at <= length; ++at) {
        if (at < length && !IsPathSeparator(folder[at])) {
            continue;
        }
        if (at > 0 && !IsPathSeparator(folder[at - 1])) {
            partial[at] = '\0';
            if (MakeOneFolder(partial, error) == 0) {
                return 0;
            }
            partial[at] = folder[at];
        }
    }
    return 1;
}
