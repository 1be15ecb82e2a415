#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/CommandLineWords.h"

namespace {

std::vector<std::string> Words(const char* commandLine, int maxWords = 8) {
    std::string line = commandLine;
    std::vector<char*> words(static_cast<std::size_t>(maxWords));
    const int count = SplitCommandLine(line.data(), words.data(), maxWords);
    if (count < 0) {
        return {"(too many)"};
    }
    return std::vector<std::string>(words.begin(), words.begin() + count);
}

using List = std::vector<std::string>;

TEST(ProgramCommandLine, AFileDroppedOnTheProgramIsOneWord) {
    EXPECT_EQ(Words("\"C:\\Users\\me\\My Dumps\\chip.bin\""),
              List{"C:\\Users\\me\\My Dumps\\chip.bin"});
    EXPECT_EQ(Words("C:\\dumps\\chip.bin"), List{"C:\\dumps\\chip.bin"});
    EXPECT_EQ(Words("--card \"Z:\\tmp\\a b.bin\""), List({"--card", "Z:\\tmp\\a b.bin"}));
    EXPECT_EQ(Words("  -c   a.bin  "), List({"-c", "a.bin"}));
    EXPECT_EQ(Words(""), List{});
    EXPECT_EQ(Words("   "), List{});
}

TEST(ProgramCommandLine, QuotesAndBackslashesFollowTheRuntimesRules) {
    EXPECT_EQ(Words("a\"b c\"d"), List{"ab cd"});
    EXPECT_EQ(Words("\"\""), List{""});
    EXPECT_EQ(Words("a\\\\\"b c\""), List{"a\\b c"});   // 2 backslashes and a quote
    EXPECT_EQ(Words("a\\\"b c"), List({"a\"b", "c"}));  // 1 backslash and a quote
    EXPECT_EQ(Words("\\\\server\\share\\x.bin"), List{"\\\\server\\share\\x.bin"});
    EXPECT_EQ(Words("\"unclosed quote"), List{"unclosed quote"});
}

TEST(ProgramCommandLine, MoreWordsThanRoomAreRefused) {
    EXPECT_EQ(Words("a b c", 2), List{"(too many)"});
    EXPECT_EQ(Words("a b", 2), List({"a", "b"}));
}

}  // namespace
