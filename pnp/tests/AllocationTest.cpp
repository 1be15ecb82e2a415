#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "pnp/FactoryImage.h"
#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"
#include "pnp/tests/CountingAllocator.h"

namespace {

// Everything the setup dialog owns, allocated before counting starts.
struct OwnedBuffers {
    std::uint8_t readImage[EEPROM_SIZE];
    std::uint8_t header[EEPROM_SIZE];
    std::int32_t headerLength = 0;
    CLogicalDevice devices[MAX_LOGICAL_DEVICES];
    std::uint8_t writeImage[EEPROM_SIZE];
    std::int32_t imageLength = 0;
};

TEST(HeapUse, CounterSeesAnAllocation) {
    const std::size_t before = AllocationCount();
    // operator new called by name: an optimiser may leave out the allocation of a new
    // expression whose result goes unused (clang does at -O3), but never this call.
    void* probe = ::operator new(sizeof(int));
    EXPECT_EQ(AllocationCount(), before + 1);
    ::operator delete(probe);
}

TEST(HeapUse, ReadingChangingAndWritingTheFactoryCardAllocatesNothing) {
    auto owned = std::make_unique<OwnedBuffers>();
    const std::size_t before = AllocationCount();

    const auto& factory = FactoryImage();
    std::copy(factory.begin(), factory.end(), owned->readImage);
    const int located =
        LocateDevices(owned->readImage, owned->header, owned->headerLength, owned->devices);
    CLogicalDevice& codec = owned->devices[0];
    codec.SetDeviceId(0x0E63A800);
    codec.SetIdentifier("Codec");
    codec.SetEnabled(1);
    codec.dependentFunctions[0].ioPorts[0].SetMinBase(0x104);
    codec.dependentFunctions[0].ioPorts[0].SetMaxBase(0x604);
    codec.dependentFunctions[0].irqs[0].SetLine(7);
    codec.dependentFunctions[0].dmaChannels[0].SetChannel(3);
    const int built = BuildImage(owned->header, owned->headerLength, owned->devices,
                                 owned->writeImage, owned->imageLength);
    const std::uint8_t checksum = ImageChecksum(owned->writeImage);

    const std::size_t after = AllocationCount();
    EXPECT_EQ(after, before);
    EXPECT_EQ(located, 6);
    EXPECT_EQ(built, 1);
    EXPECT_GT(owned->imageLength, owned->headerLength);
    (void)checksum;
}

}  // namespace
