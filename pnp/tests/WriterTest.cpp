#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "pnp/ImageWriter.h"
#include "pnp/tests/ImageChecks.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(AppendBytes, CopiesAndAdvances) {
    std::uint8_t buffer[6] = {};
    const std::uint8_t source[3] = {1, 2, 3};
    int position = 2;
    EXPECT_EQ(AppendBytes(buffer, source, 3, position), 1);
    EXPECT_EQ(position, 5);
    EXPECT_EQ(Bytes(buffer, buffer + 6), (Bytes{0, 0, 1, 2, 3, 0}));
}

TEST(AppendBytes, NothingForZeroOrNegativeCount) {
    std::uint8_t buffer[4] = {};
    const std::uint8_t source[1] = {9};
    int position = 4;
    EXPECT_EQ(AppendBytes(buffer, source, 0, position), 1);
    EXPECT_EQ(AppendBytes(buffer, source, -5, position), 1);
    EXPECT_EQ(AppendBytes(buffer, nullptr, 0, position), 1);
    EXPECT_EQ(position, 4);
}

TEST(AppendBytes, RefusesWhatWouldNotFit) {
    std::uint8_t buffer[4] = {};
    const std::uint8_t source[5] = {1, 2, 3, 4, 5};
    int position = 2;
    EXPECT_EQ(AppendBytes(buffer, source, 3, position), 0);
    EXPECT_EQ(position, 2);
    position = -1;
    EXPECT_EQ(AppendBytes(buffer, source, 1, position), 0);
    position = 5;
    EXPECT_EQ(AppendBytes(buffer, source, 1, position), 0);
    position = 0;
    EXPECT_EQ(AppendBytes(buffer, nullptr, 1, position), 0);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(AppendBytes(buffer, source, 4, position), 1);
    EXPECT_EQ(position, 4);
}

TEST(ImageChecksum, TwosComplementOfTheSum) {
    EXPECT_EQ(ImageChecksum({}), 0);
    const std::uint8_t bytes[] = {0x01, 0x02};
    EXPECT_EQ(ImageChecksum(bytes), 0xFD);
    const std::uint8_t carry[] = {0xFF, 0xFF, 0x02};
    EXPECT_EQ(ImageChecksum(carry), 0x00);
}

// A card parsed from the canonical image, ready to be written again.
std::unique_ptr<CCardBuffers> ParsedCanonicalCard() {
    auto buffers = std::make_unique<CCardBuffers>();
    const CCardImage card = CanonicalCard();
    EXPECT_EQ(buffers->Locate(card.Image()), 6);
    return buffers;
}

Bytes Written(const CCardBuffers& buffers) {
    return Bytes(buffers.writeImage, buffers.writeImage + buffers.imageLength);
}

int BuiltLength(CCardBuffers& buffers) {
    EXPECT_EQ(buffers.Build(), 1);
    return buffers.imageLength;
}

TEST(BuildImage, RebuildsCanonicalCardByteForByte) {
    const CCardImage card = CanonicalCard();
    auto buffers = ParsedCanonicalCard();
    std::memset(buffers->writeImage, 0x5A, sizeof buffers->writeImage);
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, card.Length());
    EXPECT_EQ(Written(*buffers), Bytes(card.Image(), card.Image() + card.Length()));
    EXPECT_EQ(buffers->writeImage[buffers->imageLength], 0x5A);  // nothing beyond the image
}

TEST(BuildImage, DisabledCodecLeavesOutItsFunction) {
    auto enabled = ParsedCanonicalCard();
    ASSERT_EQ(enabled->Build(), 1);
    auto buffers = ParsedCanonicalCard();
    buffers->devices[0].SetEnabled(0);
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, enabled->imageLength - 36);
    const int codec = buffers->headerLength;
    // ID descriptor and identifier, then straight on to the Game Port.
    EXPECT_EQ(buffers->writeImage[codec + 6 + 9], 0x15);
    EXPECT_EQ(0,
              std::memcmp(buffers->writeImage + codec + 15, enabled->writeImage + codec + 15 + 36,
                          static_cast<std::size_t>(buffers->imageLength - codec - 15 - 2)));
    ExpectChecksumRule(*buffers);
}

TEST(BuildImage, ZeroDependentCountAlsoLeavesOutTheFunction) {
    auto buffers = ParsedCanonicalCard();
    const int before = BuiltLength(*buffers);
    buffers->devices[1].dependentCount = 0;
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, before - 11);
}

TEST(BuildImage, Midi2WithoutIrqGetsElevenBytes) {
    auto buffers = ParsedCanonicalCard();
    const int before = BuiltLength(*buffers);
    buffers->devices[3].dependentFunctions[0].irqCount = 0;
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, before - 3);
    const Bytes written = Written(*buffers);
    const Bytes function{0x31, 0x00, 0x47, 0x01, 0x30, 0x03, 0x30, 0x03, 0x08, 0x02, 0x38};
    EXPECT_NE(std::search(written.begin(), written.end(), function.begin(), function.end()),
              written.end());
    ExpectChecksumRule(*buffers);
}

