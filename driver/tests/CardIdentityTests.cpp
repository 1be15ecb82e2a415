// What the user is told of the emulated card: its file, and why it could not be opened, in
// words that name the file and the trouble (and who holds a busy card).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "driver/CardIdentity.h"
#include "driver/EepromFileLocation.h"
#include "driver/tests/CardFileFixture.h"
#include "driver/tests/ChildProcess.h"

namespace {

using CardIdentityTest = CardOnFileTest;

}  // namespace

TEST_F(CardIdentityTest, TheCardIsItsFile) {
    EXPECT_EQ(CardName(), m_cardPath);
    UnsetVariable(EEPROM_FILE_VARIABLE);
    SetVariable("XDG_DATA_HOME", PathIn("data"));
    EXPECT_EQ(CardName(), PathIn("data") + "/vymcnf/eeprom.bin");
    // Naming the card makes nothing.
    EXPECT_NE(access(PathIn("data").c_str(), F_OK), 0);
}

TEST_F(CardIdentityTest, EachTroubleOfTheFileIsToldInItsOwnWords) {
    const std::string missing = PathIn("absent.bin");
    SetVariable(EEPROM_FILE_VARIABLE, missing);
    EXPECT_EQ(CardOpenProblem(ERROR_FILE_NOT_FOUND), missing + " does not exist");

    SetVariable(EEPROM_FILE_VARIABLE, WriteCard("short.bin", Pattern(1000)));
    EXPECT_EQ(
        CardOpenProblem(ERROR_INVALID_DATA),
        PathIn("short.bin") + " is 1000 bytes long; a card's EEPROM image is exactly 2048 bytes");
    SetVariable(EEPROM_FILE_VARIABLE, WriteCard("one.bin", Pattern(1)));
    EXPECT_EQ(CardOpenProblem(ERROR_INVALID_DATA),
              PathIn("one.bin") + " is 1 byte long; a card's EEPROM image is exactly 2048 bytes");

    SetVariable(EEPROM_FILE_VARIABLE, m_folder);
    EXPECT_EQ(CardOpenProblem(ERROR_ACCESS_DENIED),
              m_folder + " is a folder, not a regular file holding the card's EEPROM image");
    const std::string fifo = PathIn("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    SetVariable(EEPROM_FILE_VARIABLE, fifo);
    EXPECT_EQ(CardOpenProblem(ERROR_INVALID_DATA),
              fifo + " is a pipe, not a regular file holding the card's EEPROM image");

    // The system's text stays where the file gives no better reason.
    SetVariable(EEPROM_FILE_VARIABLE, m_cardPath);
    EXPECT_EQ(CardOpenProblem(ERROR_TOO_MANY_OPEN_FILES),
              m_cardPath + ": The system cannot open the file");
}

TEST_F(CardIdentityTest, ABusyCardNamesTheProcessThatHoldsIt) {
    const CHoldingChild holder([this] {
        const int fd = open(m_cardPath.c_str(), O_RDONLY);
        return fd >= 0 && flock(fd, LOCK_EX) == 0;
    });
    ASSERT_TRUE(holder.holding());
    const std::string problem = CardOpenProblem(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(problem.rfind(
                  m_cardPath + " is in use by process " + std::to_string(holder.pid()) + " (", 0),
              0u)
        << problem;
    EXPECT_NE(problem.find("; the card can be used by one program at a time"), std::string::npos)
        << problem;
}

TEST_F(CardIdentityTest, AFileThatMayOnlyBeReadIsAReadOnlyCard) {
    EXPECT_EQ(CardFileIsReadOnly(), 0);
    const std::string card = m_cardPath;
    const int failures = RunBoundByPermissions({m_folder, m_cardPath}, [&card] {
        int failed = 0;
        if (chmod(card.c_str(), 0444) != 0) {
            return 101;
        }
        if (CardFileIsReadOnly() != 1) {
            failed |= 1;
        }
        if (chmod(card.c_str(), 0000) != 0) {
            return 102;
        }
        // Not even readable: no read-only card, and the reason is the permission.
        if (CardFileIsReadOnly() != 0) {
            failed |= 2;
        }
        if (CardOpenProblem(ERROR_ACCESS_DENIED) != "you have no permission to read " + card) {
            failed |= 4;
        }
        return failed;
    });
    EXPECT_EQ(failures, 0);
    chmod(m_cardPath.c_str(), 0644);
}
