#include <gtest/gtest.h>

#include "framework/TickClock.h"

namespace {

TEST(TickClock, ReadingsWithinOnePeriodAreTheTicksThemselves) {
    CTickClock clock;
    EXPECT_EQ(clock.Extend(10), 10u);
    EXPECT_EQ(clock.Extend(10), 10u);
    EXPECT_EQ(clock.Extend(4000000000u), 4000000000u);
}

TEST(TickClock, TimeGoesOnAcrossTheWrap) {
    CTickClock clock;
    const std::uint64_t before = clock.Extend(0xFFFFFFF0u);
    const std::uint64_t after = clock.Extend(0x10u);
    EXPECT_EQ(after - before, 0x20u) << "32 ms passed, not minus 49 days";
    EXPECT_EQ(clock.Extend(0x20u), 0x100000020u);
}

TEST(TickClock, EveryWrapCounts) {
    CTickClock clock;
    clock.Extend(0xFFFFFFFFu);
    clock.Extend(0u);
    clock.Extend(0xFFFFFFFFu);
    EXPECT_EQ(clock.Extend(5u), 0x200000005u);
}

}  // namespace
