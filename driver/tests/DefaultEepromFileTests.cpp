#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "driver/ConfigDriver.h"
#include "driver/EepromFileLocation.h"
#include "driver/EmulatedCard.h"
#include "driver/tests/CardFileFixture.h"
#include "pnp/FactoryImage.h"

namespace {

std::vector<std::uint8_t> Factory() {
    const auto& image = FactoryImage();
    return std::vector<std::uint8_t>(image.begin(), image.end());
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    return names;
}

class DefaultEepromFileTest : public CardFileTest {
protected:
    std::string DefaultPath() const { return m_folder + "/data/vymcnf/eeprom.bin"; }
};

}  // namespace

TEST_F(DefaultEepromFileTest, PathFollowsTheBaseDirectoryRules) {
    std::string path;
    DWORD error = 0;
    ASSERT_EQ(DefaultEepromFilePath(&path, &error), 1);
    EXPECT_EQ(path, DefaultPath());

    UnsetVariable("XDG_DATA_HOME");
    ASSERT_EQ(DefaultEepromFilePath(&path, &error), 1);
    EXPECT_EQ(path, m_folder + "/home/.local/share/vymcnf/eeprom.bin");

    SetVariable("XDG_DATA_HOME", "relative/data");  // invalid: ignored
    ASSERT_EQ(DefaultEepromFilePath(&path, &error), 1);
    EXPECT_EQ(path, m_folder + "/home/.local/share/vymcnf/eeprom.bin");

    SetVariable("XDG_DATA_HOME", "");
    ASSERT_EQ(DefaultEepromFilePath(&path, &error), 1);
    EXPECT_EQ(path, m_folder + "/home/.local/share/vymcnf/eeprom.bin");
}

