// What info decodes: the factory card, and the odd images a card or a file may hold.
#include <gtest/gtest.h>

#include <cstring>

#include "cli/ImageSummary.h"
#include "cli/PrintableText.h"
#include "cli/tests/CliFixture.h"

namespace {

CImageSummary Summary(const CImageBytes& bytes) {
    std::uint8_t image[EEPROM_SIZE];
    std::memcpy(image, bytes.data(), sizeof image);
    return SummarizeImage(image);
}

std::vector<int> Offsets(const CImageSummary& summary) {
    std::vector<int> offsets;
    for (const CDeviceSummary& device : summary.devices) {
        offsets.push_back(device.offset);
    }
    return offsets;
}

TEST(ImageSummary, TheFactoryCard) {
    const CImageSummary summary = Summary(FactoryBytes());
    EXPECT_EQ(summary.headerLength, 38);
    EXPECT_EQ(Offsets(summary), (std::vector<int>{38, 89, 119, 147, 177, 210}));
    EXPECT_EQ(summary.ReadableDevices(), 6);
    EXPECT_EQ(summary.malformedSlot, -1);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Valid);
    EXPECT_EQ(summary.checksum.endTagOffset, 246);
    EXPECT_EQ(summary.checksum.stored, FactoryBytes()[247]);
    const std::vector<std::uint32_t> ids = {0x0E63A800, 0x0E63A801, 0x0E63A810,
                                            0x0E63A803, 0x0E63A802, 0x0E63A804};
    const std::vector<std::string> names = {"Codec",  "Game Port", "Control",
                                            "MIDI-2", "Midi Port", "Digital Control"};
    for (std::size_t slot = 0; slot < 6; ++slot) {
        const CDeviceSummary& device = summary.devices[slot];
        EXPECT_EQ(device.id, ids[slot]);
        EXPECT_TRUE(device.hasIdentifier);
        EXPECT_EQ(device.identifier, names[slot]);
        EXPECT_EQ(device.functionCount, 1);
    }
    const CDependentFunction& codec = summary.devices[0].record.dependentFunctions[0];
    EXPECT_EQ(codec.ioCount, 3);
    EXPECT_EQ(codec.irqCount, 1);
    EXPECT_EQ(codec.dmaCount, 2);
    EXPECT_EQ(MaskBits(codec.irqs[0].mask, 16), (std::vector<int>{5}));
}

TEST(ImageSummary, AnImageWithoutItsEndTagHasNoChecksum) {
    CImageBytes image = FactoryBytes();
    image[246] = 0xFF;
    const CImageSummary summary = Summary(image);
    EXPECT_EQ(summary.ReadableDevices(), 6);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Missing);
    EXPECT_EQ(summary.checksum.endTagOffset, -1);
}

TEST(ImageSummary, ABadChecksumSaysWhatItShouldBe) {
    CImageBytes image = FactoryBytes();
    const std::uint8_t right = image[247];
    image[247] = static_cast<std::uint8_t>(right + 1);
    const CImageSummary summary = Summary(image);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Bad);
    EXPECT_EQ(summary.checksum.stored, static_cast<std::uint8_t>(right + 1));
    EXPECT_EQ(summary.checksum.expected, right);
    // A changed byte of the data does it too: the checksum covers everything from offset 32.
    image = FactoryBytes();
    image[32] ^= 0x01;
    EXPECT_EQ(Summary(image).checksum.state, ChecksumState::Bad);
    image = FactoryBytes();
    image[31] ^= 0x01;
    EXPECT_EQ(Summary(image).checksum.state, ChecksumState::Valid);
}

