// What the program relies on from the device, checked against the services in use: the
// system's own (the emulated card, the configuration driver on Windows) or the test double a
// build puts in their place. Only the seam and the ContractCard hooks are used, so the same
// cases run wherever there is a device, and every device that passes them answers alike.
#include <gtest/gtest.h>

#include <cstring>

#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/tests/ContractCard.h"

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kUnknownCode = 0x9C406454;  // the next function number after the two known

// Codes that are not the two the device serves, though each is near one of them: another
// function, another access, another transfer method, another device type, none at all.
constexpr DWORD kNearbyCodes[] = {
    CNF_CTL_CODE(VYMCNF_DEVICE_TYPE, 0x915u, CNF_METHOD_BUFFERED, 0u),
    CNF_CTL_CODE(VYMCNF_DEVICE_TYPE, 0x915u, CNF_METHOD_BUFFERED, CNF_FILE_READ_ACCESS),
    CNF_CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_READ_BYTE, CNF_METHOD_BUFFERED, 0u),
    IOCTL_CNF_READ_BYTE | 3u,  // METHOD_NEITHER
    CNF_CTL_CODE(0x22u, VYMCNF_FUNCTION_READ_BYTE, CNF_METHOD_BUFFERED, CNF_FILE_READ_ACCESS),
    0u,
};

class DeviceContractTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < CNF_EEPROM_SIZE; ++i) {
            card[i] = static_cast<std::uint8_t>((i * 13 + 5) & 0xFF);
        }
        ASSERT_EQ(PrepareContractCard(card, CNF_EEPROM_SIZE), 1);
    }

    void TearDown() override {
        for (int i = 0; i < handleCount; ++i) {
            CloseContractHandle(handles[i]);
        }
        RemoveContractCard();
    }

    HANDLE Open(DWORD access = kReadWrite, DWORD shareMode = 0,
                const char* name = CNF_DEVICE_PATH) {
        HANDLE handle =
            api.CreateFileA(name, access, shareMode, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            handles[handleCount++] = handle;
        }
        return handle;
    }

    // A read as the channel sends it; returns the call's result and the last error after it.
    BOOL Read(HANDLE device, unsigned address, CNF_BYTE_REQUEST* request, DWORD* returned,
              DWORD inSize = 4, DWORD outSize = 4) {
        request->addressLow = static_cast<std::uint8_t>(address & 0xFF);
        request->addressHigh = static_cast<std::uint8_t>(address >> 8);
        request->value = 0;
        request->reserved = 0;
        return api.DeviceIoControl(device, IOCTL_CNF_READ_BYTE, request, inSize, request, outSize,
                                   returned, nullptr);
    }

    BOOL Write(HANDLE device, unsigned address, std::uint8_t value, DWORD* returned) {
        CNF_BYTE_REQUEST request{static_cast<std::uint8_t>(address & 0xFF),
                                 static_cast<std::uint8_t>(address >> 8), value, 0};
        return api.DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &request, 4, nullptr, 0, returned,
                                   nullptr);
    }

    // The error the device fails a request with; ERROR_SUCCESS when it serves the request.
    DWORD Refusal(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize) {
        DWORD returned = 0;
        return api.DeviceIoControl(device, code, in, inSize, out, outSize, &returned, nullptr)
                   ? DWORD{ERROR_SUCCESS}
                   : api.GetLastError();
    }

    void ExpectCardUnchanged() {
        std::uint8_t now[CNF_EEPROM_SIZE + 1];
        ASSERT_EQ(ReadContractCard(now, sizeof(now)), CNF_EEPROM_SIZE);
        EXPECT_EQ(std::memcmp(now, card, CNF_EEPROM_SIZE), 0);
    }

    CDeviceApi& api = CurrentDeviceApi();
    std::uint8_t card[CNF_EEPROM_SIZE];
    HANDLE handles[8] = {};
    int handleCount = 0;
};

}  // namespace

TEST_F(DeviceContractTest, OpenGivesAUsableHandle) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_NE(device, nullptr);
}

TEST_F(DeviceContractTest, EveryAddressReadsTheCardsByteWithFourBytesReturned) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    for (unsigned address = 0; address < CNF_EEPROM_SIZE; ++address) {
        CNF_BYTE_REQUEST request;
        DWORD returned = 99;
        ASSERT_TRUE(Read(device, address, &request, &returned)) << address;
        ASSERT_EQ(request.value, card[address]) << address;
        ASSERT_EQ(request.addressLow | (request.addressHigh << 8), static_cast<int>(address));
        ASSERT_EQ(returned, 4u);
    }
}

