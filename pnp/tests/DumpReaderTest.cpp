#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "pnp/DumpReader.h"
#include "pnp/FactoryImage.h"
#include "pnp/tests/GuardedBuffer.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

// The dump's device walk, as the dialog's hidden dump and the fuzzer both use it.

namespace {

// The first bytes of an image in a buffer of exactly that size, ending at an inaccessible page.
std::unique_ptr<GuardedBuffer> DumpOf(const std::uint8_t* image, std::size_t size) {
    auto dump = std::make_unique<GuardedBuffer>(size);
    std::copy(image, image + size, dump->Bytes().begin());
    dump->Freeze();
    return dump;
}

TEST(DumpReaderTest, SixCanonicalDevicesFromTheFirstOneAtOrAfterOffset39) {
    CCardImage card = CanonicalCard();
    const auto dump = DumpOf(card.Image(), DUMP_SIZE);
    CLogicalDevice devices[DUMPED_DEVICES];
    ASSERT_EQ(ParseDumpDevices(dump->Bytes(), devices), 1);
    for (const CLogicalDevice& device : devices) {
        EXPECT_EQ(device.idDescriptor[0], TAG_LOGICAL_DEVICE_ID);
        EXPECT_EQ(device.dependentCount, 2);  // construction's 1 and the one function parsed
    }
}

TEST(DumpReaderTest, FactoryCardIsWalkedFromItsSecondDevice) {
    // The factory card's first device stands at 38, before the walk's start: the walk begins
    // at the Game Port, and the sixth "device" is the End tag and the erased bytes after it.
    const auto dump = DumpOf(FactoryImage().data(), DUMP_SIZE);
    CLogicalDevice devices[DUMPED_DEVICES];
    EXPECT_EQ(ParseDumpDevices(dump->Bytes(), devices), 1);
    EXPECT_EQ(devices[0].GetDeviceId(), 0x0E63A801u);
    EXPECT_EQ(devices[4].GetDeviceId(), 0x0E63A804u);
    EXPECT_EQ(devices[5].idDescriptor[0], TAG_END);
}

TEST(DumpReaderTest, NothingFromOffset39OnOrTooShortADumpGivesNoDevicesAndNoStrayRead) {
    std::uint8_t tagsBefore39[DUMP_SIZE];
    std::fill(std::begin(tagsBefore39), std::end(tagsBefore39), 0x00);
    std::fill(tagsBefore39, tagsBefore39 + DUMP_SEARCH_START, TAG_LOGICAL_DEVICE_ID);
    CLogicalDevice devices[DUMPED_DEVICES];
    EXPECT_EQ(ParseDumpDevices(DumpOf(tagsBefore39, DUMP_SIZE)->Bytes(), devices), 0);

    // Six devices that do not fit: every length the first device's bytes could be cut at.
    CCardImage card = CanonicalCard();
    for (std::size_t size = 0; size < 120; ++size) {
        CLogicalDevice cut[DUMPED_DEVICES];
        EXPECT_EQ(ParseDumpDevices(DumpOf(card.Image(), size)->Bytes(), cut), 0) << size;
    }
}

}  // namespace
