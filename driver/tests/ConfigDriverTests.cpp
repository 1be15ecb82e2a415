#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/testing/DeviceDouble.h"

namespace {

// Stands in for the setup dialog: tells the user, as the dialog does, through the seam.
class CRecordingOwner : public CConfigDriverOwner {
public:
    const char* GetLastErrorText(BOOL showMessage) override {
        const DWORD code = CurrentDeviceApi().GetLastError();
        SystemErrorText(code, m_text, sizeof(m_text));
        calls.push_back({showMessage, code, m_text});
        return m_text;
    }

    struct CCall {
        BOOL showMessage;
        DWORD code;
        std::string text;
    };
    std::vector<CCall> calls;

private:
    char m_text[2048] = {};
};

void FillPattern(CDeviceDouble& card) {
    for (int i = 0; i < CNF_EEPROM_SIZE; ++i) {
        card.eeprom[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    }
}

class ConfigDriverTest : public ::testing::Test {
protected:
    void OpenChannel() {
        driver.m_pOwner = &owner;
        ASSERT_EQ(driver.Open(), 1);
    }

    CDeviceDouble card;
    CRecordingOwner owner;
    CConfigDriver driver;
};

}  // namespace

TEST_F(ConfigDriverTest, ChannelNeverOpenedReachesNoCard) {
    card.eeprom[5] = 0x42;
    std::uint8_t value = 0x99;
    EXPECT_EQ(driver.ReadByte(5, &value), 0);
    EXPECT_EQ(value, 0x99);
    EXPECT_EQ(driver.LastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_EQ(driver.WriteByte(5, 0x17), 0);
    EXPECT_EQ(driver.LastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_EQ(card.eeprom[5], 0x42);
    EXPECT_EQ(card.openCount, 0);
}

TEST_F(ConfigDriverTest, OpenAsksForTheDeviceForReadingAndWritingWithoutSharing) {
    OpenChannel();
    ASSERT_EQ(card.opens.size(), 1u);
    const CDeviceDouble::COpen& open = card.opens[0];
    EXPECT_EQ(open.fileName, "\\\\.\\VymCnf");
    EXPECT_EQ(open.desiredAccess, 0xC0000000u);
    EXPECT_EQ(open.shareMode, 0u);
    EXPECT_FALSE(open.hasSecurityAttributes);
    EXPECT_EQ(open.creationDisposition, 3u);
    EXPECT_EQ(open.flagsAndAttributes, 0u);
    EXPECT_FALSE(open.hasTemplateFile);
    EXPECT_EQ(driver.m_hDevice, CDeviceDouble::DeviceHandle());
    EXPECT_TRUE(owner.calls.empty());
}

TEST_F(ConfigDriverTest, FailedOpenShowsTheSystemTextOnceAndKeepsTheInvalidHandle) {
    card.FailOpen(ERROR_FILE_NOT_FOUND);
    driver.m_pOwner = &owner;
    EXPECT_EQ(driver.Open(), 0);
    EXPECT_EQ(driver.m_hDevice, INVALID_HANDLE_VALUE);
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(owner.calls[0].showMessage, TRUE);
    EXPECT_EQ(owner.calls[0].code, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(owner.calls[0].text, "The system cannot find the file specified.\r\n");
    EXPECT_EQ(card.openCount, 1);
    EXPECT_TRUE(card.requests.empty());
    EXPECT_EQ(card.unreleasedTexts, 0);
}

TEST_F(ConfigDriverTest, FailedOpenWithoutOwnerReportsOnlyByItsResult) {
    card.FailOpen(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(driver.Open(), 0);
    EXPECT_EQ(driver.m_hDevice, INVALID_HANDLE_VALUE);
    EXPECT_EQ(card.openCount, 1);
}

TEST_F(ConfigDriverTest, ReadSendsAddressLowByteFirstAndTakesByteTwo) {
    OpenChannel();
    card.eeprom[0x0123] = 0x5E;
    std::uint8_t value = 0;
    EXPECT_EQ(driver.ReadByte(0x0123, &value), 1);
    EXPECT_EQ(value, 0x5E);
    ASSERT_EQ(card.requests.size(), 1u);
    const CDeviceDouble::CRequest& request = card.requests[0];
    EXPECT_EQ(request.code, 0x9C406450u);
    EXPECT_EQ(request.input[0], 0x23);
    EXPECT_EQ(request.input[1], 0x01);
    EXPECT_EQ(request.input[2], 0x00);
    EXPECT_EQ(request.input[3], 0x00);
    EXPECT_EQ(request.inputSize, 4u);
    EXPECT_TRUE(request.hasOutput);
    EXPECT_EQ(request.outputSize, 4u);
    EXPECT_TRUE(request.outputIsInput);
    EXPECT_TRUE(request.hasBytesReturned);
    EXPECT_FALSE(request.hasOverlapped);
}

TEST_F(ConfigDriverTest, WriteSendsAddressAndValueWithNoOutputBuffer) {
    OpenChannel();
    EXPECT_EQ(driver.WriteByte(2047, 0xAB), 1);
    ASSERT_EQ(card.requests.size(), 1u);
    const CDeviceDouble::CRequest& request = card.requests[0];
    EXPECT_EQ(request.code, 0x9C40A44Cu);
    const std::uint8_t expected[4] = {0xFF, 0x07, 0xAB, 0x00};
    EXPECT_EQ(std::memcmp(request.input, expected, 4), 0);
    EXPECT_EQ(request.inputSize, 4u);
    EXPECT_FALSE(request.hasOutput);
    EXPECT_EQ(request.outputSize, 0u);
    EXPECT_FALSE(request.hasOverlapped);
    EXPECT_EQ(card.eeprom[2047], 0xAB);
}

TEST_F(ConfigDriverTest, ReadValueIsTheZeroSentWhenTheDriverDoesNotFillIt) {
    OpenChannel();
    card.eeprom[10] = 0x99;
    card.LeaveReadValueUnfilled(true);
    std::uint8_t value = 0xEE;
    EXPECT_EQ(driver.ReadByte(10, &value), 1);
    EXPECT_EQ(value, 0x00);
}

TEST_F(ConfigDriverTest, FailedReadLeavesTheDestinationAlone) {
    OpenChannel();
    card.FailReadAt(5);
    std::uint8_t value = 0x77;
    EXPECT_EQ(driver.ReadByte(5, &value), 0);
    EXPECT_EQ(value, 0x77);
    EXPECT_EQ(CurrentDeviceApi().GetLastError(), ERROR_READ_FAULT);
}

TEST_F(ConfigDriverTest, FailedWriteReturnsZeroAndChangesNothing) {
    OpenChannel();
    card.eeprom[300] = 0x11;
    card.FailWriteAt(300, ERROR_WRITE_FAULT);
    EXPECT_EQ(driver.WriteByte(300, 0x22), 0);
    EXPECT_EQ(card.eeprom[300], 0x11);
    EXPECT_EQ(driver.WriteByte(301, 0x22), 1);
    EXPECT_EQ(card.eeprom[301], 0x22);
}

TEST_F(ConfigDriverTest, NullDestinationSendsNothing) {
    OpenChannel();
    EXPECT_EQ(driver.ReadByte(0, nullptr), 0);
    EXPECT_EQ(driver.ReadImage(nullptr), 0);
    EXPECT_TRUE(card.requests.empty());
}

TEST_F(ConfigDriverTest, RequestsOnAnUnopenedChannelFailAsAnInvalidHandle) {
    std::uint8_t value = 0x42;
    EXPECT_EQ(driver.ReadByte(0, &value), 0);
    EXPECT_EQ(CurrentDeviceApi().GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(driver.WriteByte(0, 1), 0);
    EXPECT_EQ(value, 0x42);
}

TEST_F(ConfigDriverTest, ChannelNeverPausesOnItsOwn) {
    OpenChannel();
    driver.WriteByte(0, 1);
    std::uint8_t image[CNF_EEPROM_SIZE];
    driver.ReadImage(image);
    EXPECT_TRUE(card.sleeps.empty());
}

TEST_F(ConfigDriverTest, ReadImageReadsEveryAddressInOrderOneRequestEach) {
    OpenChannel();
    FillPattern(card);
    std::uint8_t image[CNF_EEPROM_SIZE] = {};
    EXPECT_EQ(driver.ReadImage(image), 1);
    ASSERT_EQ(card.requests.size(), static_cast<std::size_t>(CNF_EEPROM_SIZE));
    for (int address = 0; address < CNF_EEPROM_SIZE; ++address) {
        const CDeviceDouble::CRequest& request = card.requests[address];
        ASSERT_EQ(request.code, IOCTL_CNF_READ_BYTE);
        ASSERT_EQ(request.input[0] | (request.input[1] << 8), address);
    }
    EXPECT_EQ(std::memcmp(image, card.eeprom, CNF_EEPROM_SIZE), 0);
}

TEST_F(ConfigDriverTest, ReadImageStopsAtTheFirstFailedAddress) {
    OpenChannel();
    FillPattern(card);
    card.FailReadAt(100);
    std::uint8_t image[CNF_EEPROM_SIZE];
    std::memset(image, 0xA5, sizeof(image));
    EXPECT_EQ(driver.ReadImage(image), 0);
    EXPECT_EQ(card.requests.size(), 101u);
    EXPECT_EQ(std::memcmp(image, card.eeprom, 100), 0);
    for (int address = 100; address < CNF_EEPROM_SIZE; ++address) {
        ASSERT_EQ(image[address], 0xA5) << "address " << address;
    }
}

TEST_F(ConfigDriverTest, ReadImageFailingAtTheLastAddressStillFails) {
    OpenChannel();
    card.FailReadAt(2047);
    std::uint8_t image[CNF_EEPROM_SIZE];
    std::memset(image, 0xA5, sizeof(image));
    EXPECT_EQ(driver.ReadImage(image), 0);
    EXPECT_EQ(card.requests.size(), 2048u);
    EXPECT_EQ(image[2046], 0x00);
    EXPECT_EQ(image[2047], 0xA5);
}