TEST(BuildImage, FixedPositionsAreWrittenWhateverTheCounts) {
    auto buffers = ParsedCanonicalCard();
    CDependentFunction& codec = buffers->devices[0].dependentFunctions[0];
    codec.ioCount = 1;
    codec.dmaCount = 0;
    codec.irqCount = 0;
    codec.ioPorts[2] = CIoPortDescriptor{};
    ASSERT_EQ(buffers->Build(), 1);
    const int function = buffers->headerLength + 15;
    EXPECT_EQ(buffers->writeImage[function + 2], 0x2A);
    const Bytes sbPro(buffers->writeImage + function + 27, buffers->writeImage + function + 35);
    EXPECT_EQ(sbPro, (Bytes{0x47, 0x01, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(buffers->writeImage[function + 35], 0x38);
}

TEST(BuildImage, RepairedControlDeviceBytes) {
    auto buffers = ParsedCanonicalCard();
    CLogicalDevice& control = buffers->devices[2];
    control = CLogicalDevice{};
    control.SetDeviceId(0x0E63A810);
    control.SetIdentifier("Control");
    CIoPortDescriptor& port = control.dependentFunctions[0].ioPorts[0];
    port.SetMinBase(0x100);
    port.SetMaxBase(0x608);
    port.alignment = 8;
    port.length = 8;
    ASSERT_EQ(buffers->Build(), 1);
    const Bytes written = Written(*buffers);
    const Bytes expected{0x15, 0x0E, 0x63, 0xA8, 0x10, 0x00, 0x82, 0x08, 0x00, 'C',
                         'o',  'n',  't',  'r',  'o',  'l',  0x00, 0x31, 0x00, 0x47,
                         0x01, 0x00, 0x01, 0x08, 0x06, 0x08, 0x08, 0x38};
    EXPECT_NE(std::search(written.begin(), written.end(), expected.begin(), expected.end()),
              written.end());
}

TEST(BuildImage, OnlyTheFirstOfSeveralFunctionsIsWritten) {
    CCardImage card;
    card.Header(40);
    card.DeviceId(0x0E63A801).Identifier("Game Port");
    card.StartDependent(1).Io(0x201, 0x201, 1, 1).StartDependent(2).Io(0x209, 0x209, 1, 1);
    card.StartDependent(3).Io(0x20F, 0x20F, 1, 1).EndDependent().EndTag();
    auto buffers = std::make_unique<CCardBuffers>();
    ASSERT_EQ(buffers->Locate(card.Image()), 1);
    ASSERT_EQ(buffers->devices[0].dependentCount, 4);
    // Only slot 0 came from the card; the writer lays it out as a Codec.
    ASSERT_EQ(buffers->Build(), 1);
    const std::uint8_t* function = buffers->writeImage + 40 + 6 + 13;
    EXPECT_EQ(function[0], 0x31);
    EXPECT_EQ(function[1], 0x00);  // priority is always 0
    EXPECT_EQ(Bytes(function + 11, function + 19),
              (Bytes{0x47, 0x01, 0x01, 0x02, 0x01, 0x02, 0x01, 0x01}));
    ExpectChecksumRule(*buffers);
}

TEST(BuildImage, IdentifierHighByteKeptButOnlyLowByteCounted) {
    auto buffers = ParsedCanonicalCard();
    const int before = BuiltLength(*buffers);
    buffers->devices[1].identifierData[2] = 0x01;
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, before);
    EXPECT_EQ(buffers->writeImage[buffers->headerLength + 51 + 6 + 2], 0x01);
}

TEST(BuildImage, LongestIdentifierThatFitsIsWritten) {
    auto buffers = ParsedCanonicalCard();
    const int before = BuiltLength(*buffers);
    buffers->devices[5].identifierData[1] = 77;  // 3 + 77 = all 80 bytes
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, before - 7 + 80);
}

// A refused build reports 0 with nothing to write and leaves the buffer as it was.
void ExpectRefused(CCardBuffers& buffers) {
    std::memset(buffers.writeImage, 0x5A, sizeof buffers.writeImage);
    buffers.imageLength = 123;
    EXPECT_EQ(buffers.Build(), 0);
    EXPECT_EQ(buffers.imageLength, 0);
    EXPECT_TRUE(std::all_of(std::begin(buffers.writeImage), std::end(buffers.writeImage),
                            [](std::uint8_t b) { return b == 0x5A; }));
}

TEST(BuildImageRefuses, IdentifierLengthBeyondItsData) {
    for (const std::uint8_t length : {78, 100, 255}) {
        auto buffers = ParsedCanonicalCard();
        buffers->devices[4].identifierData[1] = length;
        ExpectRefused(*buffers);
    }
}

TEST(BuildImageRefuses, ImageLargerThanTheEeprom) {
    auto buffers = ParsedCanonicalCard();
    buffers->headerLength = EEPROM_SIZE - 100;
    ExpectRefused(*buffers);
    buffers->headerLength = EEPROM_SIZE + 1;
    ExpectRefused(*buffers);
}

TEST(BuildImageRefuses, HeaderThatWasNeverSaved) {
    for (const std::int32_t length : {35, 0, -1, -2048}) {
        auto buffers = ParsedCanonicalCard();
        buffers->headerLength = length;
        ExpectRefused(*buffers);
    }
}

TEST(BuildImage, ExactlyFullEeprom) {
    auto buffers = ParsedCanonicalCard();
    const int before = BuiltLength(*buffers);
    buffers->headerLength += EEPROM_SIZE - before;
    ASSERT_EQ(buffers->Build(), 1);
    EXPECT_EQ(buffers->imageLength, EEPROM_SIZE);
    ExpectChecksumRule(*buffers);
    buffers->headerLength += 1;
    ExpectRefused(*buffers);
}

}  // namespace
