#include <gtest/gtest.h>

#include "terminal/TextWrap.h"

namespace {

using Lines = std::vector<std::string>;

TEST(WrapText, EveryKindOfLineEndStartsALine) {
    EXPECT_EQ(WrapText("one\r\ntwo\nthree\rfour", 40), (Lines{"one", "two", "three", "four"}));
}

TEST(WrapText, LineEndsAtTheEndAddNoEmptyLines) {
    // The system's texts end in a line end.
    EXPECT_EQ(WrapText("The system cannot find the file specified.\r\n", 60),
              (Lines{"The system cannot find the file specified."}));
    EXPECT_EQ(WrapText("Port 0, Start: 530, End: 530\n\nDMA 0, Channel: 2\n\n\n", 60),
              (Lines{"Port 0, Start: 530, End: 530", "", "DMA 0, Channel: 2"}));
    EXPECT_EQ(WrapText("", 10), (Lines{""}));
}

TEST(WrapText, EmptyLinesInsideTheTextStay) {
    EXPECT_EQ(WrapText("a\n\n\nb", 10), (Lines{"a", "", "", "b"}));
}

TEST(WrapText, LongLinesBreakAfterTheirLastSpaceThatFits) {
    EXPECT_EQ(WrapText("Settings are changed. Do you want to write", 22),
              (Lines{"Settings are changed.", "Do you want to write"}));
    EXPECT_EQ(WrapText("aaaa bbbb ", 4), (Lines{"aaaa", "bbbb"}));
    EXPECT_EQ(WrapText("a  b", 1), (Lines{"a", "b"}));
}

TEST(WrapText, AWordLongerThanTheWidthIsCut) {
    EXPECT_EQ(WrapText("abcdefghij", 4), (Lines{"abcd", "efgh", "ij"}));
    EXPECT_EQ(WrapText("x /tmp/very/long/path", 8), (Lines{"x", "/tmp/ver", "y/long/p", "ath"}));
}

TEST(WrapText, EveryCharacterTakesOneCell) {
    EXPECT_EQ(WrapText("a\tb\x01"
                       "c\x7f\xc3\xa9",
                       40),
              (Lines{"a b?c???"}));
}

TEST(WrapText, NoWidthStillEnds) {
    EXPECT_EQ(WrapText("ab", 0), (Lines{"a", "b"}));
    EXPECT_EQ(WrapText("ab", -5), (Lines{"a", "b"}));
}

TEST(LongestLine, CountsCellsOfTheWidestLine) {
    EXPECT_EQ(LongestLine("ab\r\nabcd\nabc"), 4);
    EXPECT_EQ(LongestLine(""), 0);
}

}  // namespace
