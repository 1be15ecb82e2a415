#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/DrivePath.h"

namespace {

class DrivePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("VYMCNF_DRIVE_C");
        m_hadOld = old != nullptr;
        m_old = old != nullptr ? old : "";
        unsetenv("VYMCNF_DRIVE_C");
    }
    void TearDown() override {
        if (m_hadOld) {
            setenv("VYMCNF_DRIVE_C", m_old.c_str(), 1);
        } else {
            unsetenv("VYMCNF_DRIVE_C");
        }
    }
    static std::string Map(const char* path, std::size_t size = 256) {
        char buffer[256];
        if (MapWindowsPath(path, buffer, size) != 1) {
            EXPECT_STREQ(buffer, "");
            return "<refused>";
        }
        return buffer;
    }

private:
    bool m_hadOld = false;
    std::string m_old;
};

#ifndef _WIN32
TEST_F(DrivePathTest, DriveCIsTheCurrentFolderByDefault) {
    EXPECT_EQ(Map("c:\\tt.bin"), "./tt.bin");
    EXPECT_EQ(Map("C:\\dir\\tt.bin"), "./dir/tt.bin");
    EXPECT_EQ(Map("\\tt.bin"), "./tt.bin");
    EXPECT_EQ(Map("tt.bin"), "tt.bin");
}

TEST_F(DrivePathTest, DriveCIsTheNamedFolder) {
    setenv("VYMCNF_DRIVE_C", "/tmp/drive-c/", 1);
    EXPECT_EQ(Map("c:\\tt.bin"), "/tmp/drive-c/tt.bin");
    setenv("VYMCNF_DRIVE_C", "/", 1);
    EXPECT_EQ(Map("c:\\tt.bin"), "/tt.bin");
    setenv("VYMCNF_DRIVE_C", "", 1);
    EXPECT_EQ(Map("c:\\tt.bin"), "./tt.bin");
}

TEST_F(DrivePathTest, OtherDrivesClimbingOutAndOverlongPathsAreRefused) {
    EXPECT_EQ(Map("d:\\tt.bin"), "<refused>");
    EXPECT_EQ(Map("c:\\..\\etc\\passwd"), "<refused>");
    EXPECT_EQ(Map("c:\\a\\..\\tt.bin"), "<refused>");
    EXPECT_EQ(Map("c:\\..x\\tt.bin"), "./..x/tt.bin");
    EXPECT_EQ(Map("c:\\tt.bin", 9), "./tt.bin");
    EXPECT_EQ(Map("c:\\tt.bin", 8), "<refused>");
    EXPECT_EQ(Map(nullptr), "<refused>");
}

TEST_F(DrivePathTest, ZeroSizeBufferIsLeftAlone) {
    char buffer[1] = {'x'};
    EXPECT_EQ(MapWindowsPath("c:\\tt.bin", buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');
}
#endif

}  // namespace
