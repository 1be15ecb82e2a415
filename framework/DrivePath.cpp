#include "framework/DrivePath.h"

#include <cstdlib>
#include <cstring>

#include "framework/Host.h"

namespace {

bool Append(char* buffer, std::size_t size, std::size_t& length, const char* text,
            std::size_t count) {
    if (length + count >= size) {
        return false;
    }
    std::memcpy(buffer + length, text, count);
    length += count;
    buffer[length] = '\0';
    return true;
}

#ifndef _WIN32
// The mapping onto the emulated drive takes paths apart; on Windows the path is the system's
// to resolve, so none of this is needed there.
bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// A path component ".." (the drive's root has no parent to climb to).
bool ClimbsOut(const char* path) {
    const char* component = path;
    for (const char* p = path;; ++p) {
        if (*p == '\0' || IsSeparator(*p)) {
            if (p - component == 2 && component[0] == '.' && component[1] == '.') {
                return true;
            }
            if (*p == '\0') {
                return false;
            }
            component = p + 1;
        }
    }
}
#endif

}  // namespace

int MapWindowsPath(const char* windowsPath, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    buffer[0] = '\0';
    if (windowsPath == nullptr) {
        return 0;
    }
#ifdef _WIN32
    std::size_t length = 0;
    return Append(buffer, size, length, windowsPath, std::strlen(windowsPath)) ? 1 : 0;
#else
    const char* rest = windowsPath;
    std::size_t length = 0;
    const bool hasDrive = rest[0] != '\0' && rest[1] == ':';
    const bool driveRooted = hasDrive || IsSeparator(rest[0]);  // "\x" is on the current drive
    if (driveRooted) {
        if (hasDrive && rest[0] != 'c' && rest[0] != 'C') {
            return 0;
        }
        if (hasDrive) {
            rest += 2;
        }
        if (ClimbsOut(rest)) {
            return 0;
        }
        const char* root = std::getenv("VYMCNF_DRIVE_C");
        if (root == nullptr || root[0] == '\0') {
            root = ".";
        }
        std::size_t rootLength = std::strlen(root);
        while (rootLength > 1 && root[rootLength - 1] == '/') {
            --rootLength;  // "dir/" and "dir" are the same folder
        }
        if (!Append(buffer, size, length, root, rootLength)) {
            buffer[0] = '\0';
            return 0;
        }
        while (IsSeparator(*rest)) {
            ++rest;
        }
        if (*rest != '\0' && !(rootLength == 1 && root[0] == '/') &&
            !Append(buffer, size, length, "/", 1)) {
            buffer[0] = '\0';
            return 0;
        }
    }
    for (; *rest != '\0'; ++rest) {
        const char c = IsSeparator(*rest) ? '/' : *rest;
        if (!Append(buffer, size, length, &c, 1)) {
            buffer[0] = '\0';
            return 0;
        }
    }
    return 1;
#endif
}

void AfxFileWritten(const char* nativePath, long size) {
    framework::CurrentHost().FileWritten(nativePath, size);
}
