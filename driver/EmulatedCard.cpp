#include "driver/EmulatedCard.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>

#include "driver/ConfigDriver.h"
#include "driver/EepromFileLocation.h"
#include "driver/EmulatedFormatMessage.h"
#include "driver/EmulatedLastError.h"
#include "driver/WindowsErrorFromErrno.h"

namespace {

// Open card handles live in a small fixed table. A handle is a multiple of four above a base,
// like the system's, so it is never NULL nor INVALID_HANDLE_VALUE, and a value that is not in
// the table is refused instead of being taken for some other open file.
constexpr int kMaxHandles = 64;
constexpr std::uintptr_t kHandleBase = 0x5C40;

// Where the card's file was found, as it was named then; a request compares the file behind
// that name with the one the handle holds.
constexpr std::size_t kCardPathSize = PATH_MAX;

struct CCardHandle {
    bool inUse = false;
    int fd = -1;
    bool canRead = false;
    bool canWrite = false;
    bool readOnlyFile = false;  // asked for writing too, but the file may only be read
    dev_t device = 0;
    ino_t inode = 0;
    char path[kCardPathSize] = "";
};

std::mutex g_handlesLock;
CCardHandle g_handles[kMaxHandles];

HANDLE HandleForSlot(int slot) {
    return reinterpret_cast<HANDLE>(kHandleBase + 4 * static_cast<std::uintptr_t>(slot));
}

// The slot of an open handle, or -1. Callers hold g_handlesLock.
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

// The device name as the object manager compares it: without regard to case.
bool IsCardName(const char* fileName) {
    const char* expected = CNF_DEVICE_PATH;
    for (; *expected != '\0'; ++expected, ++fileName) {
        char given = *fileName;
        if (given >= 'A' && given <= 'Z') {
            given = static_cast<char>(given - 'A' + 'a');
        }
        char wanted = *expected;
        if (wanted >= 'A' && wanted <= 'Z') {
            wanted = static_cast<char>(wanted - 'A' + 'a');
        }
        if (given != wanted) {
            return false;
        }
    }
    return *fileName == '\0';
}

// The reasons an open for writing fails although the same file may well be read.
bool MayNotBeWritten(int openErrno) {
    return openErrno == EACCES || openErrno == EPERM || openErrno == EROFS;
}

HANDLE FailCreate(DWORD error) {
    EmulatedSetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Descriptors 0 to 2 are the standard streams: a program started with one of them closed
// would otherwise get the card there and print its text into the EEPROM. The card also stays
// out of every program this one starts.
int MoveAboveStandardStreams(int fd) {
    if (fd < 0 || fd > STDERR_FILENO) {
        return fd;
    }
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int moveErrno = errno;
    close(fd);
    errno = moveErrno;
    return moved;
}

// ERROR_SUCCESS while the handle's file is still the 2048-byte file it opened, under the name
// it was opened by. A file truncated, grown, deleted or replaced by a rename is no card any
// more: writing on into it would end in success over bytes that no program reads again.
DWORD CardFileChange(const CCardHandle& card) {
    constexpr DWORD kChanged = ERROR_FILE_INVALID;
    struct stat held;
    if (fstat(card.fd, &held) != 0) {
        return WindowsErrorFromErrno(errno, ERROR_READ_FAULT);
    }
    if (held.st_nlink == 0 || held.st_size != CNF_EEPROM_SIZE) {
        return kChanged;
    }
    struct stat named;
    if (stat(card.path, &named) != 0 || named.st_dev != card.device || named.st_ino != card.inode) {
        return kChanged;
    }
    return ERROR_SUCCESS;
}

HANDLE CardCreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                       LPSECURITY_ATTRIBUTES /*securityAttributes*/, DWORD creationDisposition,
                       DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
    if (fileName == nullptr) {
        return FailCreate(ERROR_PATH_NOT_FOUND);
    }
    if (!IsCardName(fileName)) {
        return FailCreate(ERROR_FILE_NOT_FOUND);  // this machine has no other device
    }
    if (creationDisposition != OPEN_EXISTING && creationDisposition != OPEN_ALWAYS) {
        return FailCreate(ERROR_INVALID_PARAMETER);  // a device is opened, never made
    }

    const bool canRead = (desiredAccess & (GENERIC_READ | GENERIC_ALL)) != 0;
    const bool canWrite = (desiredAccess & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    int openFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (canRead && canWrite) {
        openFlags |= O_RDWR;
    } else if (canWrite) {
        openFlags |= O_WRONLY;
    } else {
        openFlags |= O_RDONLY;  // also for a handle that only asks about the device
    }

    std::string path;
    DWORD error = ERROR_SUCCESS;
    if (!LocateEepromFile(&path, &error)) {
        return FailCreate(error);
    }

    if (path.size() >= kCardPathSize) {
        return FailCreate(ERROR_FILENAME_EXCED_RANGE);
    }
    int fd = MoveAboveStandardStreams(open(path.c_str(), openFlags));
    // A dump on read-only media, or a card file the user may not write, can still be looked
    // at: the handle then reads, and its writes are refused as the handle's access says.
    bool readOnlyFile = false;
    if (fd < 0 && canRead && canWrite && MayNotBeWritten(errno)) {
        fd = MoveAboveStandardStreams(open(path.c_str(), (openFlags & ~O_RDWR) | O_RDONLY));
        readOnlyFile = fd >= 0;
    }
    if (fd < 0) {
        return FailCreate(WindowsErrorFromErrno(errno, ERROR_OPEN_FAILED));
    }
    // Share mode 0 asks for the card alone; any sharing lets other sharers in. The lock
    // belongs to this open, so it also keeps out a second open in the same process.
    const int lockMode = (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int locked;
    do {
        locked = flock(fd, lockMode);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int lockErrno = errno;
        close(fd);
        return FailCreate(lockErrno == EWOULDBLOCK
                              ? ERROR_SHARING_VIOLATION
                              : WindowsErrorFromErrno(lockErrno, ERROR_OPEN_FAILED));
    }
    struct stat status;
    if (fstat(fd, &status) != 0) {
        const int statErrno = errno;
        close(fd);
        return FailCreate(WindowsErrorFromErrno(statErrno, ERROR_OPEN_FAILED));
    }
    // Anything but a regular file of exactly the EEPROM's size is not a card: refusing it
    // here keeps a truncated dump or a wrong file from being half read and then rewritten.
    if (!S_ISREG(status.st_mode) || status.st_size != CNF_EEPROM_SIZE) {
        close(fd);
        return FailCreate(ERROR_INVALID_DATA);
    }
    // Reads and writes wait for the file; only the open was not to block (on a FIFO).
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    std::lock_guard<std::mutex> guard(g_handlesLock);
    for (int slot = 0; slot < kMaxHandles; ++slot) {
        if (!g_handles[slot].inUse) {
            CCardHandle& card = g_handles[slot];
            card = CCardHandle{
                true,          fd, canRead, canWrite && !readOnlyFile, readOnlyFile, status.st_dev,
                status.st_ino, ""};
            std::memcpy(card.path, path.c_str(), path.size() + 1);
            return HandleForSlot(slot);
        }
    }
    close(fd);
    return FailCreate(ERROR_TOO_MANY_OPEN_FILES);
}

BOOL FailControl(DWORD error) {
    EmulatedSetLastError(error);
    return FALSE;
}

BOOL ReadCardByte(const CCardHandle& card, LPVOID inBuffer, DWORD inBufferSize, LPVOID outBuffer,
                  DWORD outBufferSize, LPDWORD bytesReturned) {
    // The access the code asks for is checked first, as the system does before the driver
    // sees the request.
    if (!card.canRead) {
        return FailControl(ERROR_ACCESS_DENIED);
    }
    if (inBuffer == nullptr || inBufferSize != sizeof(CNF_BYTE_REQUEST)) {
        return FailControl(ERROR_INVALID_PARAMETER);
    }
    if (outBuffer == nullptr || outBufferSize < sizeof(CNF_BYTE_REQUEST)) {
        return FailControl(ERROR_INSUFFICIENT_BUFFER);
    }
    if (outBufferSize != sizeof(CNF_BYTE_REQUEST)) {
        return FailControl(ERROR_INVALID_PARAMETER);
    }
    CNF_BYTE_REQUEST request;
    std::memcpy(&request, inBuffer, sizeof(request));  // in and out may be the same buffer
    const unsigned address = request.addressLow | (request.addressHigh << 8);
    if (address >= static_cast<unsigned>(CNF_EEPROM_SIZE)) {
        return FailControl(ERROR_INVALID_PARAMETER);
    }
    std::uint8_t value = 0;
    ssize_t got;
    do {
        got = pread(card.fd, &value, 1, static_cast<off_t>(address));
    } while (got < 0 && errno == EINTR);
    if (got != 1) {
        return FailControl(got < 0 ? WindowsErrorFromErrno(errno, ERROR_READ_FAULT)
                                   : ERROR_READ_FAULT);
    }
    request.value = value;
    request.reserved = 0;
    std::memcpy(outBuffer, &request, sizeof(request));
    *bytesReturned = sizeof(request);
    return TRUE;
}

BOOL WriteCardByte(const CCardHandle& card, LPVOID inBuffer, DWORD inBufferSize,
                   DWORD outBufferSize, LPDWORD bytesReturned) {
    if (!card.canWrite) {
        return FailControl(ERROR_ACCESS_DENIED);
    }
    // No output buffer: the write returns nothing, and a caller that expects something has
    // asked for another request than this one.
    if (inBuffer == nullptr || inBufferSize != sizeof(CNF_BYTE_REQUEST) || outBufferSize != 0) {
        return FailControl(ERROR_INVALID_PARAMETER);
    }
    CNF_BYTE_REQUEST request;
    std::memcpy(&request, inBuffer, sizeof(request));
    const unsigned address = request.addressLow | (request.addressHigh << 8);
    if (address >= static_cast<unsigned>(CNF_EEPROM_SIZE)) {
        return FailControl(ERROR_INVALID_PARAMETER);
    }
    // pwrite hands the byte to the kernel before we acknowledge it: from then on it is in the
    // file whatever becomes of this process, as a written EEPROM cell keeps its value. There is
    // no fdatasync per byte: against the write loop's 20 ms pause it costs about 0.6 % on a
    // virtual disk with a write cache and far more on a rotating one, for a guarantee (power
    // loss) that only the machine, not the program, can break.
    ssize_t put;
    do {
        put = pwrite(card.fd, &request.value, 1, static_cast<off_t>(address));
    } while (put < 0 && errno == EINTR);
    if (put != 1) {
        return FailControl(put < 0 ? WindowsErrorFromErrno(errno, ERROR_WRITE_FAULT)
                                   : ERROR_WRITE_FAULT);
    }
    *bytesReturned = 0;
    return TRUE;
}

BOOL CardDeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) {
    CCardHandle card;
    {
        std::lock_guard<std::mutex> guard(g_handlesLock);
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
        const DWORD change = CardFileChange(card);
        if (change != ERROR_SUCCESS) {
            return FailControl(change);
        }
    }
    switch (ioControlCode) {
        case IOCTL_CNF_READ_BYTE:
            return ReadCardByte(card, inBuffer, inBufferSize, outBuffer, outBufferSize,
                                bytesReturned);
        case IOCTL_CNF_WRITE_BYTE:
            return WriteCardByte(card, inBuffer, inBufferSize, outBufferSize, bytesReturned);
        default:
            return FailControl(ERROR_INVALID_FUNCTION);
    }
}

std::int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The pause ends at a deadline on the monotonic clock, so neither a signal nor a change of the
// wall clock can make it shorter. A sleeping thread wakes some tens of microseconds late (timer
// slack, 50 us unless lowered, and the scheduler); over a whole image at 20 ms a byte that adds
// up, so the thread lowers its slack and asks to wake as late as it woke last time (a running
// average, at most 1 ms) before the deadline, and spins the little that is left.
void PauseAtLeast(DWORD milliseconds) {
    constexpr std::int64_t kMaxEarlyNs = 1000000;
#ifdef __linux__
    thread_local const bool slackLowered = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
    (void)slackLowered;
#endif
    thread_local std::int64_t lateNs = 0;
    const std::int64_t deadline = MonotonicNs() + std::int64_t{milliseconds} * 1000000;
    const std::int64_t wake = deadline - lateNs;
    const timespec wakeAt{static_cast<time_t>(wake / 1000000000),
                          static_cast<long>(wake % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wakeAt, nullptr) == EINTR) {
    }
    std::int64_t now = MonotonicNs();
    const std::int64_t late = now - wake < kMaxEarlyNs ? now - wake : kMaxEarlyNs;
    lateNs = (lateNs * 7 + late) / 8;
    while (now < deadline) {
        now = MonotonicNs();
    }
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
    DWORD GetLastError() override { return EmulatedGetLastError(); }
    DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments) override {
        return EmulatedFormatMessageA(flags, source, messageId, languageId, buffer, size,
                                      arguments);
    }
    HLOCAL LocalFree(HLOCAL memory) override { return EmulatedLocalFree(memory); }
    void Sleep(DWORD milliseconds) override { PauseAtLeast(milliseconds); }
    BOOL IsReadOnlyCard(HANDLE device) override {
        std::lock_guard<std::mutex> guard(g_handlesLock);
        const int slot = SlotOfHandle(device);
        return slot >= 0 && g_handles[slot].readOnlyFile ? TRUE : FALSE;
    }
};

}  // namespace

CDeviceApi& EmulatedCardApi() {
    static CEmulatedCardApi card;
    return card;
}

CDeviceApi& SystemDeviceApi() {
    return EmulatedCardApi();
}

int CloseEmulatedCard(HANDLE device) {
    std::lock_guard<std::mutex> guard(g_handlesLock);
    const int slot = SlotOfHandle(device);
    if (slot < 0) {
        return 0;
    }
    close(g_handles[slot].fd);  // releases the lock with the last reference to this open
    g_handles[slot] = CCardHandle{};
    return 1;
}