TEST_F(DefaultEepromFileTest, FirstOpenMakesTheCardFromTheFactoryImage) {
    HANDLE device = OpenCard();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileBytes(DefaultPath()), Factory());

    struct stat folder;
    ASSERT_EQ(stat((m_folder + "/data/vymcnf").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    // Only the card: no temporary file is left beside it.
    EXPECT_EQ(FolderEntries(m_folder + "/data/vymcnf"), std::vector<std::string>{"eeprom.bin"});
}

TEST_F(DefaultEepromFileTest, WithoutDataHomeTheCardGoesUnderHome) {
    UnsetVariable("XDG_DATA_HOME");
    ASSERT_NE(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileBytes(m_folder + "/home/.local/share/vymcnf/eeprom.bin"), Factory());
}

TEST_F(DefaultEepromFileTest, EmptyCardVariableMeansTheDefaultCard) {
    SetVariable(EEPROM_FILE_VARIABLE, "");
    ASSERT_NE(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileBytes(DefaultPath()), Factory());
}

TEST_F(DefaultEepromFileTest, NamedCardNeverCreatesTheDefaultOne) {
    SetVariable(EEPROM_FILE_VARIABLE, WriteCard("mine.bin", Pattern()));
    ASSERT_NE(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_NE(access((m_folder + "/data").c_str(), F_OK), 0);
}

TEST_F(DefaultEepromFileTest, ExistingCardIsNeverOverwritten) {
    ASSERT_EQ(mkdir((m_folder + "/data").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((m_folder + "/data/vymcnf").c_str(), 0700), 0);
    const std::vector<std::uint8_t> mine = Pattern();
    WriteCard("data/vymcnf/eeprom.bin", mine);

    CConfigDriver driver;
    ASSERT_EQ(driver.Open(), 1);
    std::uint8_t image[CNF_EEPROM_SIZE];
    ASSERT_EQ(driver.ReadImage(image), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(image, image + CNF_EEPROM_SIZE), mine);
    CloseEmulatedCard(driver.m_hDevice);

    DWORD error = 0;
    EXPECT_EQ(CreateEepromFileIfAbsent(DefaultPath(), &error), 1);
    EXPECT_EQ(FileBytes(DefaultPath()), mine);
}

TEST_F(DefaultEepromFileTest, ExistingCardOfTheWrongSizeIsRefusedNotReplaced) {
    ASSERT_EQ(mkdir((m_folder + "/data").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((m_folder + "/data/vymcnf").c_str(), 0700), 0);
    const std::vector<std::uint8_t> truncated = Pattern(500);
    WriteCard("data/vymcnf/eeprom.bin", truncated);
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(SystemDeviceApi().GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(FileBytes(DefaultPath()), truncated);
}

TEST_F(DefaultEepromFileTest, FolderThatCannotBeMadeFailsTheOpen) {
    WriteCard("data", Pattern(10));  // a file where the folder should be
    EXPECT_EQ(OpenCard(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(SystemDeviceApi().GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FileBytes(PathIn("data")), Pattern(10));
}

TEST_F(DefaultEepromFileTest, ProcessesMakingTheCardAtOnceAllGetTheSameWholeCard) {
    std::vector<pid_t> children;
    for (int i = 0; i < 6; ++i) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string path;
            DWORD error = 0;
            _exit(LocateEepromFile(&path, &error) == 1 ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(FileBytes(DefaultPath()), Factory());
    EXPECT_EQ(FolderEntries(m_folder + "/data/vymcnf"), std::vector<std::string>{"eeprom.bin"});
}

// The name the user is told and the file the card opens come from one rule: a name is wanted
// without making the card, so asking for it leaves the disk as it was.
TEST_F(DefaultEepromFileTest, TheCardsNameIsTheFileItOpensAndAskingMakesNothing) {
    std::string named;
    std::string opened;
    DWORD error = 0;
    ASSERT_EQ(LocateEepromFile(&named, &error, DefaultCardFile::NameOnly), 1);
    EXPECT_EQ(named, DefaultPath());
    EXPECT_NE(access((m_folder + "/data").c_str(), F_OK), 0);
    ASSERT_EQ(LocateEepromFile(&opened, &error), 1);
    EXPECT_EQ(opened, named);
    EXPECT_EQ(FileBytes(DefaultPath()), Factory());

    const std::string mine = WriteCard("mine.bin", Pattern());
    SetVariable(EEPROM_FILE_VARIABLE, mine);
    ASSERT_EQ(LocateEepromFile(&named, &error, DefaultCardFile::NameOnly), 1);
    EXPECT_EQ(named, mine);

    char problem[256];
    const std::string chosen = PathIn("chosen.bin");
    ASSERT_EQ(SelectCardFile(chosen.c_str(), problem, sizeof problem), 1) << problem;
    EXPECT_EQ(LocateEepromFile(&named, &error, DefaultCardFile::NameOnly), 1);
    SelectCardFile(nullptr, problem, sizeof problem);
    EXPECT_EQ(named, chosen);
    EXPECT_NE(access(chosen.c_str(), F_OK), 0);  // a named file is never made

    UnsetVariable(EEPROM_FILE_VARIABLE);
    UnsetVariable("XDG_DATA_HOME");
    SetVariable("HOME", "");  // empty is unset: the user database's home folder then
    ASSERT_EQ(LocateEepromFile(&named, &error, DefaultCardFile::NameOnly), 1);
    EXPECT_EQ(named.rfind("/.local/share/vymcnf/eeprom.bin"), named.size() - 31);
    EXPECT_NE(named.find(m_folder), 0u);
}

// Whatever stands at the default card's name is the user's, even a link that leads nowhere: it
// is never replaced by a new card (the open then refuses it).
TEST_F(DefaultEepromFileTest, ALinkAtTheCardsNameIsKeptAsItIs) {
    ASSERT_EQ(mkdir((m_folder + "/data").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((m_folder + "/data/vymcnf").c_str(), 0700), 0);
    ASSERT_EQ(symlink(PathIn("nowhere.bin").c_str(), DefaultPath().c_str()), 0);
    DWORD error = 0;
    EXPECT_EQ(CreateEepromFileIfAbsent(DefaultPath(), &error), 1);
    struct stat status;
    ASSERT_EQ(lstat(DefaultPath().c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_NE(access(PathIn("nowhere.bin").c_str(), F_OK), 0);
    EXPECT_EQ(FolderEntries(m_folder + "/data/vymcnf"), std::vector<std::string>{"eeprom.bin"});
}
