#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "pnp/FactoryImage.h"
#include "pnp/tests/ImageChecks.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

namespace {

struct FactoryCard {
    std::uint8_t image[EEPROM_SIZE];
    std::unique_ptr<CCardBuffers> buffers = std::make_unique<CCardBuffers>();
    int located = 0;

    FactoryCard() {
        std::copy(FactoryImage().begin(), FactoryImage().end(), image);
        located = buffers->Locate(image);
    }
    const CDependentFunction& Function(int slot) const {
        return buffers->devices[slot].dependentFunctions[0];
    }
};

TEST(FactoryImage, RoundTripsByteForByte) {
    FactoryCard card;
    ASSERT_EQ(card.located, 6);
    ASSERT_EQ(card.buffers->Build(), 1);
    const int length = card.buffers->imageLength;
    EXPECT_EQ(0,
              std::memcmp(card.buffers->writeImage, card.image, static_cast<std::size_t>(length)));
    EXPECT_TRUE(std::all_of(card.image + length, card.image + EEPROM_SIZE,
                            [](std::uint8_t b) { return b == 0xFF; }));
    ExpectChecksumRule(card.image, length);
}

TEST(FactoryImage, HeaderLooksLikeACardHeader) {
    FactoryCard card;
    ASSERT_GE(card.buffers->headerLength, 36);
    // The serial identifier's check byte, computed bit by bit over vendor ID and serial.
    std::uint8_t lfsr = 0x6A;
    for (int i = 0; i < 8; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            const int feedback = ((lfsr ^ (lfsr >> 1)) & 1) ^ ((card.image[i] >> bit) & 1);
            lfsr = static_cast<std::uint8_t>((feedback << 7) | (lfsr >> 1));
        }
    }
    EXPECT_EQ(card.image[8], lfsr);
    EXPECT_EQ(card.image[0], 0x0E);
    EXPECT_EQ(card.image[1], 0x63);
    EXPECT_EQ(card.image[9], 0x0A);   // Plug and Play version item
    EXPECT_EQ(card.image[12], 0x82);  // the card's identifier string
    EXPECT_EQ(card.image[13] + 15, card.buffers->headerLength);
}

TEST(FactoryImage, DevicesCarryTheirIdentities) {
    FactoryCard card;
    const std::uint32_t ids[] = {0x0E63A800, 0x0E63A801, 0x0E63A810,
                                 0x0E63A803, 0x0E63A802, 0x0E63A804};
    const char* names[] = {"Codec", "Game Port", "Control", "MIDI-2", nullptr, nullptr};
    std::set<std::uint32_t> distinct;
    for (int slot = 0; slot < 6; ++slot) {
        const CLogicalDevice& device = card.buffers->devices[slot];
        EXPECT_EQ(device.GetDeviceId(), ids[slot]) << slot;
        EXPECT_EQ(device.GetDeviceId() >> 16, 0x0E63u);
        EXPECT_EQ(device.hasDependentFunctions, 1);
        EXPECT_EQ(device.dependentCount, 2);
        const int length = device.identifierData[1];
        ASSERT_LE(length + 3, IDENTIFIER_DATA_SIZE);
        EXPECT_EQ(device.identifierData[2], 0);
        EXPECT_EQ(device.identifierData[2 + length], 0);  // terminator counted in the length
        for (int i = 0; i < length + 3; ++i) {
            EXPECT_NE(device.identifierData[i], 0x31);
            EXPECT_NE(device.identifierData[i], 0x15);
        }
        if (names[slot] != nullptr) {
            EXPECT_STREQ(reinterpret_cast<const char*>(device.identifierData + 3), names[slot]);
        }
        distinct.insert(device.GetDeviceId());
    }
    EXPECT_EQ(distinct.size(), 6u);
}

TEST(FactoryImage, ResourcesAreChoicesTheDialogOffers) {
    FactoryCard card;
    const CDependentFunction& codec = card.Function(0);
    EXPECT_EQ(codec.ioCount, 3);
    EXPECT_EQ(codec.dmaCount, 2);
    EXPECT_EQ(codec.irqCount, 1);
    EXPECT_EQ(codec.ioPorts[0].minBase, 0x534);
    EXPECT_EQ(codec.ioPorts[0].maxBase, 0x534);
    EXPECT_EQ(codec.ioPorts[1].minBase, 0x388);
    EXPECT_EQ(codec.ioPorts[2].minBase, 0x220);
    EXPECT_EQ(codec.dmaChannels[0].mask, 0x02);
    EXPECT_EQ(codec.dmaChannels[1].mask, 0x01);
    EXPECT_EQ(codec.irqs[0].mask, 0x0020);
    EXPECT_EQ(card.Function(1).ioPorts[0].minBase, 0x201);
    EXPECT_EQ(card.Function(1).ioPorts[0].maxBase, 0x201);
    EXPECT_LT(card.Function(2).ioPorts[0].minBase, card.Function(2).ioPorts[0].maxBase);
    EXPECT_EQ(card.Function(3).irqCount, 1);
    EXPECT_EQ(card.Function(3).ioPorts[0].minBase, 0x330);
    EXPECT_EQ(card.Function(4).ioPorts[0].minBase, 0x300);
    EXPECT_EQ(card.Function(5).ioPorts[0].minBase, 0x308);
    // The three interrupts must not clash, or the dialog refuses to write.
    const std::set<std::uint16_t> irqs{codec.irqs[0].mask, card.Function(3).irqs[0].mask,
                                       card.Function(4).irqs[0].mask};
    EXPECT_EQ(irqs.size(), 3u);
    for (const std::uint16_t mask : irqs) {
        EXPECT_EQ(mask & (mask - 1), 0) << "exactly one line";
        EXPECT_NE(mask & 0x9AA0, 0) << "a line the lists offer";
    }
}

}  // namespace
