#include <gtest/gtest.h>

#include <string>

#include "win32/ProgramCommandLine.h"

namespace {

std::string After(const char* commandLine) {
    return CommandLineAfterProgramName(commandLine);
}

TEST(ProgramCommandLine, TheNameEndsAtTheFirstBlankAndTheBlanksAfterItGo) {
    EXPECT_EQ(After("vymsetup.exe"), "");
    EXPECT_EQ(After("vymsetup.exe   /x  y "), "/x  y ");
    EXPECT_EQ(After("vymsetup.exe\t\ta"), "a");
    EXPECT_EQ(After(""), "");
    EXPECT_EQ(After(nullptr), "");
}

TEST(ProgramCommandLine, BlanksInsideQuotesArePartOfTheName) {
    EXPECT_EQ(After("\"C:\\Program Files\\vymsetup.exe\" a b"), "a b");
    EXPECT_EQ(After("C:\\My\" \"Files\\vymsetup.exe a"), "a");
    // An unclosed quote takes the rest as the name.
    EXPECT_EQ(After("\"C:\\Program Files\\vymsetup.exe a"), "");
}

TEST(ProgramCommandLine, BytesAboveAsciiAreNameNotBlanks) {
    EXPECT_EQ(After("C:\\Kart\xE9\\vymsetup.exe \xE9t\xE9"), "\xE9t\xE9");
}

}  // namespace
