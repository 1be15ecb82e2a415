#include <gtest/gtest.h>

#include "text/Sentences.h"

namespace {

struct CWordsCase {
    const char* given;
    const char* expected;
};

TEST(FullStop, IsAddedOnlyWhereTheReasonDoesNotEndInOne) {
    // A stop inside the text is not its end; an empty reason still closes the sentence.
    const CWordsCase cases[] = {{"Access is denied.", ""},
                                {"No such file or directory", "."},
                                {"see 1.2 below", "."},
                                {"Done. ", "."},
                                {"", "."}};
    for (const CWordsCase& words : cases) {
        EXPECT_STREQ(FullStop(words.given), words.expected) << '"' << words.given << '"';
    }
}

TEST(BytesDifferWords, AgreeWithTheCount) {
    EXPECT_STREQ(BytesDifferWords(1), "byte differs");
    for (const int count : {0, 2, 2048}) {
        EXPECT_STREQ(BytesDifferWords(count), "bytes differ") << count;
    }
}

TEST(LogicalDevicesWords, AgreeWithTheCount) {
    EXPECT_STREQ(LogicalDevicesWords(1), "logical device");
    for (const int count : {0, 2, 6}) {
        EXPECT_STREQ(LogicalDevicesWords(count), "logical devices") << count;
    }
}

}  // namespace
