// What the program makes of a path's kind, the same on every system; PlatformFiles*.cpp tell
// the kind.
#include "files/PlatformFiles.h"

bool IsRegularFile(const char* path) {
    FileKind kind = FileKind::Nothing;
    return KindOfPath(path, &kind, nullptr) == 1 && kind == FileKind::Regular;
}

int IsRegularFileOrNothing(const char* path, CFileError* error) {
    FileKind kind = FileKind::Nothing;
    if (KindOfPath(path, &kind, error) == 0) {
        return 0;
    }
    if (kind == FileKind::Nothing || kind == FileKind::Regular) {
        return 1;
    }
    return FailWith(error, NotARegularFileError(kind));
}

bool PathExists(const char* path) {
    FileKind kind = FileKind::Nothing;
    return KindOfPath(path, &kind, nullptr) == 1 && kind != FileKind::Nothing;
}
