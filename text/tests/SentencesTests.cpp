#include <gtest/gtest.h>

#include "text/Sentences.h"

namespace {

TEST(FullStop, IsAddedOnlyWhereTheReasonDoesNotEndInOne) {
    EXPECT_STREQ(FullStop("Access is denied."), "");
    EXPECT_STREQ(FullStop("No such file or directory"), ".");
    // A stop inside the text is not its end; an empty reason still closes the sentence.
    EXPECT_STREQ(FullStop("see 1.2 below"), ".");
    EXPECT_STREQ(FullStop("Done. "), ".");
    EXPECT_STREQ(FullStop(""), ".");
}

TEST(BytesDifferWords, AgreeWithTheCount) {
    EXPECT_STREQ(BytesDifferWords(1), "byte differs");
    EXPECT_STREQ(BytesDifferWords(2), "bytes differ");
    EXPECT_STREQ(BytesDifferWords(2048), "bytes differ");
    EXPECT_STREQ(BytesDifferWords(0), "bytes differ");
}

}  // namespace
