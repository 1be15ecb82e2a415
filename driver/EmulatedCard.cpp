#include "driver/EmulatedCard.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "driver/CardRequestRule.h"
#include "driver/ConfigDriver.h"
#include "driver/EmulatedCardFile.h"

namespace {

// Open card handles live in a small fixed table. A handle is a multiple of four above a base,
// like the system's, so it is never NULL nor INVALID_HANDLE_VALUE, and a value that is not in
// the table is refused instead of being taken for some other open file.
constexpr int kMaxHandles = 64;
constexpr std::uintptr_t kHandleBase = 0x5C40;

// Where the card's file was found, as it was named then; a request compares the file behind
// that name with the one the handle holds. Windows' ANSI file functions take no longer path.
#ifdef _WIN32
constexpr std::size_t kCardPathSize = MAX_PATH;
#else
constexpr std::size_t kCardPathSize = 4096;
#endif

// Every member starts as zero, so the table lies in zeroed memory and not in the program's
// image: 64 paths of initialised data would add a quarter of a megabyte to each 32-bit program.
struct CCardHandle {
    bool inUse = false;
    CardFileHandle file = 0;  // meaningful only while inUse
    bool canRead = false;
    bool canWrite = false;
    CCardFileFacts facts;  // the file as it was opened: read-only or not, which file it is
    char path[kCardPathSize] = "";
};

CCardHandle g_handles[kMaxHandles];

HANDLE HandleForSlot(int slot) {
    return reinterpret_cast<HANDLE>(kHandleBase + 4 * static_cast<std::uintptr_t>(slot));
}

// The slot of an open handle, or -1. Callers hold a CCardTableLock.
int SlotOfHandle(HANDLE device) {
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(device);
    if (value < kHandleBase || (value - kHandleBase) % 4 != 0) {
        return -1;
    }
    const std::uintptr_t slot = (value - kHandleBase) / 4;
    if (slot >= static_cast<std::uintptr_t>(kMaxHandles) || !g_handles[slot].inUse) {
        return -1;
    }
    return static_cast<int>(slot);
}

HANDLE FailCreate(DWORD error) {
    SetCardLastError(error);
    return INVALID_HANDLE_VALUE;
}

HANDLE CardCreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES /*securityAttributes*/, DWORD creationDisposition,
                       DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
    if (const DWORD notTheCard = CardNameError(fileName); notTheCard != ERROR_SUCCESS) {
        return FailCreate(notTheCard);
    }
    if (creationDisposition != OPEN_EXISTING && creationDisposition != OPEN_ALWAYS) {
        return FailCreate(ERROR_INVALID_PARAMETER);  // a device is opened, never made
    }

