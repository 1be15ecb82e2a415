// Image files that are not files: a FIFO (which would wait for a writer for good), a folder or
// a device is refused at once with its name, and nothing reaches the card.
#include <sys/stat.h>

#include "cli/tests/CliFixture.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string NotAFileText(const std::string& path) {
    return "couldn't read " + path +
           ": it is not a regular file; an EEPROM image is a file of 2048 bytes.";
}

TEST_F(VymcnfTest, InfoWriteAndVerifyRefuseAFifoAFolderAndADeviceWithoutWaiting) {
    const std::string fifo = PathIn("image.bin");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = PathIn("folder.bin");
    std::filesystem::create_directories(folder);
    for (const std::string& path : {fifo, folder, std::string("/dev/zero")}) {
        EXPECT_EQ(Run({"info", path}), 1) << path;
        EXPECT_EQ(err, "vymcnf: " + NotAFileText(path) + "\n");
        EXPECT_EQ(Run({"verify", path}), 1) << path;
        EXPECT_TRUE(Contains(err, NotAFileText(path))) << err;
        EXPECT_EQ(Run({"write", "--force", path}), 1) << path;
        EXPECT_EQ(err, "vymcnf: " + NotAFileText(path) + " Nothing was written.\n");
    }
    EXPECT_EQ(card.openCount, 0);  // the file is read before the card is opened
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Backups().empty());
}

TEST_F(VymcnfTest, TheBackupListingPassesOverAFifoNamedLikeABackup) {
    std::filesystem::create_directories(BackupFolder());
    WriteFile("backups/eeprom-20240101-101010Z.bin", FactoryBytes());
    const std::string fifo = BackupFolder() + "/eeprom-20240101-111111Z.bin";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(Run({"backups"}), 0) << err;
    EXPECT_TRUE(Contains(out, "eeprom-20240101-101010Z.bin: logical devices 6")) << out;
    EXPECT_FALSE(Contains(out, "111111Z")) << out;
}

}  // namespace
