// The file services over ANSI Win32 and the C runtime: only what Windows 98 SE has
// (no MoveFileEx, no ReplaceFile, no wide-character paths).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: io.h and stdlib.h then see the system's types.
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/PlatformFiles.h"

namespace {

// The system's texts end in ".\r\n"; the line end goes, the sentence stays as the system wrote
// it.
void TrimLineEnd(char* text) {
    std::size_t length = std::strlen(text);
    while (length > 0 &&
           (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) {
        text[--length] = '\0';
    }
}

}  // namespace

int FailWith(CFileError* error, int code) {
    if (error == nullptr) {
        return 0;
    }
    error->code = code;
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                         error->reason, FILE_ERROR_REASON_SIZE, nullptr);
    if (length == 0) {
        std::snprintf(error->reason, FILE_ERROR_REASON_SIZE, "error %d", code);  // no system text
    }
    TrimLineEnd(error->reason);
    return 0;
}

int FailWithLastError(CFileError* error) {
    DWORD code = ::GetLastError();
    if (code == ERROR_SUCCESS) {
        // The C runtime keeps the system's code of its own failures here.
        code = static_cast<DWORD>(_doserrno);
    }
    return FailWith(error, code != ERROR_SUCCESS ? static_cast<int>(code) : ERROR_WRITE_FAULT);
}

int NameTakenError() {
    return ERROR_ALREADY_EXISTS;
}

int PathTooLongError() {
    return ERROR_FILENAME_EXCED_RANGE;
}

int NoFolderError() {
    return ERROR_PATH_NOT_FOUND;
}

bool IsNameTaken(const CFileError& error) {
    return error.code == ERROR_ALREADY_EXISTS || error.code == ERROR_FILE_EXISTS;
}

char PathSeparator() {
    return '\\';
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

const char* HomeFolder() {
    return nullptr;  // %APPDATA% and the program's folder are where Windows keeps a user's files
}

int MakeOneFolder(const char* path, CFileError* error) {
    if (::CreateDirectoryA(path, nullptr)) {
        return 1;
    }
    const DWORD made = ::GetLastError();
    if (IsFolder(path)) {
        return 1;  // there already, or made by another program meanwhile
    }
    return FailWith(error, made == ERROR_ALREADY_EXISTS ? ERROR_DIRECTORY : made);
}

std::FILE* OpenTemporaryFile(const char* folder, char* path, std::size_t size, CFileError* error) {
    char name[MAX_PATH];
    // The system makes the file, empty, under a name of its own ("vymXXXX.tmp"), so no two
    // programs get the same one; no listing takes it for a backup.
    if (::GetTempFileNameA(folder, "vym", 0, name) == 0) {
        FailWithLastError(error);
        return nullptr;
    }
    if (std::strlen(name) >= size) {
        ::DeleteFileA(name);
        FailWith(error, ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    std::strcpy(path, name);
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        FailWithLastError(error);
        ::DeleteFileA(path);
        path[0] = '\0';
    }
    return file;
}

int FlushToDisk(std::FILE* file, CFileError* error) {
    if (std::fflush(file) != 0) {
        return FailWithLastError(error);
    }
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE || !::FlushFileBuffers(handle)) {
        return FailWithLastError(error);
    }
    return 1;
}

int MoveWithoutReplacing(const char* from, const char* to, CFileError* error) {
    // MoveFileA never replaces a file. Windows 9x may say so with another code than NT, so an
    // existing name is recognised by looking.
    if (::MoveFileA(from, to)) {
        return 1;
    }
    const DWORD moved = ::GetLastError();
    if (::GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES) {
        return FailWith(error, ERROR_ALREADY_EXISTS);
    }
    return FailWith(error, static_cast<int>(moved));
}

int MoveReplacing(const char* from, const char* to, CFileError* error) {
    if (::MoveFileA(from, to)) {
        return 1;
    }
    // Without MoveFileEx the old file must go first; between the two steps neither name holds
    // it, but the new one is complete under the temporary name until the move.
    if (::GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES && !::DeleteFileA(to)) {
        return FailWithLastError(error);
    }
    if (!::MoveFileA(from, to)) {
        return FailWithLastError(error);
    }
    return 1;
}

void SyncFolder(const char* /*folder*/) {
    // The system writes a folder's names with the files' own flushes.
}

void RemoveFile(const char* path) {
    ::DeleteFileA(path);
}

std::FILE* OpenRegularFileForReading(const char* path, bool* notAFile, CFileError* error) {
    *notAFile = false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        FailWithLastError(error);
        return nullptr;
    }
    // A device name (CON, a pipe) opens as well as a file does; only a disk file is an image.
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE || ::GetFileType(handle) != FILE_TYPE_DISK) {
        *notAFile = true;
        std::fclose(file);
        return nullptr;
    }
    return file;
}

int ListFolder(const char* folder, void (*visit)(const char* name, void* context), void* context,
               CFileError* error) {
    char pattern[MAX_PATH + 2];
    const std::size_t length = std::strlen(folder);
    if (length + 3 > sizeof pattern) {
        return FailWith(error, ERROR_FILENAME_EXCED_RANGE);
    }
    std::memcpy(pattern, folder, length);
    std::memcpy(pattern + length, "\\*", 3);
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return FailWithLastError(error);
    }
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) {
            visit(found.cFileName, context);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return 1;
}

bool IsFolder(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int KindOfPath(const char* path, FileKind* kind, CFileError* error) {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *kind = FileKind::Nothing;
        const DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? 1 : FailWith(error, static_cast<int>(code));
    }
    // A link of any kind is a reparse point (junction, symbolic link; never set on Windows 98).
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        *kind = FileKind::Folder;
    } else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        *kind = FileKind::Link;
    } else if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        *kind = FileKind::Other;
    } else {
        *kind = FileKind::Regular;
    }
    return 1;
}

int NotARegularFileError(FileKind kind) {
    return kind == FileKind::Folder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED;
}

int ProgramFolder(char* folder, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const DWORD length = ::GetModuleFileNameA(nullptr, folder, static_cast<DWORD>(size));
    if (length == 0 || length >= size) {
        folder[0] = '\0';
        return 0;
    }
    char* last = std::strrchr(folder, '\\');
    if (last == nullptr) {
        folder[0] = '\0';
        return 0;
    }
    *last = '\0';
    return 1;
}
