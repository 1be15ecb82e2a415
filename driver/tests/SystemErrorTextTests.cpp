#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "driver/ConfigDriver.h"
#include "driver/EmulatedFormatMessage.h"
#include "driver/EmulatedLastError.h"
#include "driver/SystemErrorTexts.h"
#include "driver/testing/DeviceDouble.h"

namespace {
constexpr DWORD kSystemFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kUnknownCode = 0x20001234;  // customer bit set: never a system code
}  // namespace

TEST(SystemErrorTextTable, EveryTextEndsWithTheSystemLineEnding) {
    const DWORD* codes = nullptr;
    const int count = EnglishSystemErrorCodes(&codes);
    ASSERT_GT(count, 10);
    std::set<DWORD> seen;
    for (int i = 0; i < count; ++i) {
        const char* text = EnglishSystemErrorText(codes[i]);
        ASSERT_NE(text, nullptr) << codes[i];
        const std::string message = text;
        EXPECT_GE(message.size(), 4u) << codes[i];
        EXPECT_EQ(message.substr(message.size() - 3), ".\r\n") << codes[i];
        EXPECT_EQ(message.find("\r\n"), message.size() - 2) << codes[i];
        EXPECT_TRUE(seen.insert(codes[i]).second) << "twice: " << codes[i];
        if (i > 0) {
            EXPECT_LT(codes[i - 1], codes[i]);
        }
    }
}

TEST(SystemErrorTextTable, HoldsTheTextsUsersMeetMost) {
    EXPECT_STREQ(EnglishSystemErrorText(ERROR_FILE_NOT_FOUND),
                 "The system cannot find the file specified.\r\n");
    EXPECT_STREQ(EnglishSystemErrorText(ERROR_SHARING_VIOLATION),
                 "The process cannot access the file because it is being used by another "
                 "process.\r\n");
    EXPECT_STREQ(EnglishSystemErrorText(ERROR_ACCESS_DENIED), "Access is denied.\r\n");
    EXPECT_STREQ(EnglishSystemErrorText(ERROR_INVALID_DATA), "The data is invalid.\r\n");
    EXPECT_STREQ(EnglishSystemErrorText(ERROR_FILE_INVALID),
                 "The volume for a file has been externally altered so that the opened file is "
                 "no longer valid.\r\n");
    EXPECT_EQ(EnglishSystemErrorText(ERROR_SUCCESS), nullptr);
    EXPECT_EQ(EnglishSystemErrorText(kUnknownCode), nullptr);
}

TEST(EmulatedFormatMessage, AllocatesTheTextForLocalFree) {
    char* text = nullptr;
    const DWORD length = EmulatedFormatMessageA(kSystemFlags, nullptr, ERROR_ACCESS_DENIED, 0x400,
                                                reinterpret_cast<LPSTR>(&text), 0, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(length, std::strlen("Access is denied.\r\n"));
    EXPECT_STREQ(text, "Access is denied.\r\n");
    EXPECT_EQ(EmulatedLocalFree(text), nullptr);
}

TEST(EmulatedFormatMessage, CopiesIntoTheCallersBufferOnlyWhenItFits) {
    const std::string expected = "The handle is invalid.\r\n";
    char exact[25];
    ASSERT_EQ(sizeof(exact), expected.size() + 1);
    EXPECT_EQ(EmulatedFormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_INVALID_HANDLE, 0,
                                     exact, sizeof(exact), nullptr),
              expected.size());
    EXPECT_EQ(std::string(exact), expected);

    char tooSmall[24];
    std::memset(tooSmall, 'x', sizeof(tooSmall));
    EmulatedSetLastError(ERROR_SUCCESS);
    EXPECT_EQ(EmulatedFormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_INVALID_HANDLE, 0,
                                     tooSmall, sizeof(tooSmall), nullptr),
              0u);
    EXPECT_EQ(EmulatedGetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(EmulatedFormatMessage, UnknownCodeFailsAsTheSystemDoes) {
    char* text = nullptr;
    EXPECT_EQ(EmulatedFormatMessageA(kSystemFlags, nullptr, kUnknownCode, 0x400,
                                     reinterpret_cast<LPSTR>(&text), 0, nullptr),
              0u);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(EmulatedGetLastError(), ERROR_MR_MID_NOT_FOUND);
}

TEST(EmulatedFormatMessage, RefusesWhatItCannotDo) {
    char buffer[256];
    EXPECT_EQ(EmulatedFormatMessageA(FORMAT_MESSAGE_FROM_STRING, "x", 0, 0, buffer, sizeof(buffer),
                                     nullptr),
              0u);
    EXPECT_EQ(EmulatedGetLastError(), ERROR_INVALID_PARAMETER);
    // Inserts without arguments: refused rather than read from nowhere.
    EXPECT_EQ(EmulatedFormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_MR_MID_NOT_FOUND, 0,
                                     buffer, sizeof(buffer), nullptr),
              0u);
    EXPECT_EQ(EmulatedGetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_GT(
        EmulatedFormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               ERROR_MR_MID_NOT_FOUND, 0, buffer, sizeof(buffer), nullptr),
        0u);
    EXPECT_NE(std::strstr(buffer, "0x%1"), nullptr);
}