TEST_F(DeviceContractTest, ReadIgnoresWhatTheCallerLeftInTheValueAndReservedBytes) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{0x23, 0x01, 0x5A, 0xA5};
    DWORD returned = 0;
    ASSERT_TRUE(api.DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &request, 4, &request, 4,
                                    &returned, nullptr));
    EXPECT_EQ(request.value, card[0x0123]);
    EXPECT_EQ(request.reserved, 0);
}

TEST_F(DeviceContractTest, ReadIntoASeparateOutputBufferWorksToo) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST in{0x23, 0x01, 0, 0};
    CNF_BYTE_REQUEST out{0, 0, 0, 0};
    DWORD returned = 0;
    ASSERT_TRUE(
        api.DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &in, 4, &out, 4, &returned, nullptr));
    EXPECT_EQ(out.value, card[0x0123]);
    EXPECT_EQ(returned, 4u);
}

TEST_F(DeviceContractTest, WriteReachesTheCardAndNothingElseChanges) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    DWORD returned = 99;
    ASSERT_TRUE(Write(device, 2047, 0xAB, &returned));
    EXPECT_EQ(returned, 0u);
    ASSERT_TRUE(Write(device, 0, static_cast<std::uint8_t>(~card[0]), &returned));

    std::uint8_t now[CNF_EEPROM_SIZE];
    ASSERT_EQ(ReadContractCard(now, sizeof(now)), CNF_EEPROM_SIZE);
    EXPECT_EQ(now[2047], 0xAB);
    EXPECT_EQ(now[0], static_cast<std::uint8_t>(~card[0]));
    EXPECT_EQ(std::memcmp(now + 1, card + 1, CNF_EEPROM_SIZE - 2), 0);

    CNF_BYTE_REQUEST request;
    ASSERT_TRUE(Read(device, 2047, &request, &returned));
    EXPECT_EQ(request.value, 0xAB);
}

