// Files complete or not there at all, and the path helpers they are placed with.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "files/CompleteFile.h"
#include "files/PlatformFiles.h"
#include "testsupport/ScratchFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string FolderOf(const char* path, std::size_t size = 64) {
    char folder[64];
    if (FolderOfPath(path, folder, size) == 0) {
        return "(no room)";
    }
    return folder;
}

int Save(const std::string& path, const Bytes& bytes, bool replace, CFileError* error) {
    return SaveCompleteFile(path.c_str(), bytes.data(), bytes.size(), replace, error);
}

// The scratch folder holds name and nothing else (no temporary file left over), with bytes.
void ExpectOnlyFile(const CScratchFolder& scratch, const std::string& name, const Bytes& bytes) {
    EXPECT_EQ(FileBytes(scratch.In(name)), bytes);
    EXPECT_EQ(CScratchFolder::Names(scratch.Path().string()), (std::vector<std::string>{name}));
}

TEST(CompleteFile, ASavedFileHoldsEveryByteAndNothingElseIsLeft) {
    CScratchFolder scratch;
    const std::string path = scratch.In("card.bin");
    const Bytes bytes(2048, 0xA5);
    CFileError error;
    ASSERT_EQ(Save(path, bytes, false, &error), 1) << error.reason;
    ExpectOnlyFile(scratch, "card.bin", bytes);
}

TEST(CompleteFile, AnExistingFileIsKeptUnlessItIsToBeReplaced) {
    CScratchFolder scratch;
    const std::string path = scratch.In("card.bin");
    CScratchFolder::WriteBytes(path, {1, 2, 3});
    const Bytes bytes(2048, 0x5A);
    CFileError error;
    EXPECT_EQ(Save(path, bytes, false, &error), 0);
    EXPECT_TRUE(IsNameTaken(error)) << error.code << " " << error.reason;
    ExpectOnlyFile(scratch, "card.bin", Bytes{1, 2, 3});

    ASSERT_EQ(Save(path, bytes, true, &error), 1) << error.reason;
    ExpectOnlyFile(scratch, "card.bin", bytes);
}

TEST(CompleteFile, AMissingFolderIsAFailureWithTheSystemsReason) {
    CScratchFolder scratch;
    const std::string path = scratch.In("missing/card.bin");
    const Bytes bytes(16, 0);
    CFileError error;
    EXPECT_EQ(Save(path, bytes, false, &error), 0);
    EXPECT_NE(error.code, 0);
    EXPECT_STRNE(error.reason, "");
    EXPECT_TRUE(CScratchFolder::Names(scratch.Path().string()).empty());
}

TEST(CompleteFile, TheFolderOfAPath) {
    EXPECT_EQ(FolderOf("card.bin"), ".");
    EXPECT_EQ(FolderOf("cards/card.bin"), "cards");
    EXPECT_EQ(FolderOf("/card.bin"), "/");
    EXPECT_EQ(FolderOf("/srv/cards/card.bin"), "/srv/cards");
    EXPECT_EQ(FolderOf("/srv/cards/card.bin", 10), "(no room)");
#ifdef _WIN32
    EXPECT_EQ(FolderOf("C:\\card.bin"), "C:\\");
    EXPECT_EQ(FolderOf("C:card.bin"), "C:");
    EXPECT_EQ(FolderOf("D:\\cards\\card.bin"), "D:\\cards");
#endif
}

TEST(CompleteFile, APathInAFolderHasOneSeparator) {
    char path[32];
    const std::string separator(1, PathSeparator());
    ASSERT_EQ(PathInFolder("backups", "a.bin", path, sizeof path), 1);
    EXPECT_EQ(std::string(path), "backups" + separator + "a.bin");
    ASSERT_EQ(PathInFolder(("backups" + separator).c_str(), "a.bin", path, sizeof path), 1);
    EXPECT_EQ(std::string(path), "backups" + separator + "a.bin");
    ASSERT_EQ(PathInFolder(separator.c_str(), "a.bin", path, sizeof path), 1);
    EXPECT_EQ(std::string(path), separator + "a.bin");
    EXPECT_EQ(PathInFolder("backups", "a-much-longer-name-than-fits.bin", path, sizeof path), 0);
}

}  // namespace

namespace {

// What only a regular file of its own may be replaced by: a link planted at the name is neither
// followed nor replaced, a FIFO never waited on, and a file there before stays until the new
// one is complete.
TEST(ReplaceRegularFile, ReplacesARegularFileAndMakesAMissingOne) {
    CScratchFolder scratch;
    const std::string path = scratch.In("tt.bin");
    const Bytes first(500, 0x11);
    const Bytes second(500, 0x22);
    CFileError error;
    ASSERT_EQ(ReplaceRegularFile(path.c_str(), first.data(), first.size(), &error), 1)
        << error.reason;
    ASSERT_EQ(ReplaceRegularFile(path.c_str(), second.data(), second.size(), &error), 1)
        << error.reason;
    ExpectOnlyFile(scratch, "tt.bin", second);
}

TEST(ReplaceRegularFile, AFolderAtTheNameIsRefused) {
    CScratchFolder scratch;
    const std::string path = scratch.In("tt.bin");
    std::filesystem::create_directory(path);
    const Bytes bytes(500, 0x33);
    CFileError error;
    EXPECT_EQ(ReplaceRegularFile(path.c_str(), bytes.data(), bytes.size(), &error), 0);
    EXPECT_NE(error.code, 0);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

#ifndef _WIN32
TEST(ReplaceRegularFile, ALinkAtTheNameIsNeitherFollowedNorReplaced) {
    CScratchFolder scratch;
    const std::string target = scratch.In("target.bin");
    const std::string path = scratch.In("tt.bin");
    CScratchFolder::WriteBytes(target, {1, 2, 3});
    std::filesystem::create_symlink(target, path);
    const Bytes bytes(500, 0x44);
    CFileError error;
    EXPECT_EQ(ReplaceRegularFile(path.c_str(), bytes.data(), bytes.size(), &error), 0);
    EXPECT_EQ(FileBytes(target), (Bytes{1, 2, 3}));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(CScratchFolder::Names(scratch.Path().string()),
              (std::vector<std::string>{"target.bin", "tt.bin"}));
}

TEST(ReplaceRegularFile, AFifoAtTheNameIsRefusedWithoutWaiting) {
    CScratchFolder scratch;
    const std::string path = scratch.In("tt.bin");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const Bytes bytes(500, 0x55);
    CFileError error;
    EXPECT_EQ(ReplaceRegularFile(path.c_str(), bytes.data(), bytes.size(), &error), 0);
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}
#endif

}  // namespace