TEST(EmulatedLastError, IsKeptPerThread) {
    EmulatedSetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOther = 12345;
    std::thread other([&seenByOther] {
        EmulatedSetLastError(ERROR_SHARING_VIOLATION);
        seenByOther = EmulatedGetLastError();
    });
    other.join();
    EXPECT_EQ(seenByOther, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(EmulatedGetLastError(), ERROR_ACCESS_DENIED);
}

class SystemErrorTextTest : public ::testing::Test {
protected:
    CDeviceDouble card;
    char buffer[2048];
    void SetUp() override { std::memset(buffer, 'x', sizeof(buffer)); }
};

TEST_F(SystemErrorTextTest, CopiesTheSystemTextWithItsLineEndingAndReleasesIt) {
    EXPECT_EQ(SystemErrorText(ERROR_SHARING_VIOLATION, buffer, sizeof(buffer)), buffer);
    EXPECT_STREQ(buffer,
                 "The process cannot access the file because it is being used by another "
                 "process.\r\n");
    EXPECT_EQ(card.unreleasedTexts, 0);
}

TEST_F(SystemErrorTextTest, UnknownCodeGivesAnEmptyText) {
    EXPECT_EQ(SystemErrorText(kUnknownCode, buffer, sizeof(buffer)), buffer);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(card.unreleasedTexts, 0);
}

TEST_F(SystemErrorTextTest, EachCallReplacesThePreviousText) {
    SystemErrorText(ERROR_SHARING_VIOLATION, buffer, sizeof(buffer));
    SystemErrorText(ERROR_ACCESS_DENIED, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "Access is denied.\r\n");
    SystemErrorText(kUnknownCode, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
}

TEST_F(SystemErrorTextTest, TextThatJustFitsIsKeptWhole) {
    card.SetSystemText(7000, std::string(2047, 'a'));
    SystemErrorText(7000, buffer, sizeof(buffer));
    EXPECT_EQ(std::strlen(buffer), 2047u);
    EXPECT_EQ(card.unreleasedTexts, 0);
}

TEST_F(SystemErrorTextTest, LongTextIsCutToTheBuffer) {
    card.SetSystemText(7000, std::string(5000, 'b') + "\r\n");
    SystemErrorText(7000, buffer, sizeof(buffer));
    EXPECT_EQ(std::string(buffer), std::string(2047, 'b'));
    EXPECT_EQ(card.unreleasedTexts, 0);
}

TEST_F(SystemErrorTextTest, CutNeverSplitsAMultiByteCharacter) {
    // 2046 single bytes, then a three-byte character that would need bytes 2046 to 2048.
    card.SetSystemText(7001, std::string(2046, 'c') + "\xE2\x82\xAC" + "tail");
    SystemErrorText(7001, buffer, sizeof(buffer));
    EXPECT_EQ(std::string(buffer), std::string(2046, 'c'));

    // A two-byte character ending exactly at the last byte of room stays.
    card.SetSystemText(7002, std::string(2045, 'd') + "\xC3\xA9" + "tail");
    SystemErrorText(7002, buffer, sizeof(buffer));
    EXPECT_EQ(std::string(buffer), std::string(2045, 'd') + "\xC3\xA9");
}

TEST_F(SystemErrorTextTest, BrokenSequencesAreCopiedByteForByte) {
    card.SetSystemText(7003, "ab\xE2z\x80!");
    SystemErrorText(7003, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "ab\xE2z\x80!");
}

TEST_F(SystemErrorTextTest, TinyBuffersStayTerminated) {
    char one[1] = {'x'};
    SystemErrorText(ERROR_ACCESS_DENIED, one, sizeof(one));
    EXPECT_EQ(one[0], '\0');

    char four[4];
    SystemErrorText(ERROR_ACCESS_DENIED, four, sizeof(four));
    EXPECT_STREQ(four, "Acc");

    char untouched[1] = {'x'};
    EXPECT_EQ(SystemErrorText(ERROR_ACCESS_DENIED, untouched, 0), untouched);
    EXPECT_EQ(untouched[0], 'x');
    EXPECT_EQ(SystemErrorText(ERROR_ACCESS_DENIED, nullptr, 10), nullptr);
    EXPECT_EQ(card.unreleasedTexts, 0);
}
