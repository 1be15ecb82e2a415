#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/EepromFileLocation.h"
#include "driver/EmulatedCard.h"
#include "driver/WindowsErrorFromErrno.h"
#include "driver/tests/CardFileFixture.h"
#include "driver/tests/ChildProcess.h"

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

// A child that opens the card and holds it until the test lets go.
CHoldingChild CardHolder(DWORD shareMode) {
    return CHoldingChild([shareMode] {
        return SystemDeviceApi().CreateFileA(CNF_DEVICE_PATH, kReadWrite, shareMode, nullptr,
                                             OPEN_EXISTING, 0, nullptr) != INVALID_HANDLE_VALUE;
    });
}

using EmulatedCardTest = CardOnFileTest;

}  // namespace

TEST_F(EmulatedCardTest, MissingNamedFileIsNotFoundAndIsNotCreated) {
    const std::string missing = PathIn("absent.bin");
    SetVariable(EEPROM_FILE_VARIABLE, missing);
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(access(missing.c_str(), F_OK), 0);
    EXPECT_NE(access(PathIn("data/vymcnf/eeprom.bin").c_str(), F_OK), 0);
}

TEST_F(EmulatedCardTest, WrongSizedFilesAreRefusedAndLeftAlone) {
    for (int size : {0, 1, 2047, 2049, 4096}) {
        const std::vector<std::uint8_t> bytes = Pattern(size);
        const std::string path = WriteCard("sized.bin", bytes);
        SetVariable(EEPROM_FILE_VARIABLE, path);
        EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE) << size;
        EXPECT_EQ(LastError(), ERROR_INVALID_DATA) << size;
        EXPECT_EQ(FileBytes(path), bytes) << size;
    }
}

TEST_F(EmulatedCardTest, ThingsThatAreNoFileAreRefusedWithoutWaiting) {
    SetVariable(EEPROM_FILE_VARIABLE, m_folder);
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_ACCESS_DENIED);

    const std::string fifo = PathIn("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    SetVariable(EEPROM_FILE_VARIABLE, fifo);
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_INVALID_DATA);
}

