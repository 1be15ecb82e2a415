// What a path names, seen without following a link, the refusals built on it, and files opened
// for reading only when they are regular files.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "files/PlatformFiles.h"
#include "testsupport/ScratchFolder.h"

namespace {

FileKind KindAt(const std::string& path) {
    FileKind kind = FileKind::Other;
    CFileError error;
    EXPECT_EQ(KindOfPath(path.c_str(), &kind, &error), 1) << error.reason;
    return kind;
}

TEST(FileKinds, NothingAFileAndAFolderAreToldApart) {
    CScratchFolder scratch;
    EXPECT_EQ(KindAt(scratch.In("absent.bin")), FileKind::Nothing);
    EXPECT_FALSE(PathExists(scratch.In("absent.bin").c_str()));
    CScratchFolder::WriteBytes(scratch.In("card.bin"), {1});
    EXPECT_EQ(KindAt(scratch.In("card.bin")), FileKind::Regular);
    EXPECT_TRUE(IsRegularFile(scratch.In("card.bin").c_str()));
    EXPECT_TRUE(PathExists(scratch.In("card.bin").c_str()));
    EXPECT_EQ(KindAt(scratch.Path().string()), FileKind::Folder);
    EXPECT_FALSE(IsRegularFile(scratch.Path().string().c_str()));
    CFileError error;
    EXPECT_EQ(IsRegularFileOrNothing(scratch.Path().string().c_str(), &error), 0);
    EXPECT_EQ(error.code, NotARegularFileError(FileKind::Folder));
}

#ifndef _WIN32
TEST(FileKinds, ALinkIsALinkEvenWhenItLeadsNowhere) {
    CScratchFolder scratch;
    CScratchFolder::WriteBytes(scratch.In("card.bin"), {1});
    std::filesystem::create_symlink(scratch.In("card.bin"), scratch.In("to-card.bin"));
    std::filesystem::create_symlink(scratch.In("gone.bin"), scratch.In("dangling.bin"));
    EXPECT_EQ(KindAt(scratch.In("to-card.bin")), FileKind::Link);
    EXPECT_FALSE(IsRegularFile(scratch.In("to-card.bin").c_str()));
    EXPECT_EQ(KindAt(scratch.In("dangling.bin")), FileKind::Link);
    EXPECT_TRUE(PathExists(scratch.In("dangling.bin").c_str()));
    CFileError error;
    EXPECT_EQ(IsRegularFileOrNothing(scratch.In("dangling.bin").c_str(), &error), 0);
    EXPECT_EQ(error.code, NotARegularFileError(FileKind::Link));
}

TEST(FileKinds, AFifoIsNoRegularFile) {
    CScratchFolder scratch;
    const std::string fifo = scratch.In("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(KindAt(fifo), FileKind::Other);
    CFileError error;
    EXPECT_EQ(IsRegularFileOrNothing(fifo.c_str(), &error), 0);
    EXPECT_EQ(error.code, NotARegularFileError(FileKind::Other));
}

TEST(FileKinds, AFolderThatCannotBeLookedIntoIsAFailureNotNothing) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root looks into every folder";
    }
    CScratchFolder scratch;
    const std::string closed = scratch.In("closed");
    std::filesystem::create_directory(closed);
    std::filesystem::permissions(closed, std::filesystem::perms::none);
    FileKind kind = FileKind::Other;
    CFileError error;
    EXPECT_EQ(KindOfPath((closed + "/card.bin").c_str(), &kind, &error), 0);
    EXPECT_NE(error.code, 0);
    EXPECT_FALSE(PathExists((closed + "/card.bin").c_str()));
    std::filesystem::permissions(closed, std::filesystem::perms::owner_all);
}
TEST(RegularFileOpen, AFifoAFolderAndADeviceAreRefusedWithoutWaiting) {
    CScratchFolder scratch;
    const std::string fifo = scratch.In("image.bin");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, scratch.Path().string(), std::string("/dev/null")}) {
        bool notAFile = false;
        CFileError error;
        std::FILE* file = OpenRegularFileForReading(path.c_str(), &notAFile, &error);
        EXPECT_EQ(file, nullptr) << path;
        EXPECT_TRUE(notAFile) << path;
        if (file != nullptr) {
            std::fclose(file);
        }
    }
}

TEST(RegularFileOpen, AFileAndALinkToOneAreReadAndAMissingOneHasTheSystemsReason) {
    CScratchFolder scratch;
    const std::string path = scratch.In("image.bin");
    CScratchFolder::WriteBytes(path, {1, 2, 3});
    const std::string link = scratch.In("link.bin");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    for (const std::string& name : {path, link}) {
        bool notAFile = true;
        CFileError error;
        std::FILE* file = OpenRegularFileForReading(name.c_str(), &notAFile, &error);
        ASSERT_NE(file, nullptr) << name;
        EXPECT_FALSE(notAFile);
        unsigned char bytes[4] = {};
        EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, file), 3u);
        EXPECT_EQ(bytes[2], 3);
        std::fclose(file);
    }
    bool notAFile = true;
    CFileError error;
    EXPECT_EQ(OpenRegularFileForReading(scratch.In("absent.bin").c_str(), &notAFile, &error),
              nullptr);
    EXPECT_FALSE(notAFile);
    EXPECT_EQ(error.code, ENOENT);
    EXPECT_STRNE(error.reason, "");
}
#endif

}  // namespace
