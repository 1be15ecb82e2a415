#include <gtest/gtest.h>

#include <string>

#include "text/TextJoin.h"

namespace {

TEST(JoinText, AppendsEveryKindOfTextInOrder) {
    const std::string owned = "card.bin";
    const std::string_view view = " is ";
    const char* pointer = "2048";
    EXPECT_EQ(JoinText(owned, view, pointer, " bytes"), "card.bin is 2048 bytes");
    EXPECT_EQ(JoinText(), "");
    // Text with a zero inside stays whole when it comes as a string.
    EXPECT_EQ(JoinText(std::string("a\0b", 3), "c").size(), 4u);
}

TEST(Quoted, PutsTheTextBetweenDoubleQuotesAsItStands) {
    EXPECT_EQ(Quoted("IRQ 5"), "\"IRQ 5\"");
    EXPECT_EQ(Quoted(""), "\"\"");
    EXPECT_EQ(Quoted("say \"hi\""), "\"say \"hi\"\"");
}

}  // namespace
