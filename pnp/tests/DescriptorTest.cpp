#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "pnp/ResourceDescriptors.h"
#include "pnp/tests/GuardedBuffer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename Descriptor>
Bytes BytesOf(const Descriptor& descriptor) {
    const auto bytes = descriptor.Bytes();
    return Bytes(bytes.begin(), bytes.end());
}

TEST(DescriptorConstruction, SetsTagsAndDefaults) {
    EXPECT_EQ(BytesOf(CIoPortDescriptor{}), (Bytes{0x47, 0x01, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(BytesOf(CIrqDescriptor{}), (Bytes{0x22, 0, 0}));
    EXPECT_EQ(BytesOf(CDmaDescriptor{}), (Bytes{0x2A, 0, 0x28}));
}

TEST(IoPortSetters, StoreLowSixteenBitsLowByteFirst) {
    CIoPortDescriptor port;
    port.SetMinBase(0x534);
    port.SetMaxBase(0x604);
    EXPECT_EQ(BytesOf(port), (Bytes{0x47, 0x01, 0x34, 0x05, 0x04, 0x06, 0, 0}));
    port.SetMinBase(0x12345);
    port.SetMaxBase(-1);
    EXPECT_EQ(port.minBase, 0x2345);
    EXPECT_EQ(port.maxBase, 0xFFFF);
}

TEST(IrqSetters, LineAndMask) {
    CIrqDescriptor irq;
    irq.SetLine(5);
    EXPECT_EQ(BytesOf(irq), (Bytes{0x22, 0x20, 0x00}));
    irq.SetLine(15);
    EXPECT_EQ(BytesOf(irq), (Bytes{0x22, 0x00, 0x80}));
    irq.SetLine(0);
    EXPECT_EQ(irq.mask, 0x0001);
    irq.SetMask(0x19AA0);
    EXPECT_EQ(BytesOf(irq), (Bytes{0x22, 0xA0, 0x9A}));
    irq.tag = 0x23;
    irq.SetMask(0x0800);
    EXPECT_EQ(irq.tag, 0x22);
}

TEST(IrqSetters, LineOutsideTheBusGivesEmptyMask) {
    for (const int line : {16, 31, 32, 1000, -1, INT_MIN, INT_MAX}) {
        CIrqDescriptor irq;
        irq.SetMask(0xFFFF);
        irq.SetLine(line);
        EXPECT_EQ(irq.mask, 0) << "line " << line;
    }
}

TEST(DmaSetters, ChannelMaskAndFlags) {
    CDmaDescriptor dma;
    dma.flags = 0x00;
    dma.SetChannel(1);
    EXPECT_EQ(BytesOf(dma), (Bytes{0x2A, 0x02, 0x28}));
    dma.flags = 0x05;
    dma.SetMask(0x10B);
    EXPECT_EQ(BytesOf(dma), (Bytes{0x2A, 0x0B, 0x28}));
    dma.SetChannel(7);
    EXPECT_EQ(dma.mask, 0x80);
    for (const int channel : {8, 9, 64, -1, INT_MIN, INT_MAX}) {
        dma.SetMask(0xFF);
        dma.SetChannel(channel);
        EXPECT_EQ(dma.mask, 0) << "channel " << channel;
    }
}

TEST(DescriptorParse, CopiesBytesUnchanged) {
    const Bytes io{0x47, 0x00, 0x34, 0x05, 0x04, 0x06, 0x04, 0x08};
    CIoPortDescriptor port;
    EXPECT_EQ(ParseGuarded(port, io), 8);
    EXPECT_EQ(BytesOf(port), io);
    EXPECT_EQ(port.info, 0x00);
    EXPECT_EQ(port.minBase, 0x534);
    EXPECT_EQ(port.maxBase, 0x604);
    EXPECT_EQ(port.alignment, 4);
    EXPECT_EQ(port.length, 8);

    const Bytes irq{0x22, 0x80, 0x02};
    CIrqDescriptor irqDescriptor;
    EXPECT_EQ(ParseGuarded(irqDescriptor, irq), 3);
    EXPECT_EQ(irqDescriptor.mask, 0x0280);

    const Bytes dma{0x2A, 0x0B, 0x06};
    CDmaDescriptor dmaDescriptor;
    EXPECT_EQ(ParseGuarded(dmaDescriptor, dma), 3);
    EXPECT_EQ(BytesOf(dmaDescriptor), dma);
}

TEST(DescriptorParse, ConsumesOnlyItsOwnBytes) {
    CIrqDescriptor irq;
    EXPECT_EQ(ParseGuarded(irq, Bytes{0x22, 0x20, 0x00, 0x47, 0x01}), 3);
}

TEST(DescriptorParse, RejectsOtherTagsAndLeavesRecord) {
    CIoPortDescriptor port;
    EXPECT_EQ(ParseGuarded(port, Bytes{0x4B, 0x01, 0x34, 0x05, 0x04, 0x06, 0x04, 0x08}), -1);
    EXPECT_EQ(BytesOf(port), BytesOf(CIoPortDescriptor{}));
    CIrqDescriptor irq;
    EXPECT_EQ(ParseGuarded(irq, Bytes{0x23, 0x20, 0x00, 0x01}), -1);
    EXPECT_EQ(irq.mask, 0);
    CDmaDescriptor dma;
    EXPECT_EQ(ParseGuarded(dma, Bytes{0x2B, 0x01, 0x28}), -1);
    EXPECT_EQ(BytesOf(dma), BytesOf(CDmaDescriptor{}));
}

TEST(DescriptorParse, RejectsDescriptorCutShort) {
    const Bytes io{0x47, 0x01, 0x34, 0x05, 0x34, 0x05, 0x04, 0x04};
    for (std::size_t size = 0; size < io.size(); ++size) {
        CIoPortDescriptor port;
        EXPECT_EQ(ParseGuarded(port, Bytes(io.begin(), io.begin() + size)), -1) << size;
        EXPECT_EQ(port.minBase, 0);
    }
    CIrqDescriptor irq;
    EXPECT_EQ(ParseGuarded(irq, Bytes{0x22, 0x20}), -1);
    CDmaDescriptor dma;
    EXPECT_EQ(ParseGuarded(dma, Bytes{0x2A}), -1);
    EXPECT_EQ(ParseGuarded(dma, Bytes{}), -1);
}

}  // namespace