TEST_F(DeviceContractTest, SecondOpenWhileHeldIsASharingViolation) {
    HANDLE first = Open();
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = Open();
    if (!ContractDifferences().refusedOpenYieldsAHandle) {
        EXPECT_EQ(second, INVALID_HANDLE_VALUE);
        EXPECT_EQ(api.GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    } else {
        // The refusal comes with every request on the second handle, in both directions.
        ASSERT_NE(second, INVALID_HANDLE_VALUE);
        CNF_BYTE_REQUEST request;
        DWORD returned = 0;
        EXPECT_FALSE(Read(second, 3, &request, &returned));
        EXPECT_EQ(api.GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
        EXPECT_FALSE(Write(second, 3, 0x5A, &returned));
        EXPECT_EQ(api.GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
        ExpectCardUnchanged();
    }
    // The first handle is untouched by the refused one.
    CNF_BYTE_REQUEST request;
    DWORD returned = 0;
    EXPECT_TRUE(Read(first, 3, &request, &returned));
    EXPECT_EQ(request.value, card[3]);
}

TEST_F(DeviceContractTest, CardCanBeOpenedAgainOnceReleased) {
    HANDLE first = Open();
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    CloseContractHandle(first);
    handles[--handleCount] = nullptr;
    EXPECT_NE(Open(), INVALID_HANDLE_VALUE);
}

TEST_F(DeviceContractTest, NameIsMatchedWithoutRegardToCase) {
    EXPECT_NE(Open(kReadWrite, 0, "\\\\.\\vymcnf"), INVALID_HANDLE_VALUE);
}

TEST_F(DeviceContractTest, AnotherDeviceNameIsNotFound) {
    EXPECT_EQ(Open(kReadWrite, 0, "\\\\.\\VymCnf2"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(api.GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(Open(kReadWrite, 0, CNF_DEVICE_PATH "\\below"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(api.GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(DeviceContractTest, WrongSizedCardFailsTheOpen) {
    const DWORD expected = ContractDifferences().wrongSizedCardOpenError;
    std::uint8_t longer[CNF_EEPROM_SIZE + 1];
    std::memcpy(longer, card, CNF_EEPROM_SIZE);
    longer[CNF_EEPROM_SIZE] = 0x42;
    for (int size : {CNF_EEPROM_SIZE - 1, CNF_EEPROM_SIZE + 1, 0}) {
        ASSERT_EQ(PrepareContractCard(longer, size), 1) << size;
        EXPECT_EQ(Open(), INVALID_HANDLE_VALUE) << size;
        EXPECT_EQ(api.GetLastError(), expected) << size;
    }
}

TEST_F(DeviceContractTest, AddressesPastTheEepromAreInvalidParameters) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    DWORD returned = 0;
    for (unsigned address : {2048u, 0x0FFFu, 0xFFFFu}) {
        CNF_BYTE_REQUEST request;
        EXPECT_FALSE(Read(device, address, &request, &returned)) << address;
        EXPECT_EQ(api.GetLastError(), DWORD{ERROR_INVALID_PARAMETER}) << address;
        EXPECT_FALSE(Write(device, address, 0x5A, &returned)) << address;
        EXPECT_EQ(api.GetLastError(), DWORD{ERROR_INVALID_PARAMETER}) << address;
    }
    ExpectCardUnchanged();
}

TEST_F(DeviceContractTest, ReadWithWrongInputSizeIsAnInvalidParameter) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    std::uint8_t buffer[8] = {};
    for (DWORD size : {0u, 3u, 5u, 8u}) {
        EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, buffer, size, buffer, 4),
                  DWORD{ERROR_INVALID_PARAMETER})
            << size;
    }
    EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, nullptr, 0, buffer, 4),
              DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(DeviceContractTest, ReadWithTooSmallOutputIsAnInsufficientBuffer) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{1, 0, 0, 0};
    EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, &request, 4, &request, 3),
              DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, &request, 4, nullptr, 0),
              DWORD{ERROR_INSUFFICIENT_BUFFER});
}

TEST_F(DeviceContractTest, ReadWithLargerOutputIsAnInvalidParameter) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    std::uint8_t buffer[8] = {1, 0, 0, 0};
    EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, buffer, 4, buffer, 8),
              DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(DeviceContractTest, WriteWithAnOutputBufferOrWrongSizeIsAnInvalidParameter) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{10, 0, 0x77, 0};
    CNF_BYTE_REQUEST output{};
    EXPECT_EQ(Refusal(device, IOCTL_CNF_WRITE_BYTE, &request, 4, &output, 4),
              DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(Refusal(device, IOCTL_CNF_WRITE_BYTE, &request, 3, nullptr, 0),
              DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(Refusal(device, IOCTL_CNF_WRITE_BYTE, nullptr, 0, nullptr, 0),
              DWORD{ERROR_INVALID_PARAMETER});
    ExpectCardUnchanged();
}

TEST_F(DeviceContractTest, UnknownCodeIsAnInvalidFunction) {
    HANDLE device = Open();
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{1, 0, 0, 0};
    EXPECT_EQ(Refusal(device, kUnknownCode, &request, 4, &request, 4),
              DWORD{ERROR_INVALID_FUNCTION});
    for (DWORD code : kNearbyCodes) {
        EXPECT_EQ(Refusal(device, code, &request, 4, &request, 4), DWORD{ERROR_INVALID_FUNCTION})
            << std::hex << code;
    }
    ExpectCardUnchanged();
}

TEST_F(DeviceContractTest, RequestsOnAnInvalidHandleFail) {
    CNF_BYTE_REQUEST request{0, 0, 1, 0};
    EXPECT_EQ(Refusal(INVALID_HANDLE_VALUE, IOCTL_CNF_READ_BYTE, &request, 4, &request, 4),
              DWORD{ERROR_INVALID_HANDLE});
    EXPECT_EQ(Refusal(nullptr, IOCTL_CNF_WRITE_BYTE, &request, 4, nullptr, 0),
              DWORD{ERROR_INVALID_HANDLE});
    ExpectCardUnchanged();
}

// A handle may make the requests its open asked access for, and no other.
TEST_F(DeviceContractTest, ReadOnlyHandleMayReadButNotWrite) {
    HANDLE device = Open(GENERIC_READ, 0);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{7, 0, 0, 0};
    EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, &request, 4, &request, 4), DWORD{ERROR_SUCCESS});
    EXPECT_EQ(request.value, card[7]);
    request.value = static_cast<std::uint8_t>(~card[7]);
    EXPECT_EQ(Refusal(device, IOCTL_CNF_WRITE_BYTE, &request, 4, nullptr, 0),
              DWORD{ERROR_ACCESS_DENIED});
    ExpectCardUnchanged();
}

TEST_F(DeviceContractTest, WriteOnlyHandleMayWriteButNotRead) {
    HANDLE device = Open(GENERIC_WRITE, 0);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    CNF_BYTE_REQUEST request{7, 0, card[7], 0};  // the byte it holds: nothing changes
    EXPECT_EQ(Refusal(device, IOCTL_CNF_WRITE_BYTE, &request, 4, nullptr, 0), DWORD{ERROR_SUCCESS});
    EXPECT_EQ(Refusal(device, IOCTL_CNF_READ_BYTE, &request, 4, &request, 4),
              DWORD{ERROR_ACCESS_DENIED});
    ExpectCardUnchanged();
}

TEST_F(DeviceContractTest, SystemTextsOfTheOpenFailuresAreTheEnglishOnes) {
    char* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    ASSERT_GT(api.FormatMessageA(flags, nullptr, ERROR_SHARING_VIOLATION,
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                 reinterpret_cast<LPSTR>(&text), 0, nullptr),
              0u);
    EXPECT_STREQ(text, ContractDifferences().sharingViolationText);
    EXPECT_EQ(api.LocalFree(text), nullptr);
}