TEST(ImageSummary, MoreThanSixDevicesAreAllShown) {
    CImageBytes image =
        Splice(FactoryBytes(), 246, 0, {0x15, 0x0E, 0x63, 0xA8, 0x05, 0x00,              // ID
                                        0x82, 0x04, 0x00, 'E',  'x',  't',  0x00,        // "Ext"
                                        0x31, 0x00, 0x47, 0x01, 0x00, 0x04, 0x00, 0x04,  // I/O
                                        0x08, 0x08, 0x38});
    const int endTag = 246 + 24;
    image[static_cast<std::size_t>(endTag)] = 0x79;
    FixChecksum(image, endTag);
    const CImageSummary summary = Summary(image);
    ASSERT_EQ(summary.devices.size(), 7u);
    EXPECT_EQ(summary.ReadableDevices(), 7);
    EXPECT_EQ(summary.devices[6].slot, 6);
    EXPECT_EQ(summary.devices[6].offset, 246);
    EXPECT_EQ(summary.devices[6].id, 0x0E63A805u);
    EXPECT_EQ(summary.devices[6].identifier, "Ext");
    EXPECT_EQ(summary.devices[6].record.dependentFunctions[0].ioPorts[0].minBase, 0x400);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Valid);
    EXPECT_EQ(summary.checksum.endTagOffset, endTag);
}

TEST(ImageSummary, ADeviceWithoutDependentFunctions) {
    // MIDI-2 switched off: its one dependent function (offsets 163 to 176) is gone.
    CImageBytes image = Splice(FactoryBytes(), 163, 14);
    FixChecksum(image, 246 - 14);
    const CImageSummary summary = Summary(image);
    ASSERT_EQ(summary.devices.size(), 6u);
    EXPECT_EQ(summary.devices[3].identifier, "MIDI-2");
    EXPECT_EQ(summary.devices[3].functionCount, 0);
    EXPECT_EQ(summary.devices[4].offset, 177 - 14);
    EXPECT_EQ(summary.devices[4].functionCount, 1);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Valid);
}

TEST(ImageSummary, TheChecksumIsFoundWhereTheReaderRunsPastTheEndTag) {
    // The last device without dependent functions: the reader takes the End tag and what follows
    // for identifier bytes, but the items' lengths still lead to it.
    CImageBytes image = Splice(FactoryBytes(), 235, 11);
    FixChecksum(image, 235);
    const CImageSummary summary = Summary(image);
    ASSERT_EQ(summary.devices.size(), 6u);
    EXPECT_EQ(summary.devices[5].identifier, "Digital Control");
    EXPECT_EQ(summary.devices[5].functionCount, 0);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Valid);
    EXPECT_EQ(summary.checksum.endTagOffset, 235);
}

TEST(ImageSummary, AMalformedDeviceIsNamedAndNothingIsReadable) {
    CImageBytes image = FactoryBytes();
    ASSERT_EQ(image[163], 0x31);  // MIDI-2's dependent function
    image[165] = 0x23;            // its IRQ with the three-byte tag the reader refuses
    const CImageSummary summary = Summary(image);
    EXPECT_EQ(summary.malformedSlot, 3);
    EXPECT_EQ(summary.malformedOffset, 147);
    EXPECT_EQ(Offsets(summary), (std::vector<int>{38, 89, 119}));
    EXPECT_EQ(summary.ReadableDevices(), 0);
}

TEST(ImageSummary, ABlankImageHoldsNoDevice) {
    const CImageSummary summary = Summary(CImageBytes(2048, 0xFF));
    EXPECT_EQ(summary.headerLength, 0);
    EXPECT_TRUE(summary.devices.empty());
    EXPECT_EQ(summary.ReadableDevices(), 0);
    EXPECT_EQ(summary.checksum.state, ChecksumState::Missing);
}

TEST(ImageSummary, IdentifierTextsAreMadeSafeToPrint) {
    CImageBytes image = FactoryBytes();
    image[38 + 6 + 3 + 1] = 0x07;  // "Codec" with a bell
    image[38 + 6 + 3 + 2] = '\\';
    const CImageSummary summary = Summary(image);
    EXPECT_EQ(summary.devices[0].identifier, "C\\x07\\\\ec");
    const std::uint8_t bytes[] = {'A', 0x00, 0x7F, 0xE9, '"', '~'};
    EXPECT_EQ(PrintableText(bytes, sizeof bytes), "A\\x00\\x7F\\xE9\"~");
}

}  // namespace
