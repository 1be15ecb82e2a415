// The emulated card's file changed under an open handle, and the descriptor that holds it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/EepromFileLocation.h"
#include "driver/EmulatedCard.h"
#include "driver/tests/CardFileFixture.h"
#include "driver/tests/ChildProcess.h"

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

class CardFileChangeTest : public CardOnFileTest {
protected:
    static BOOL ReadAt(HANDLE device, int address) {
        CNF_BYTE_REQUEST request{static_cast<std::uint8_t>(address & 0xFF),
                                 static_cast<std::uint8_t>(address >> 8), 0, 0};
        DWORD returned = 0;
        return SystemDeviceApi().DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &request, 4, &request,
                                                 4, &returned, nullptr);
    }

    static BOOL WriteAt(HANDLE device, int address, std::uint8_t value) {
        CNF_BYTE_REQUEST request{static_cast<std::uint8_t>(address & 0xFF),
                                 static_cast<std::uint8_t>(address >> 8), value, 0};
        DWORD returned = 0;
        return SystemDeviceApi().DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &request, 4, nullptr,
                                                 0, &returned, nullptr);
    }

    // Opens the card, lets change happen to its file, and expects both requests to fail with
    // the error of a file that is no longer the one opened.
    void ExpectRequestsFailAfter(const std::function<void()>& change) {
        HANDLE device = OpenCard();
        ASSERT_NE(device, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(ReadAt(device, 10));
        ASSERT_TRUE(WriteAt(device, 10, 0x77));
        change();
        EXPECT_FALSE(ReadAt(device, 11));
        EXPECT_EQ(LastError(), ERROR_FILE_INVALID);
        EXPECT_FALSE(WriteAt(device, 12, 0x66));
        EXPECT_EQ(LastError(), ERROR_FILE_INVALID);
    }
};

TEST_F(CardFileChangeTest, ATruncatedCardFailsEveryRequestAndIsNotWrittenOn) {
    ExpectRequestsFailAfter([&] { ASSERT_EQ(truncate(m_cardPath.c_str(), 100), 0); });
    // Nothing was written past the cut: the file keeps the size the other program left.
    EXPECT_EQ(std::filesystem::file_size(m_cardPath), 100u);
}

TEST_F(CardFileChangeTest, AGrownCardFailsEveryRequest) {
    ExpectRequestsFailAfter([&] { ASSERT_EQ(truncate(m_cardPath.c_str(), 4096), 0); });
}

TEST_F(CardFileChangeTest, ADeletedCardFailsEveryRequest) {
    ExpectRequestsFailAfter([&] { ASSERT_EQ(unlink(m_cardPath.c_str()), 0); });
}

TEST_F(CardFileChangeTest, AnotherFileRenamedOverTheCardFailsEveryRequestAndIsLeftAlone) {
    std::vector<std::uint8_t> other = Pattern();
    other[0] ^= 0xFF;
    const std::string otherPath = WriteCard("other.bin", other);
    ExpectRequestsFailAfter(
        [&] { ASSERT_EQ(std::rename(otherPath.c_str(), m_cardPath.c_str()), 0); });
    EXPECT_EQ(FileBytes(m_cardPath), other);
}

TEST_F(CardFileChangeTest, ACardRewrittenInPlaceAtItsSizeIsStillTheCard) {
    // Another program writing the same file (the lock is only advisory) leaves it the card;
    // what the dialog makes of new contents is the dialog's business.
    HANDLE device = OpenCard();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    std::vector<std::uint8_t> rewritten = m_card;
    rewritten[11] ^= 0xFF;
    WriteCard("card.bin", rewritten);
    EXPECT_TRUE(ReadAt(device, 11));
    EXPECT_TRUE(WriteAt(device, 12, 0x66));
}

TEST_F(CardFileChangeTest, ACardOpenedThroughALinkIsTheFileBehindIt) {
    const std::string link = PathIn("link.bin");
    ASSERT_EQ(symlink(m_cardPath.c_str(), link.c_str()), 0);
    SetVariable(EEPROM_FILE_VARIABLE, link);
    HANDLE device = OpenCard();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WriteAt(device, 5, 0x12));
    EXPECT_EQ(FileBytes(m_cardPath)[5], 0x12);
}

// Which descriptor of this process holds the file at path, -1 when none does.
int DescriptorOf(const std::string& path) {
    struct stat wanted;
    if (stat(path.c_str(), &wanted) != 0) {
        return -1;
    }
    for (int fd = 0; fd < 256; ++fd) {
        struct stat held;
        if (fstat(fd, &held) == 0 && held.st_dev == wanted.st_dev && held.st_ino == wanted.st_ino) {
            return fd;
        }
    }
    return -1;
}

TEST_F(CardFileChangeTest, TheCardNeverTakesAStandardStreamAndStaysOutOfStartedPrograms) {
    // With all three standard streams closed the next descriptors are 0, 1 and 2: the card
    // must take none of them, or the program's own text would go into the EEPROM.
    const std::string path = m_cardPath;
    const int result = RunInChild([path] {
        close(STDIN_FILENO);
        close(STDOUT_FILENO);
        close(STDERR_FILENO);
        HANDLE device = SystemDeviceApi().CreateFileA(CNF_DEVICE_PATH, kReadWrite, 0, nullptr,
                                                      OPEN_EXISTING, 0, nullptr);
        if (device == INVALID_HANDLE_VALUE) {
            return 1;
        }
        const int fd = DescriptorOf(path);
        if (fd <= STDERR_FILENO) {
            return 2;
        }
        if ((fcntl(fd, F_GETFD) & FD_CLOEXEC) == 0) {
            return 3;
        }
        if (fcntl(STDIN_FILENO, F_GETFD) != -1 || fcntl(STDERR_FILENO, F_GETFD) != -1) {
            return 4;  // the standard streams stay closed: the card left no copy there
        }
        return 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FileBytes(m_cardPath), m_card);
}

}  // namespace
