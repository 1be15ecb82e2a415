// The emulated card's file and services on POSIX systems: descriptors, flock, pread/pwrite.
#include <fcntl.h>
#include <sys/file.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>

#include "driver/EepromFileLocation.h"
#include "driver/EmulatedCard.h"
#include "driver/EmulatedCardFile.h"
#include "driver/EmulatedFormatMessage.h"
#include "driver/EmulatedLastError.h"
#include "driver/WindowsErrorFromErrno.h"
#include "protocol/CnfProtocol.h"

namespace {

std::mutex g_tableLock;

int Descriptor(CardFileHandle file) {
    return static_cast<int>(file);
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

// The reasons an open for writing fails although the same file may well be read.
bool MayNotBeWritten(int openErrno) {
    return openErrno == EACCES || openErrno == EPERM || openErrno == EROFS;
}

std::int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

int LocateCardFile(std::string* path, DWORD* error) {
    return LocateEepromFile(path, error);
}

int OpenCardFile(const char* path, bool canRead, bool canWrite, bool exclusive,
                 CardFileHandle* file, CCardFileFacts* facts, DWORD* error) {
    int openFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (canRead && canWrite) {
        openFlags |= O_RDWR;
    } else if (canWrite) {
        openFlags |= O_WRONLY;
    } else {
        openFlags |= O_RDONLY;  // also for a handle that only asks about the device
    }
    int fd = MoveAboveStandardStreams(open(path, openFlags));
    facts->readOnly = false;
    if (fd < 0 && canRead && canWrite && MayNotBeWritten(errno)) {
        fd = MoveAboveStandardStreams(open(path, (openFlags & ~O_RDWR) | O_RDONLY));
        facts->readOnly = fd >= 0;
    }
    if (fd < 0) {
        *error = WindowsErrorFromErrno(errno, ERROR_OPEN_FAILED);
        return 0;
    }
    // The lock belongs to this open file description, so it also keeps out a second open in
    // the same process.
    const int lockMode = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int locked;
    do {
        locked = flock(fd, lockMode);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int lockErrno = errno;
        close(fd);
        *error = lockErrno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION
                                          : WindowsErrorFromErrno(lockErrno, ERROR_OPEN_FAILED);
        return 0;
    }
    struct stat status;
    if (fstat(fd, &status) != 0) {
        const int statErrno = errno;
        close(fd);
        *error = WindowsErrorFromErrno(statErrno, ERROR_OPEN_FAILED);
        return 0;
    }
    // Reads and writes wait for the file; only the open was not to block (on a FIFO).
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    facts->regular = S_ISREG(status.st_mode);
    facts->size = static_cast<long long>(status.st_size);
    facts->device = static_cast<unsigned long long>(status.st_dev);
    facts->inode = static_cast<unsigned long long>(status.st_ino);
    *file = fd;
    return 1;
}

int ReadCardFileByte(CardFileHandle file, unsigned address, std::uint8_t* value, DWORD* error) {
    ssize_t got;
    do {
        got = pread(Descriptor(file), value, 1, static_cast<off_t>(address));
    } while (got < 0 && errno == EINTR);
    if (got != 1) {
        *error = got < 0 ? WindowsErrorFromErrno(errno, ERROR_READ_FAULT) : ERROR_READ_FAULT;
        return 0;
    }
    return 1;
}

// pwrite hands the byte to the kernel. There is no fdatasync per byte: against the write
// loop's 20 ms pause it costs about 0.6 % on a virtual disk with a write cache and far more on
// a rotating one, for a guarantee (power loss) that only the machine, not the program, can
// break.
int WriteCardFileByte(CardFileHandle file, unsigned address, std::uint8_t value, DWORD* error) {
    ssize_t put;
    do {
        put = pwrite(Descriptor(file), &value, 1, static_cast<off_t>(address));
    } while (put < 0 && errno == EINTR);
    if (put != 1) {
        *error = put < 0 ? WindowsErrorFromErrno(errno, ERROR_WRITE_FAULT) : ERROR_WRITE_FAULT;
        return 0;
    }
    return 1;
}

void CloseCardFile(CardFileHandle file) {
    close(Descriptor(file));  // releases the lock with the last reference to this open
}

DWORD CardFileChange(CardFileHandle file, const char* path, const CCardFileFacts& opened) {
    constexpr DWORD kChanged = ERROR_FILE_INVALID;
    struct stat held;
    if (fstat(Descriptor(file), &held) != 0) {
        return WindowsErrorFromErrno(errno, ERROR_READ_FAULT);
    }
    if (held.st_nlink == 0 || held.st_size != CNF_EEPROM_SIZE) {
        return kChanged;
    }
    struct stat named;
    if (stat(path, &named) != 0 || static_cast<unsigned long long>(named.st_dev) != opened.device ||
        static_cast<unsigned long long>(named.st_ino) != opened.inode) {
        return kChanged;
    }
    return ERROR_SUCCESS;
}

void SetCardLastError(DWORD code) {
    EmulatedSetLastError(code);
}

DWORD CardLastError() {
    return EmulatedGetLastError();
}

DWORD CardFormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                         LPSTR buffer, DWORD size, va_list* arguments) {
    return EmulatedFormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
}

HLOCAL CardLocalFree(HLOCAL memory) {
    return EmulatedLocalFree(memory);
}

// The pause ends at a deadline on the monotonic clock, so neither a signal nor a change of the
// wall clock can make it shorter. A sleeping thread wakes some tens of microseconds late (timer
// slack, 50 us unless lowered, and the scheduler); over a whole image at 20 ms a byte that adds
// up, so the thread lowers its slack and asks to wake as late as it woke last time (a running
// average, at most 1 ms) before the deadline, and spins the little that is left.
void CardPause(DWORD milliseconds) {
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

CCardTableLock::CCardTableLock() {
    g_tableLock.lock();
}

CCardTableLock::~CCardTableLock() {
    g_tableLock.unlock();
}

// Everywhere but Windows the card is the emulated one.
CDeviceApi& SystemDeviceApi() {
    return EmulatedCardApi();
}
