// The emulated card's file and services on Windows, through the Kernel32 calls that Windows 95
// already had (the 32-bit build runs on 98 SE): one CreateFileA with the card's share mode,
// SetFilePointer with a 32-bit offset, ReadFile and WriteFile.
#include <windows.h>

#include "driver/CardFileChoice.h"
#include "driver/EmulatedCardFile.h"
#include "driver/Kernel32DeviceApi.h"
#include "protocol/CnfProtocol.h"

namespace {

HANDLE FileHandle(CardFileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

int Fail(DWORD* error, DWORD fallback) {
    const DWORD code = ::GetLastError();
    *error = code != ERROR_SUCCESS ? code : fallback;
    return 0;
}

int SeekTo(HANDLE file, unsigned address, DWORD* error, DWORD fallback) {
    ::SetLastError(ERROR_SUCCESS);
    // 0xFFFFFFFF is also a valid position; only with an error set is it a failure.
    if (::SetFilePointer(file, static_cast<LONG>(address), nullptr, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        ::GetLastError() != ERROR_SUCCESS) {
        return Fail(error, fallback);
    }
    return 1;
}

}  // namespace

// The file the user named; else the one VYMCNF_EEPROM names, as on every other system. There
// is no default card on Windows: without a file the card is the configuration driver.
int LocateCardFile(std::string* path, DWORD* error) {
    const char* named = NamedCardFile();
    if (named == nullptr) {
        *error = ERROR_FILE_NOT_FOUND;
        return 0;
    }
    *path = named;
    return 1;
}

int OpenCardFile(const char* path, bool canRead, bool canWrite, bool exclusive,
                 CardFileHandle* file, CCardFileFacts* facts, DWORD* error) {
    DWORD access = 0;
    if (canRead) {
        access |= GENERIC_READ;
    }
    if (canWrite) {
        access |= GENERIC_WRITE;
    }
    if (access == 0) {
        access = GENERIC_READ;  // a handle that only asks about the device, as on POSIX
    }
    // The system's sharing does what flock does elsewhere: a second open of the card is refused
    // with ERROR_SHARING_VIOLATION, a read-only file asked for writing with ERROR_ACCESS_DENIED.
    // Other programs may still read the file (a viewer, a copy), as the driver lets them and
    // as flock, being advisory, does; they cannot change it while the card is open.
    const DWORD share = exclusive ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE opened =
        ::CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    facts->readOnly = false;
    // A file that may be read but not written (read-only media, a read-only file) is still
    // opened, for reading, so that it can be looked at; its writes are refused by the handle.
    if (opened == INVALID_HANDLE_VALUE && canRead && canWrite) {
        const DWORD refused = ::GetLastError();
        if (refused == ERROR_ACCESS_DENIED || refused == ERROR_WRITE_PROTECT) {
            opened = ::CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            facts->readOnly = opened != INVALID_HANDLE_VALUE;
            if (opened == INVALID_HANDLE_VALUE) {
                ::SetLastError(refused);
            }
        }
    }
    if (opened == INVALID_HANDLE_VALUE) {
        return Fail(error, ERROR_OPEN_FAILED);
    }
    DWORD sizeHigh = 0;
    ::SetLastError(ERROR_SUCCESS);
    const DWORD sizeLow = ::GetFileSize(opened, &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && ::GetLastError() != ERROR_SUCCESS) {
        const int failed = Fail(error, ERROR_OPEN_FAILED);
        ::CloseHandle(opened);
        return failed;
    }
    facts->regular = ::GetFileType(opened) == FILE_TYPE_DISK;
    facts->size = (static_cast<long long>(sizeHigh) << 32) | sizeLow;
    *file = reinterpret_cast<CardFileHandle>(opened);
    return 1;
}

// No program may delete or rename the file while the card holds it (its share mode never allows
// that), so what can still change is its size.
DWORD CardFileChange(CardFileHandle file, const char* /*path*/, const CCardFileFacts& /*opened*/) {
    DWORD sizeHigh = 0;
    ::SetLastError(ERROR_SUCCESS);
    const DWORD sizeLow = ::GetFileSize(FileHandle(file), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && ::GetLastError() != ERROR_SUCCESS) {
        return ::GetLastError();
    }
    return sizeHigh != 0 || sizeLow != CNF_EEPROM_SIZE ? ERROR_FILE_INVALID : ERROR_SUCCESS;
}

int ReadCardFileByte(CardFileHandle file, unsigned address, std::uint8_t* value, DWORD* error) {
    if (!SeekTo(FileHandle(file), address, error, ERROR_READ_FAULT)) {
        return 0;
    }
    DWORD got = 0;
    if (!::ReadFile(FileHandle(file), value, 1, &got, nullptr)) {
        return Fail(error, ERROR_READ_FAULT);
    }
    if (got != 1) {
        *error = ERROR_READ_FAULT;
        return 0;
    }
    return 1;
}

// WriteFile hands the byte to the system's cache, which writes it out whatever becomes of the
// process; no flush per byte, as on POSIX.
int WriteCardFileByte(CardFileHandle file, unsigned address, std::uint8_t value, DWORD* error) {
    if (!SeekTo(FileHandle(file), address, error, ERROR_WRITE_FAULT)) {
        return 0;
    }
    DWORD put = 0;
    if (!::WriteFile(FileHandle(file), &value, 1, &put, nullptr)) {
        return Fail(error, ERROR_WRITE_FAULT);
    }
    if (put != 1) {
        *error = ERROR_WRITE_FAULT;
        return 0;
    }
    return 1;
}

void CloseCardFile(CardFileHandle file) {
    ::CloseHandle(FileHandle(file));
}

// The system keeps the last error per thread; the card's go there, so that a wrapper asking
// the system directly sees the same code.
void SetCardLastError(DWORD code) {
    ::SetLastError(code);
}

DWORD CardLastError() {
    return ::GetLastError();
}

DWORD CardFormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments) {
    return Kernel32DeviceApi().FormatMessageA(flags, source, messageId, languageId, buffer, size,
                                              arguments);
}

HLOCAL CardLocalFree(HLOCAL memory) {
    return Kernel32DeviceApi().LocalFree(memory);
}

void CardPause(DWORD milliseconds) {
    Kernel32DeviceApi().Sleep(milliseconds);
}

// The Windows programs touch the card from their one thread (the 32-bit build has no others),
// so the table needs no lock there.
CCardTableLock::CCardTableLock() = default;
CCardTableLock::~CCardTableLock() = default;
