// Where the driver looks for its EEPROM file: the rules from the service's EepromFile and
// ImagePath values to one NT path.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "emulator/driver/NtPath.h"

namespace {

using Text = std::u16string;

VYMCNF_TEXT View(const Text& text) {
    return {reinterpret_cast<const VYMCNF_CHAR*>(text.data()), static_cast<unsigned>(text.size())};
}

VYMCNF_VALUE Value(const std::optional<Text>& text) {
    if (!text) {
        return {0, {nullptr, 0}};
    }
    return {1, View(*text)};
}

struct CComposed {
    VYMCNF_PATH_RESULT result;
    Text path;
};

CComposed Compose(const std::optional<Text>& eepromFile, const std::optional<Text>& imagePath,
                  unsigned capacity = 1024) {
    // One spare unit past the capacity shows any write beyond it.
    std::vector<VYMCNF_CHAR> buffer(capacity + 1, u'#');
    VYMCNF_PATH path{buffer.data(), 99, capacity};
    VYMCNF_PATH_RESULT result = VymCnfComposeEepromPath(&path, Value(eepromFile), Value(imagePath));
    EXPECT_EQ(buffer[capacity], u'#') << "written past the capacity";
    return {result, Text(reinterpret_cast<const char16_t*>(buffer.data()), path.count)};
}

const Text kImage = u"C:\\vymcnf\\vymcnf.sys";

TEST(DefaultEepromFile, LiesBesideTheDriverImage) {
    CComposed composed = Compose(std::nullopt, kImage);
    EXPECT_EQ(composed.result, VYMCNF_PATH_OK);
    EXPECT_EQ(composed.path, u"\\??\\C:\\vymcnf\\vymcnf.bin");
}

TEST(DefaultEepromFile, FollowsEveryFormOfImagePath) {
    EXPECT_EQ(Compose(std::nullopt, u"\\SystemRoot\\System32\\drivers\\vymcnf.sys").path,
              u"\\SystemRoot\\System32\\drivers\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, u"System32\\drivers\\vymcnf.sys").path,
              u"\\SystemRoot\\System32\\drivers\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, u"\\??\\D:\\cards\\vymcnf.sys").path,
              u"\\??\\D:\\cards\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, u"\\\\server\\share\\vymcnf.sys").path,
              u"\\??\\UNC\\server\\share\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, u"\\\\?\\C:\\long\\vymcnf.sys").path,
              u"\\??\\C:\\long\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, u"vymcnf.sys").path, u"\\SystemRoot\\vymcnf.bin");
}

TEST(DefaultEepromFile, QuotedImagePathWithSpaces) {
    EXPECT_EQ(Compose(std::nullopt, u"\"C:\\vym card\\vymcnf.sys\"").path,
              u"\\??\\C:\\vym card\\vymcnf.bin");
    // Without its closing quote the rest is the path.
    EXPECT_EQ(Compose(std::nullopt, u"\"C:\\vym card\\vymcnf.sys").path,
              u"\\??\\C:\\vym card\\vymcnf.bin");
}

TEST(DefaultEepromFile, NoOrEmptyImagePathMeansTheSystemDriversFolder) {
    EXPECT_EQ(Compose(std::nullopt, std::nullopt).path,
              u"\\SystemRoot\\System32\\drivers\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, Text(u"")).path,
              u"\\SystemRoot\\System32\\drivers\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, Text(u"\0\0", 2)).path,
              u"\\SystemRoot\\System32\\drivers\\vymcnf.bin");
    EXPECT_EQ(Compose(std::nullopt, Text(u"\"\"")).path,
              u"\\SystemRoot\\System32\\drivers\\vymcnf.bin");
}

TEST(DefaultEepromFile, TerminatorsInTheRegistryDataAreNotText) {
    EXPECT_EQ(Compose(std::nullopt, kImage + Text(u"\0\0", 2)).path,
              u"\\??\\C:\\vymcnf\\vymcnf.bin");
}

TEST(NamedEepromFile, AbsolutePathsIgnoreTheDriverFolder) {
    EXPECT_EQ(Compose(u"D:\\cards\\one.bin", kImage).path, u"\\??\\D:\\cards\\one.bin");
    EXPECT_EQ(Compose(u"d:\\cards\\one.bin", std::nullopt).path, u"\\??\\d:\\cards\\one.bin");
    EXPECT_EQ(Compose(u"C:\\vym card\\eeprom.bin", kImage).path, u"\\??\\C:\\vym card\\eeprom.bin");
}

TEST(NamedEepromFile, Win32DeviceAndUncFormsBecomeNtPaths) {
    EXPECT_EQ(Compose(u"\\\\?\\C:\\x.bin", kImage).path, u"\\??\\C:\\x.bin");
    EXPECT_EQ(Compose(u"\\\\.\\C:\\x.bin", kImage).path, u"\\??\\C:\\x.bin");
    EXPECT_EQ(Compose(u"\\\\server\\share\\x.bin", kImage).path,
              u"\\??\\UNC\\server\\share\\x.bin");
}

TEST(NamedEepromFile, NtPathsStayAsTheyAre) {
    EXPECT_EQ(Compose(u"\\??\\C:\\x.bin", kImage).path, u"\\??\\C:\\x.bin");
    EXPECT_EQ(Compose(u"\\Device\\HarddiskVolume1\\x.bin", kImage).path,
              u"\\Device\\HarddiskVolume1\\x.bin");
}

TEST(NamedEepromFile, RelativePathsLieInTheDriverFolder) {
    EXPECT_EQ(Compose(u"cards\\one.bin", kImage).path, u"\\??\\C:\\vymcnf\\cards\\one.bin");
    EXPECT_EQ(Compose(u"one.bin", std::nullopt).path, u"\\SystemRoot\\System32\\drivers\\one.bin");
    // A digit before the colon is no drive letter.
    EXPECT_EQ(Compose(u"1:\\x.bin", kImage).path, u"\\??\\C:\\vymcnf\\1:\\x.bin");
}

TEST(NamedEepromFile, TrailingTerminatorsAreDropped) {
    EXPECT_EQ(Compose(Text(u"D:\\x.bin\0", 9), kImage).path, u"\\??\\D:\\x.bin");
}

TEST(NamedEepromFile, EmptyValueIsRefusedNotReplacedByTheDefault) {
    CComposed empty = Compose(Text(u""), kImage);
    EXPECT_EQ(empty.result, VYMCNF_PATH_EMPTY_VALUE);
    EXPECT_EQ(empty.path, u"");
    CComposed terminators = Compose(Text(u"\0\0", 2), kImage);
    EXPECT_EQ(terminators.result, VYMCNF_PATH_EMPTY_VALUE);
    EXPECT_EQ(terminators.path, u"");
}

TEST(PathLength, AnExactFitIsAcceptedOneLessIsRefusedWhole) {
    const Text expected = u"\\??\\D:\\cards\\one.bin";
    const auto exact = static_cast<unsigned>(expected.size());
    EXPECT_EQ(Compose(u"D:\\cards\\one.bin", kImage, exact).path, expected);
    CComposed tooLong = Compose(u"D:\\cards\\one.bin", kImage, exact - 1);
    EXPECT_EQ(tooLong.result, VYMCNF_PATH_TOO_LONG);
    EXPECT_EQ(tooLong.path, u"");
}

TEST(PathLength, TheDefaultNameMustFitBehindTheFolder) {
    const Text expected = u"\\??\\C:\\vymcnf\\vymcnf.bin";
    const auto exact = static_cast<unsigned>(expected.size());
    EXPECT_EQ(Compose(std::nullopt, kImage, exact).result, VYMCNF_PATH_OK);
    CComposed tooLong = Compose(std::nullopt, kImage, exact - 1);
    EXPECT_EQ(tooLong.result, VYMCNF_PATH_TOO_LONG);
    EXPECT_EQ(tooLong.path, u"");
    // The folder alone does not fit either.
    EXPECT_EQ(Compose(std::nullopt, kImage, 5).result, VYMCNF_PATH_TOO_LONG);
    EXPECT_EQ(Compose(std::nullopt, std::nullopt, 5).result, VYMCNF_PATH_TOO_LONG);
}

TEST(PathPieces, AppendIsAllOrNothing) {
    VYMCNF_CHAR buffer[8] = {};
    VYMCNF_PATH path{buffer, 0, 8};
    const Text first = u"\\ab";
    const Text second = u"cdefgh";
    const Text third = u"h";
    EXPECT_EQ(VymCnfAppend(&path, View(first)), 1);
    EXPECT_EQ(VymCnfAppend(&path, View(second)), 0);
    EXPECT_EQ(path.count, 3u);
    EXPECT_EQ(VymCnfAppend(&path, View(u"cdef")), 1);
    EXPECT_EQ(VymCnfAppend(&path, View(third)), 1);
    EXPECT_EQ(path.count, 8u);
    EXPECT_EQ(VymCnfAppend(&path, View(third)), 0);
    EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(buffer), 8), u"\\abcdefh");
}

