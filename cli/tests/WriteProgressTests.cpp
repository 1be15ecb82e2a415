// The progress line: the bar, the bytes and the time left, estimated from the pace so far.
#include <gtest/gtest.h>

#include "cli/WriteProgress.h"

namespace {

TEST(WriteProgress, BeforeTheFirstByteTheTimeLeftIsTheEepromsPace) {
    EXPECT_EQ(ProgressLine(0, 248, 0), "[..............................] 0/248 bytes, 5.0 s left");
    EXPECT_EQ(ProgressLine(0, 1, 0), "[..............................] 0/1 bytes, 0.0 s left");
}

TEST(WriteProgress, TheBarFillsAndTheTimeLeftFollowsThePaceSoFar) {
    // 124 bytes in 3100 ms: 25 ms a byte, 124 bytes to go.
    EXPECT_EQ(ProgressLine(124, 248, 3100),
              "[###############...............] 124/248 bytes, 3.1 s left");
    EXPECT_EQ(ProgressLine(248, 248, 5000),
              "[##############################] 248/248 bytes, 0.0 s left");
}

TEST(WriteProgress, AMinuteOrMoreIsCountedInMinutes) {
    EXPECT_EQ(ProgressLine(0, 2048, 0),
              "[..............................] 0/2048 bytes, 41.0 s left");
    EXPECT_EQ(ProgressLine(48, 2048, 1440),
              "[..............................] 48/2048 bytes, 1 min 00 s left");
    EXPECT_EQ(ProgressLine(1, 10, 10000),
              "[###...........................] 1/10 bytes, 1 min 30 s left");
}

TEST(WriteProgress, NothingToWriteShowsNothing) {
    EXPECT_EQ(ProgressLine(0, 0, 0), "");
}

}  // namespace