    const bool canRead = (desiredAccess & (GENERIC_READ | GENERIC_ALL)) != 0;
    const bool canWrite = (desiredAccess & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    std::string path;
    DWORD error = ERROR_SUCCESS;
    if (LocateCardFile(&path, &error) != 1) {
        return FailCreate(error);
    }

    if (path.size() >= kCardPathSize) {
        return FailCreate(ERROR_FILENAME_EXCED_RANGE);
    }
    // Share mode 0 asks for the card alone; any sharing lets other sharers in. The exclusion
    // belongs to this open, so it also keeps out a second open in the same process.
    CardFileHandle file = -1;
    CCardFileFacts facts;
    if (OpenCardFile(path.c_str(), canRead, canWrite, shareMode == 0, &file, &facts, &error) != 1) {
        return FailCreate(error);
    }
    if (const DWORD notACard = CardFileError(facts.regular, facts.size);
        notACard != ERROR_SUCCESS) {
        CloseCardFile(file);
        return FailCreate(notACard);
    }

    CCardTableLock guard;
    for (int slot = 0; slot < kMaxHandles; ++slot) {
        if (!g_handles[slot].inUse) {
            CCardHandle& card = g_handles[slot];
            card = CCardHandle{true, file, canRead, canWrite && !facts.readOnly, facts, ""};
            std::memcpy(card.path, path.c_str(), path.size() + 1);
            return HandleForSlot(slot);
        }
    }
    CloseCardFile(file);
    return FailCreate(ERROR_TOO_MANY_OPEN_FILES);
}

BOOL FailControl(DWORD error) {
    SetCardLastError(error);
    return FALSE;
}

// The card's byte behind a read the card serves: the same four bytes come back with the byte in
// the value position and the reserved byte 0 (in and out may be the same buffer).
BOOL ReadCardByte(const CCardHandle& card, LPVOID inBuffer, LPVOID outBuffer,
                  LPDWORD bytesReturned) {
    CNF_BYTE_REQUEST request;
    std::memcpy(&request, inBuffer, sizeof(request));
    std::uint8_t value = 0;
    DWORD error = ERROR_SUCCESS;
    if (ReadCardFileByte(card.file, CnfRequestAddress(&request), &value, &error) != 1) {
        return FailControl(error);
    }
    request.value = value;
    request.reserved = 0;
    std::memcpy(outBuffer, &request, sizeof(request));
    *bytesReturned = sizeof(request);
    return TRUE;
}

// The byte is handed to the system before we acknowledge it: from then on it is in the file
// whatever becomes of this process, as a written EEPROM cell keeps its value.
BOOL WriteCardByte(const CCardHandle& card, LPVOID inBuffer, LPDWORD bytesReturned) {
    CNF_BYTE_REQUEST request;
    std::memcpy(&request, inBuffer, sizeof(request));
    DWORD error = ERROR_SUCCESS;
    if (WriteCardFileByte(card.file, CnfRequestAddress(&request), request.value, &error) != 1) {
        return FailControl(error);
    }
    *bytesReturned = 0;
    return TRUE;
}

BOOL CardDeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) {
    CCardHandle card;
    {
        CCardTableLock guard;
        const int slot = SlotOfHandle(device);
        if (slot < 0) {
            return FailControl(ERROR_INVALID_HANDLE);
        }
        card = g_handles[slot];
    }
    // A synchronous call must have somewhere to put its count; the system would fault here.
    if (bytesReturned == nullptr && overlapped == nullptr) {
        return FailControl(ERROR_INVALID_PARAMETER);
    }
    DWORD ignoredCount = 0;
    if (bytesReturned == nullptr) {
        bytesReturned = &ignoredCount;
    }
    if (ioControlCode == IOCTL_CNF_READ_BYTE || ioControlCode == IOCTL_CNF_WRITE_BYTE) {
        const DWORD change = CardFileChange(card.file, card.path, card.facts);
        if (change != ERROR_SUCCESS) {
            return FailControl(change);
        }
    }
    const DWORD refusal = CardRequestError(ioControlCode, card.canRead, card.canWrite, inBuffer,
                                           inBufferSize, outBuffer, outBufferSize);
    if (refusal != ERROR_SUCCESS) {
        return FailControl(refusal);
    }
    return ioControlCode == IOCTL_CNF_READ_BYTE
               ? ReadCardByte(card, inBuffer, outBuffer, bytesReturned)
               : WriteCardByte(card, inBuffer, bytesReturned);
}

class CEmulatedCardApi final : public CDeviceApi {
public:
    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile) override {
        return CardCreateFileA(fileName, desiredAccess, shareMode, securityAttributes,
                               creationDisposition, flagsAndAttributes, templateFile);
    }
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) override {
        return CardDeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                                   outBufferSize, bytesReturned, overlapped);
    }
    DWORD GetLastError() override { return CardLastError(); }
    DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments) override {
        return CardFormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
    }
    HLOCAL LocalFree(HLOCAL memory) override { return CardLocalFree(memory); }
    void Sleep(DWORD milliseconds) override { CardPause(milliseconds); }
    BOOL IsReadOnlyCard(HANDLE device) override {
        CCardTableLock guard;
        const int slot = SlotOfHandle(device);
        return slot >= 0 && g_handles[slot].facts.readOnly ? TRUE : FALSE;
    }
};

}  // namespace

CDeviceApi& EmulatedCardApi() {
    static CEmulatedCardApi card;
    return card;
}

int CloseEmulatedCard(HANDLE device) {
    CCardTableLock guard;
    const int slot = SlotOfHandle(device);
    if (slot < 0) {
        return 0;
    }
    CloseCardFile(g_handles[slot].file);  // ends this open's hold on the file
    g_handles[slot] = CCardHandle{};
    return 1;
}