TEST(PathPieces, NtFormKeepsThePathWhenOnlyThePrefixWouldFit) {
    VYMCNF_CHAR buffer[6] = {};
    VYMCNF_PATH path{buffer, 0, 6};
    EXPECT_EQ(VymCnfAppendNtForm(&path, View(u"C:\\x.bin")), 0);
    EXPECT_EQ(path.count, 0u);
}

TEST(PathPieces, CutToFolderNeedsABackslash) {
    VYMCNF_CHAR buffer[16] = {};
    VYMCNF_PATH path{buffer, 0, 16};
    VymCnfAppend(&path, View(u"abc"));
    EXPECT_EQ(VymCnfCutToFolder(&path), 0);
    EXPECT_EQ(path.count, 3u);
    VymCnfAppend(&path, View(u"\\d\\e"));
    EXPECT_EQ(VymCnfCutToFolder(&path), 1);
    EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(buffer), path.count), u"abc\\d\\");
}

TEST(PathPieces, AbsoluteMeansADriveOrALeadingBackslash) {
    EXPECT_TRUE(VymCnfIsAbsolute(View(u"C:")));
    EXPECT_TRUE(VymCnfIsAbsolute(View(u"z:\\")));
    EXPECT_TRUE(VymCnfIsAbsolute(View(u"\\x")));
    EXPECT_FALSE(VymCnfIsAbsolute(View(u"")));
    EXPECT_FALSE(VymCnfIsAbsolute(View(u"C")));
    EXPECT_FALSE(VymCnfIsAbsolute(View(u"x\\C:")));
    EXPECT_FALSE(VymCnfIsAbsolute(View(u"@:\\")));
}

}  // namespace
