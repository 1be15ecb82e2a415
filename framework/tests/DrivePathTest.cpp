#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/DrivePath.h"
#include "testsupport/TemporaryFolder.h"

namespace {

class DrivePathTest : public ::testing::Test {
protected:
    void SetUp() override { m_variables.Remove("VYMCNF_DRIVE_C"); }
    static std::string Map(const char* path, std::size_t size = 256) {
        char buffer[256];
        if (MapWindowsPath(path, buffer, size) != 1) {
            EXPECT_STREQ(buffer, "");
            return "<refused>";
        }
        return buffer;
    }

    CScopedVariables m_variables;
};

#ifdef _WIN32
// On Windows the program's paths are the system's own: they pass through unchanged, and the
// system resolves drives and ".." itself.
TEST_F(DrivePathTest, WindowsPathsPassThroughUnchanged) {
    EXPECT_EQ(Map("c:\\tt.bin"), "c:\\tt.bin");
    EXPECT_EQ(Map("C:\\dir\\tt.bin"), "C:\\dir\\tt.bin");
    EXPECT_EQ(Map("\\tt.bin"), "\\tt.bin");
    EXPECT_EQ(Map("tt.bin"), "tt.bin");
    EXPECT_EQ(Map("d:\\tt.bin"), "d:\\tt.bin");
    EXPECT_EQ(Map("c:\\a\\..\\tt.bin"), "c:\\a\\..\\tt.bin");
}

TEST_F(DrivePathTest, DriveFolderVariableIsIgnoredOnWindows) {
    m_variables.Set("VYMCNF_DRIVE_C", "Z:\\tmp\\drive-c\\");
    EXPECT_EQ(Map("c:\\tt.bin"), "c:\\tt.bin");
    EXPECT_EQ(Map("\\tt.bin"), "\\tt.bin");
}

TEST_F(DrivePathTest, OverlongAndMissingPathsAreRefused) {
    // "c:\tt.bin" is 9 characters: it needs 10 bytes with its terminator.
    EXPECT_EQ(Map("c:\\tt.bin", 10), "c:\\tt.bin");
    EXPECT_EQ(Map("c:\\tt.bin", 9), "<refused>");
    EXPECT_EQ(Map(nullptr), "<refused>");
}
#else
TEST_F(DrivePathTest, DriveCIsTheCurrentFolderByDefault) {
    EXPECT_EQ(Map("c:\\tt.bin"), "./tt.bin");
    EXPECT_EQ(Map("C:\\dir\\tt.bin"), "./dir/tt.bin");
    EXPECT_EQ(Map("\\tt.bin"), "./tt.bin");
    EXPECT_EQ(Map("tt.bin"), "tt.bin");
}

TEST_F(DrivePathTest, DriveCIsTheNamedFolder) {
    m_variables.Set("VYMCNF_DRIVE_C", "/tmp/drive-c/");
    EXPECT_EQ(Map("c:\\tt.bin"), "/tmp/drive-c/tt.bin");
    m_variables.Set("VYMCNF_DRIVE_C", "/");
    EXPECT_EQ(Map("c:\\tt.bin"), "/tt.bin");
    m_variables.Set("VYMCNF_DRIVE_C", "");
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
#endif

TEST_F(DrivePathTest, ZeroSizeBufferIsLeftAlone) {
    char buffer[1] = {'x'};
    EXPECT_EQ(MapWindowsPath("c:\\tt.bin", buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');
}

}  // namespace
