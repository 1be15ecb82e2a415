#pragma once

#include <cstdint>
#include <string>

#include "wintypes/WinTypes.h"

// What the emulated card (EmulatedCard.cpp, where its rules are) needs from the platform: the
// file under it, its last error, the error texts and the pause after a written byte. POSIX
// gives them in EmulatedCardFilePosix.cpp, Windows in EmulatedCardFileWin32.cpp.

// An open card file as the platform knows it: a descriptor or a file handle.
using CardFileHandle = std::intptr_t;

// What the card's rules look at before they take an opened file as the card.
struct CCardFileFacts {
    bool regular = false;  // a plain file, not a folder, device or pipe
    long long size = 0;
    bool readOnly = false;  // asked for writing too, but the file may only be read
    // Which file it is (POSIX: device and inode), for telling it from one put in its place.
    unsigned long long device = 0;
    unsigned long long inode = 0;
};

// The path of the file the card opens: the one the user chose, or the platform's default.
// 1 with path set; 0 with *error the Windows error the open reports.
int LocateCardFile(std::string* path, DWORD* error);

// Opens path for the access asked. exclusive keeps every other open out while this one lasts;
// otherwise other shared opens may join it, an exclusive one may not. A busy file is
// ERROR_SHARING_VIOLATION. A file that may be read but not written is opened for reading when
// both were asked (facts->readOnly), so that a dump on read-only media can still be looked at.
// 1 with *file and *facts; 0 with *error.
int OpenCardFile(const char* path, bool canRead, bool canWrite, bool exclusive,
                 CardFileHandle* file, CCardFileFacts* facts, DWORD* error);
// One byte at address; 1, or 0 with *error.
int ReadCardFileByte(CardFileHandle file, unsigned address, std::uint8_t* value, DWORD* error);
// One byte at address, handed to the system before it returns 1 (so it outlives the process);
// 0 with *error.
int WriteCardFileByte(CardFileHandle file, unsigned address, std::uint8_t value, DWORD* error);
void CloseCardFile(CardFileHandle file);

// ERROR_SUCCESS while file is still the 2048-byte file opened as path with facts; otherwise
// the error every request on it fails with from then on. A file truncated, grown, deleted or
// replaced by a rename is no card any more: writing on into it would end in success over bytes
// that no program reads again.
DWORD CardFileChange(CardFileHandle file, const char* path, const CCardFileFacts& opened);

// The calling thread's last error as the card's services report it.
void SetCardLastError(DWORD code);
DWORD CardLastError();

// The system's texts for error codes, and the release of the text's block.
DWORD CardFormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments);
HLOCAL CardLocalFree(HLOCAL memory);

// Returns no sooner than milliseconds after it was called.
void CardPause(DWORD milliseconds);

// Held while the table of open card handles is read or changed.
class CCardTableLock {
public:
    CCardTableLock();
    ~CCardTableLock();
    CCardTableLock(const CCardTableLock&) = delete;
    CCardTableLock& operator=(const CCardTableLock&) = delete;
};