TEST_F(EmulatedCardTest, FileThatCannotBeWrittenOpensForReadingOnly) {
    const std::string card = m_cardPath;
    // Each step's result is one bit of the exit code, so a failure says which step it was.
    const int failures = RunBoundByPermissions({m_folder, m_cardPath}, [&card] {
        CDeviceApi& api = SystemDeviceApi();
        int failed = 0;
        if (chmod(card.c_str(), 0444) != 0) {
            return 101;
        }
        // Asked for both, the card reads and refuses every write, and says why.
        CConfigDriver driver;
        if (driver.Open() != 1 || driver.IsReadOnly() != 1) {
            failed |= 1;
        }
        std::uint8_t first = 0;
        if (driver.ReadByte(0, &first) != 1 || first != 17) {
            failed |= 8;
        }
        if (driver.WriteByte(0, 0x5A) != 0 || driver.LastError() != ERROR_ACCESS_DENIED) {
            failed |= 16;
        }
        CloseEmulatedCard(driver.m_hDevice);
        // Reading alone is still allowed, as the file allows it.
        HANDLE reader =
            api.CreateFileA(CNF_DEVICE_PATH, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (reader == INVALID_HANDLE_VALUE) {
            failed |= 2;
        }
        CloseEmulatedCard(reader);
        if (chmod(card.c_str(), 0000) != 0) {
            return 102;
        }
        if (api.CreateFileA(CNF_DEVICE_PATH, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) !=
                INVALID_HANDLE_VALUE ||
            api.GetLastError() != ERROR_ACCESS_DENIED) {
            failed |= 4;
        }
        return failed;
    });
    EXPECT_EQ(failures, 0);
    chmod(m_cardPath.c_str(), 0644);
    EXPECT_EQ(FileBytes(m_cardPath), m_card);
}

TEST_F(EmulatedCardTest, WritableCardIsNotReadOnly) {
    CConfigDriver driver;
    ASSERT_EQ(driver.Open(), 1);
    EXPECT_EQ(driver.IsReadOnly(), 0);
    EXPECT_EQ(driver.WriteByte(0, 0x5A), 1);
    CloseEmulatedCard(driver.m_hDevice);
    EXPECT_EQ(FileBytes(m_cardPath)[0], 0x5A);
}

TEST_F(EmulatedCardTest, OnlyOpeningAnExistingDeviceIsAllowed) {
    for (DWORD disposition : {CREATE_NEW, CREATE_ALWAYS, TRUNCATE_EXISTING, 0u, 6u}) {
        EXPECT_EQ(SystemDeviceApi().CreateFileA(CNF_DEVICE_PATH, kReadWrite, 0, nullptr,
                                                disposition, 0, nullptr),
                  INVALID_HANDLE_VALUE)
            << disposition;
        EXPECT_EQ(LastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(
        SystemDeviceApi().CreateFileA(nullptr, kReadWrite, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FileBytes(m_cardPath), m_card);
}

TEST_F(EmulatedCardTest, CardHeldByAnotherProcessIsASharingViolation) {
    CHoldingChild holder = CardHolder(0);
    ASSERT_TRUE(holder.holding());
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OpenCard(kReadWrite, kShareAll), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_SHARING_VIOLATION);
    holder.Release();
    EXPECT_NE(OpenCard(), INVALID_HANDLE_VALUE);
}

TEST_F(EmulatedCardTest, CardHeldHereKeepsOtherProcessesOut) {
    ASSERT_NE(OpenCard(), INVALID_HANDLE_VALUE);
    CHoldingChild other = CardHolder(0);
    EXPECT_FALSE(other.holding());
    CHoldingChild sharing = CardHolder(kShareAll);
    EXPECT_FALSE(sharing.holding());
}

TEST_F(EmulatedCardTest, SharingOpensMeetAndKeepAnExclusiveOneOut) {
    ASSERT_NE(OpenCard(kReadWrite, kShareAll), INVALID_HANDLE_VALUE);
    CHoldingChild sharing = CardHolder(kShareAll);
    EXPECT_TRUE(sharing.holding());
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastError(), ERROR_SHARING_VIOLATION);
}

TEST_F(EmulatedCardTest, HandlesAreDistinctValidValuesUntilTheTableIsFull) {
    std::vector<HANDLE> opened;
    for (;;) {
        HANDLE handle = OpenCard(kReadWrite, kShareAll);
        if (handle == INVALID_HANDLE_VALUE) {
            break;
        }
        ASSERT_NE(handle, nullptr);
        for (HANDLE earlier : opened) {
            ASSERT_NE(earlier, handle);
        }
        opened.push_back(handle);
        ASSERT_LE(opened.size(), 1000u);
    }
    EXPECT_EQ(LastError(), ERROR_TOO_MANY_OPEN_FILES);
    EXPECT_GE(opened.size(), 16u);
    // A released slot is usable again.
    ASSERT_EQ(CloseEmulatedCard(opened.back()), 1);
    EXPECT_NE(OpenCard(kReadWrite, kShareAll), INVALID_HANDLE_VALUE);
}

TEST_F(EmulatedCardTest, ClosedHandleIsInvalid) {
    HANDLE device = OpenCard();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    ASSERT_EQ(CloseEmulatedCard(device), 1);
    EXPECT_EQ(CloseEmulatedCard(device), 0);
    CNF_BYTE_REQUEST request{0, 0, 0, 0};
    DWORD returned = 0;
    EXPECT_FALSE(SystemDeviceApi().DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &request, 4,
                                                   &request, 4, &returned, nullptr));
    EXPECT_EQ(LastError(), ERROR_INVALID_HANDLE);
    // Values near a real handle are not taken for one either.
    HANDLE open = OpenCard();
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    HANDLE nearby = reinterpret_cast<HANDLE>(reinterpret_cast<std::uintptr_t>(open) + 1);
    EXPECT_FALSE(SystemDeviceApi().DeviceIoControl(nearby, IOCTL_CNF_READ_BYTE, &request, 4,
                                                   &request, 4, &returned, nullptr));
    EXPECT_EQ(LastError(), ERROR_INVALID_HANDLE);
}

TEST_F(EmulatedCardTest, SynchronousRequestWithoutACountIsRefused) {
    HANDLE device = OpenCard();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{3, 0, 0x44, 0};
    EXPECT_FALSE(SystemDeviceApi().DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &request, 4,
                                                   nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(LastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(FileBytes(m_cardPath), m_card);
}

TEST_F(EmulatedCardTest, WriteOnlyHandleMayWriteButNotRead) {
    HANDLE device = OpenCard(GENERIC_WRITE);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{9, 0, 0x3C, 0};
    DWORD returned = 0;
    EXPECT_TRUE(SystemDeviceApi().DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &request, 4,
                                                  nullptr, 0, &returned, nullptr));
    EXPECT_FALSE(SystemDeviceApi().DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &request, 4,
                                                   &request, 4, &returned, nullptr));
    EXPECT_EQ(LastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(FileBytes(m_cardPath)[9], 0x3C);
}

TEST_F(EmulatedCardTest, ChannelReadsAndWritesTheFile) {
    CConfigDriver driver;
    ASSERT_EQ(driver.Open(), 1);
    std::uint8_t image[CNF_EEPROM_SIZE] = {};
    EXPECT_EQ(driver.ReadImage(image), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(image, image + CNF_EEPROM_SIZE), m_card);
    EXPECT_EQ(driver.WriteByte(1000, 0xC3), 1);
    m_card[1000] = 0xC3;
    EXPECT_EQ(FileBytes(m_cardPath), m_card);
    CloseEmulatedCard(driver.m_hDevice);
}

TEST_F(EmulatedCardTest, AcknowledgedByteSurvivesAKillRightAfterTheWrite) {
    const int result = RunInChild([] {
        CConfigDriver driver;
        if (driver.Open() != 1 || driver.WriteByte(2047, 0xAB) != 1) {
            return 1;
        }
        kill(getpid(), SIGKILL);
        return 2;
    });
    EXPECT_EQ(result, 128 + SIGKILL);
    m_card[2047] = 0xAB;
    EXPECT_EQ(FileBytes(m_cardPath), m_card);
}

TEST_F(EmulatedCardTest, EveryAcknowledgedByteSurvivesAKillInTheMiddleOfAWrite) {
    int acks[2];
    ASSERT_EQ(pipe(acks), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(acks[0]);
        CConfigDriver driver;
        if (driver.Open() != 1) {
            _exit(1);
        }
        for (int address = 0;; address = (address + 1) % CNF_EEPROM_SIZE) {
            if (driver.WriteByte(static_cast<std::uint16_t>(address), 0xE7) != 1) {
                _exit(1);
            }
            const std::uint16_t acknowledged = static_cast<std::uint16_t>(address);
            if (write(acks[1], &acknowledged, sizeof(acknowledged)) != sizeof(acknowledged)) {
                _exit(1);
            }
        }
    }
    close(acks[1]);
    int count = 0;
    std::uint16_t address = 0;
    while (count < 700 && read(acks[0], &address, sizeof(address)) == sizeof(address)) {
        ++count;
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(acks[0]);
    ASSERT_EQ(count, 700);
    const std::vector<std::uint8_t> now = FileBytes(m_cardPath);
    ASSERT_EQ(now.size(), 2048u);
    for (int i = 0; i < 700; ++i) {
        ASSERT_EQ(now[static_cast<std::size_t>(i)], 0xE7) << "acknowledged byte " << i;
    }
}

TEST_F(EmulatedCardTest, LastErrorBelongsToTheThreadThatFailed) {
    SetVariable(EEPROM_FILE_VARIABLE, PathIn("absent.bin"));
    ASSERT_EQ(OpenCard(), INVALID_HANDLE_VALUE);  // sets this thread's error
    ASSERT_EQ(LastError(), ERROR_FILE_NOT_FOUND);
    DWORD otherError = 0;
    std::thread other([&otherError, this] {
        CNF_BYTE_REQUEST request{};
        DWORD returned = 0;
        SystemDeviceApi().DeviceIoControl(INVALID_HANDLE_VALUE, IOCTL_CNF_READ_BYTE, &request, 4,
                                          &request, 4, &returned, nullptr);
        otherError = LastError();
    });
    other.join();
    EXPECT_EQ(otherError, ERROR_INVALID_HANDLE);
    EXPECT_EQ(LastError(), ERROR_FILE_NOT_FOUND);
}

// The EEPROM needs its whole write cycle after each byte: a signal that lands during the pause
// (a resize, a timer) must not cut it short.
TEST_F(EmulatedCardTest, PauseIsNeverShorterThanAskedEvenWhenASignalInterruptsIt) {
    struct sigaction onAlarm {};
    onAlarm.sa_handler = [](int) {};
    sigemptyset(&onAlarm.sa_mask);
    onAlarm.sa_flags = 0;  // no restart: the sleep itself sees the interruption
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGALRM, &onAlarm, &previous), 0);
    itimerval inFiveMs{};
    inFiveMs.it_value.tv_usec = 5000;
    ASSERT_EQ(setitimer(ITIMER_REAL, &inFiveMs, nullptr), 0);

    const auto start = std::chrono::steady_clock::now();
    SystemDeviceApi().Sleep(30);
    const auto slept = std::chrono::steady_clock::now() - start;
    sigaction(SIGALRM, &previous, nullptr);
    EXPECT_GE(slept, std::chrono::milliseconds(30));
    EXPECT_LT(slept, std::chrono::milliseconds(300));
}

TEST(WindowsErrorFromErrno, MapsWhatTheCardCanMeet) {
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, ERROR_OPEN_FAILED), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WindowsErrorFromErrno(ENOTDIR, ERROR_OPEN_FAILED), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(WindowsErrorFromErrno(EACCES, ERROR_OPEN_FAILED), ERROR_ACCESS_DENIED);
    EXPECT_EQ(WindowsErrorFromErrno(EROFS, ERROR_OPEN_FAILED), ERROR_ACCESS_DENIED);
    EXPECT_EQ(WindowsErrorFromErrno(EISDIR, ERROR_OPEN_FAILED), ERROR_ACCESS_DENIED);
    EXPECT_EQ(WindowsErrorFromErrno(EWOULDBLOCK, ERROR_OPEN_FAILED), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(WindowsErrorFromErrno(EMFILE, ERROR_OPEN_FAILED), ERROR_TOO_MANY_OPEN_FILES);
    EXPECT_EQ(WindowsErrorFromErrno(ENAMETOOLONG, ERROR_OPEN_FAILED), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(WindowsErrorFromErrno(ENOSPC, ERROR_WRITE_FAULT), ERROR_DISK_FULL);
    EXPECT_EQ(WindowsErrorFromErrno(EIO, ERROR_READ_FAULT), ERROR_READ_FAULT);
    EXPECT_EQ(WindowsErrorFromErrno(EIO, ERROR_WRITE_FAULT), ERROR_WRITE_FAULT);
}
