// The bytes a write sends: those that differ, in ascending order, or all of them.
#include <gtest/gtest.h>

#include <cstring>

#include "cli/WritePlan.h"

namespace {

TEST(WritePlan, OnlyTheBytesThatDifferInAscendingOrder) {
    std::uint8_t card[EEPROM_SIZE];
    std::uint8_t image[EEPROM_SIZE];
    std::memset(card, 0xFF, sizeof card);
    std::memcpy(image, card, sizeof image);
    image[2047] = 0;
    image[0] = 0;
    image[66] = 0x44;
    EXPECT_EQ(PlanWrites(card, image, false), (std::vector<int>{0, 66, 2047}));
}

TEST(WritePlan, AnImageTheCardHoldsNeedsNothing) {
    std::uint8_t card[EEPROM_SIZE];
    for (int i = 0; i < EEPROM_SIZE; ++i) {
        card[i] = static_cast<std::uint8_t>(i);
    }
    EXPECT_TRUE(PlanWrites(card, card, false).empty());
}

TEST(WritePlan, AllIsEveryAddressWhateverTheCardHolds) {
    std::uint8_t card[EEPROM_SIZE] = {};
    const std::vector<int> plan = PlanWrites(card, card, true);
    ASSERT_EQ(plan.size(), static_cast<std::size_t>(EEPROM_SIZE));
    for (int i = 0; i < EEPROM_SIZE; ++i) {
        ASSERT_EQ(plan[static_cast<std::size_t>(i)], i);
    }
}

}  // namespace
