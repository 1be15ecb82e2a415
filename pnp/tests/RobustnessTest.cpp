#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "pnp/FactoryImage.h"
#include "pnp/tests/GuardedBuffer.h"
#include "pnp/tests/ImageChecks.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

// Random and damaged images: the reader must neither crash nor read outside the bytes it was
// given (each buffer ends at an inaccessible page and is read-only while parsed), and the
// writer must either refuse or produce an image that keeps the checksum rule.

namespace {

constexpr int ROUNDS = 3000;

// Bytes that the parsers treat specially turn up often, so that random data gets deep.
std::uint8_t InterestingByte(std::mt19937& random) {
    static constexpr std::uint8_t tags[] = {0x15, 0x22, 0x2A, 0x31, 0x38, 0x47, 0x79, 0x82, 0x00};
    std::uniform_int_distribution<int> pick(0, 2 * static_cast<int>(std::size(tags)));
    const int index = pick(random);
    if (index < static_cast<int>(std::size(tags))) {
        return tags[index];
    }
    return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
}

// Reads and writes an image the way the dialog does and checks what can always be checked.
void ReadAndWrite(GuardedBuffer& image, int* devicesFound = nullptr) {
    image.Freeze();
    auto buffers = std::make_unique<CCardBuffers>();
    const int located = buffers->Locate(image.Image());
    image.Thaw();
    if (devicesFound != nullptr) {
        *devicesFound = located;
    }
    ASSERT_GE(located, 0);
    ASSERT_LE(located, MAX_LOGICAL_DEVICES);
    if (located == 0) {
        return;
    }
    ASSERT_GE(buffers->headerLength, FIRST_DEVICE_SEARCH_START);
    ASSERT_LT(buffers->headerLength, EEPROM_SIZE);
    EXPECT_EQ(image.Bytes()[static_cast<std::size_t>(buffers->headerLength)],
              TAG_LOGICAL_DEVICE_ID);
    for (const CLogicalDevice& device : buffers->devices) {
        for (const CDependentFunction& function : device.dependentFunctions) {
            ASSERT_LE(function.ioCount, MAX_IO_PORTS);
            ASSERT_LE(function.dmaCount, MAX_DMA_CHANNELS);
            ASSERT_LE(function.irqCount, MAX_IRQS);
        }
    }
    if (buffers->Build() == 1) {
        ASSERT_GE(buffers->imageLength, buffers->headerLength + 2);
        ASSERT_LE(buffers->imageLength, EEPROM_SIZE);
        ExpectChecksumRule(*buffers);
    } else {
        EXPECT_EQ(buffers->imageLength, 0);
    }
}

TEST(Robustness, RandomImages) {
    std::mt19937 random(7);
    GuardedBuffer image(EEPROM_SIZE);
    for (int round = 0; round < ROUNDS; ++round) {
        const bool interesting = round % 2 == 0;
        for (std::uint8_t& byte : image.Bytes()) {
            byte =
                interesting ? InterestingByte(random) : static_cast<std::uint8_t>(random() & 0xFF);
        }
        ReadAndWrite(image);
    }
}

TEST(Robustness, DamagedFactoryImages) {
    std::mt19937 random(11);
    GuardedBuffer image(EEPROM_SIZE);
    std::uniform_int_distribution<int> offset(0, 400);
    for (int round = 0; round < ROUNDS; ++round) {
        std::copy(FactoryImage().begin(), FactoryImage().end(), image.Bytes().begin());
        const int damage = 1 + round % 8;
        for (int i = 0; i < damage; ++i) {
            image.Bytes()[static_cast<std::size_t>(offset(random))] = InterestingByte(random);
        }
        ReadAndWrite(image);
    }
}

TEST(Robustness, DevicesRunningIntoTheEndOfTheImage) {
    // The factory devices moved up against the end, cut off at every point.
    const auto& factory = FactoryImage();
    const int first = 38;
    int end = first;
    while (factory[static_cast<std::size_t>(end)] != TAG_END) {
        ++end;
    }
    GuardedBuffer image(EEPROM_SIZE);
    for (int cut = first + 1; cut <= end + 2; ++cut) {
        std::fill(image.Bytes().begin(), image.Bytes().end(), 0x00);
        const int length = cut - first;
        std::copy(factory.begin() + first, factory.begin() + cut, image.Bytes().end() - length);
        int located = -1;
        ReadAndWrite(image, &located);
        // Only with its End tag in the image can the last device be told complete.
        EXPECT_EQ(located, cut > end ? 6 : 0) << "cut at " << cut;
    }
}

TEST(Robustness, DiagnosticDumpSizedParses) {
    // The dump parses six devices one after another from a 500-byte buffer.
    std::mt19937 random(13);
    for (int round = 0; round < ROUNDS; ++round) {
        const std::size_t size = static_cast<std::size_t>(round % 520);
        GuardedBuffer bytes(size);
        const bool damaged = round % 3 != 0;
        for (std::size_t i = 0; i < size; ++i) {
            bytes.Bytes()[i] =
                damaged ? InterestingByte(random) : FactoryImage()[38 + (i % (EEPROM_SIZE - 38))];
        }
        bytes.Freeze();
        auto devices = std::make_unique<CLogicalDevice[]>(WRITTEN_LOGICAL_DEVICES);
        std::size_t position = 0;
        for (int k = 0; k < WRITTEN_LOGICAL_DEVICES; ++k) {
            const int consumed = devices[k].Parse(bytes.Bytes().subspan(position));
            if (consumed < 0) {
                break;
            }
            ASSERT_GT(consumed, 0);
            position += static_cast<std::size_t>(consumed);
            ASSERT_LE(position, size);
        }
        bytes.Thaw();
    }
}

}  // namespace
