#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/DrivePath.h"

namespace {

// The C runtime on Windows has no setenv; _putenv_s with an empty value removes the variable.
void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

void RemoveVariable(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

class DrivePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("VYMCNF_DRIVE_C");
        m_hadOld = old != nullptr;
        m_old = old != nullptr ? old : "";
        RemoveVariable("VYMCNF_DRIVE_C");
    }
    void TearDown() override {
        if (m_hadOld) {
            SetVariable("VYMCNF_DRIVE_C", m_old.c_str());
        } else {
            RemoveVariable("VYMCNF_DRIVE_C");
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
    SetVariable("VYMCNF_DRIVE_C", "Z:\\tmp\\drive-c\\");
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
    SetVariable("VYMCNF_DRIVE_C", "/tmp/drive-c/");
    EXPECT_EQ(Map("c:\\tt.bin"), "/tmp/drive-c/tt.bin");
    SetVariable("VYMCNF_DRIVE_C", "/");
    EXPECT_EQ(Map("c:\\tt.bin"), "/tt.bin");
    SetVariable("VYMCNF_DRIVE_C", "");
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
