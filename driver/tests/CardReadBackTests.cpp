// Reading the card back after a write: every difference counted, the first one named, a read
// that fails stops the check, and a cell that keeps another value than it acknowledged is seen.
#include <gtest/gtest.h>

#include <cstring>

#include "driver/CardReadBack.h"
#include "driver/testing/DeviceDouble.h"

namespace {

class CardReadBackTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < CNF_EEPROM_SIZE; ++i) {
            card.eeprom[i] = static_cast<std::uint8_t>(i * 13 + 1);
        }
        std::memcpy(expected, card.eeprom, sizeof expected);
        ASSERT_EQ(driver.Open(), 1);
        card.requests.clear();
    }

    int Compare(int count) { return ReadBackAndCompare(driver, expected, count, &result); }

    CDeviceDouble card;
    CConfigDriver driver;
    std::uint8_t expected[CNF_EEPROM_SIZE];
    CReadBack result;
};

TEST_F(CardReadBackTest, ACardThatHoldsTheBytesPassesAfterOneReadEach) {
    EXPECT_EQ(Compare(248), 1);
    EXPECT_EQ(result.differences, 0);
    EXPECT_EQ(result.firstDifference, -1);
    EXPECT_EQ(result.failedRead, -1);
    ASSERT_EQ(card.requests.size(), 248u);
    for (int address = 0; address < 248; ++address) {
        EXPECT_EQ(card.requests[address].code, IOCTL_CNF_READ_BYTE);
        EXPECT_EQ(card.requests[address].input[0] | (card.requests[address].input[1] << 8),
                  address);
    }
    EXPECT_TRUE(card.sleeps.empty());
}

TEST_F(CardReadBackTest, EveryDifferenceIsCountedAndTheLowestNamed) {
    card.eeprom[300] ^= 0xFF;
    card.eeprom[7] ^= 0x01;
    card.eeprom[2047] ^= 0x80;
    EXPECT_EQ(Compare(CNF_EEPROM_SIZE), 0);
    EXPECT_EQ(result.differences, 3);
    EXPECT_EQ(result.firstDifference, 7);
    EXPECT_EQ(result.failedRead, -1);
    // Only the range asked for is looked at.
    EXPECT_EQ(Compare(7), 1);
    EXPECT_EQ(Compare(8), 0);
    EXPECT_EQ(result.differences, 1);
}

TEST_F(CardReadBackTest, AWriteAcknowledgedButStoredOtherwiseIsFound) {
    card.StoreOtherValueAt(100, 0x00);
    CConfigDriver writer;
    ASSERT_EQ(writer.Open(), 1);
    EXPECT_EQ(writer.WriteByte(100, 0x5A), 1);  // the card says it is done
    expected[100] = 0x5A;
    EXPECT_EQ(Compare(248), 0);
    EXPECT_EQ(result.differences, 1);
    EXPECT_EQ(result.firstDifference, 100);
    EXPECT_EQ(card.eeprom[100], 0x00);
}

TEST_F(CardReadBackTest, AFailedReadStopsTheCheckWithTheDriversError) {
    card.eeprom[3] ^= 0xFF;
    card.FailReadAt(50, ERROR_READ_FAULT);
    EXPECT_EQ(Compare(248), 0);
    EXPECT_EQ(result.failedRead, 50);
    EXPECT_EQ(result.readError, static_cast<DWORD>(ERROR_READ_FAULT));
    EXPECT_EQ(result.differences, 1);
    EXPECT_EQ(card.requests.size(), 51u);
}

TEST_F(CardReadBackTest, NothingToCompareReadsNothing) {
    EXPECT_EQ(Compare(0), 1);
    EXPECT_TRUE(card.requests.empty());
}

}  // namespace
