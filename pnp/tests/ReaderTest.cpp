#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "pnp/ImageReader.h"
#include "pnp/tests/GuardedBuffer.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

namespace {

// A device with one I/O port in its dependent function.
void AddPortDevice(CCardImage& card, std::uint32_t id, std::uint16_t base) {
    card.DeviceId(id).Identifier("Dev").StartDependent().Io(base, base, 8, 2).EndDependent();
}

TEST(LocateDevices, HeaderEndsAtFirstDeviceFromOffset36) {
    CCardImage card;
    card.Header(36);
    card.Image()[3] = 0x15;
    card.Image()[35] = 0x15;
    AddPortDevice(card, 0x0E63A800, 0x300);
    card.EndTag();
    auto buffers = std::make_unique<CCardBuffers>();
    std::memset(buffers->header, 0xAB, sizeof buffers->header);
    EXPECT_EQ(buffers->Locate(card.Image()), 1);
    EXPECT_EQ(buffers->headerLength, 36);
    EXPECT_EQ(0, std::memcmp(buffers->header, card.Image(), 36));
    EXPECT_EQ(buffers->header[36], 0xAB);  // nothing saved beyond the header
    EXPECT_EQ(buffers->devices[0].GetDeviceId(), 0x0E63A800u);
}

TEST(LocateDevices, NoDeviceIdFromOffset36IsAFailure) {
    CCardImage card;
    card.Header(60);
    card.Image()[20] = 0x15;
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 0);
    EXPECT_EQ(buffers->headerLength, 35);
}

TEST(LocateDevices, DeviceIdAsLastByteOfTheImageIsMalformed) {
    CCardImage card;
    card.Header(40);
    card.Image()[EEPROM_SIZE - 1] = 0x15;
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 0);
    EXPECT_EQ(buffers->headerLength, EEPROM_SIZE - 1);
}

TEST(LocateDevices, ThreeByteIrqFormFailsTheWholeStep) {
    CCardImage card;
    card.Header(40);
    AddPortDevice(card, 0x0E63A800, 0x300);
    card.DeviceId(0x0E63A801).Identifier("Bad").StartDependent();
    card.Bytes({0x23, 0x20, 0x00, 0x01}).EndDependent().EndTag();
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 0);
    // What was parsed before the failure stays.
    EXPECT_EQ(buffers->devices[0].dependentFunctions[0].ioPorts[0].minBase, 0x300);
    EXPECT_EQ(buffers->devices[1].GetDeviceId(), 0x0E63A801u);
}

TEST(LocateDevices, TenDevicesParsedEleventhIgnored) {
    CCardImage card;
    card.Header(40);
    for (int i = 0; i < 10; ++i) {
        AddPortDevice(card, 0x0E63A800 + static_cast<std::uint32_t>(i),
                      static_cast<std::uint16_t>(0x300 + 0x10 * i));
    }
    card.DeviceId(0x0E63A8FF).Identifier("Eleventh").StartDependent().Bytes({0x23}).EndDependent();
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 10);
    EXPECT_EQ(buffers->devices[9].GetDeviceId(), 0x0E63A809u);
    EXPECT_EQ(buffers->devices[9].dependentFunctions[0].ioPorts[0].minBase, 0x390);
}

TEST(LocateDevices, StopsAtTheFirstByteThatIsNotADevice) {
    CCardImage card;
    card.Header(40);
    AddPortDevice(card, 0x0E63A800, 0x300);
    AddPortDevice(card, 0x0E63A801, 0x310);
    card.EndTag();
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 2);
    const CLogicalDevice fresh;
    EXPECT_EQ(0, std::memcmp(buffers->devices[2].idDescriptor, fresh.idDescriptor, 6));
    EXPECT_EQ(buffers->devices[2].dependentCount, 1);
    EXPECT_EQ(buffers->devices[2].dependentFunctions[0].ioCount, 0);
}

TEST(LocateDevices, LastDeviceWithoutFunctionsSwallowsTheEndTag) {
    CCardImage card;
    card.Header(40);
    AddPortDevice(card, 0x0E63A800, 0x300);
    card.DeviceId(0x0E63A8A1).Identifier("Off").EndTag();
    const int endTag = card.Length() - 2;
    card.Bytes({0x00, 0x31, 0x00, 0x38});
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 2);
    const CLogicalDevice& off = buffers->devices[1];
    EXPECT_EQ(off.hasDependentFunctions, 1);  // it met the 0x31 after the End tag
    EXPECT_EQ(off.identifierData[7], 0x79);
    EXPECT_EQ(off.identifierData[8], card.Image()[endTag + 1]);
    EXPECT_EQ(off.identifierData[9], 0x00);
}

TEST(LocateDevices, DisabledDeviceBetweenOthers) {
    CCardImage card;
    card.Header(40);
    card.DeviceId(0x0E63A8A0).Identifier("Disabled [CoDec]");
    AddPortDevice(card, 0x0E63A801, 0x201);
    card.EndTag();
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(card.Image()), 2);
    EXPECT_EQ(buffers->devices[0].hasDependentFunctions, 0);
    EXPECT_EQ(buffers->devices[0].dependentCount, 1);
    EXPECT_EQ(buffers->devices[1].hasDependentFunctions, 1);
    EXPECT_EQ(buffers->devices[1].dependentCount, 2);
}

TEST(LocateDevices, DeviceClosingAtTheEndOfTheImage) {
    CCardImage card;
    card.Header(EEPROM_SIZE - 6 - 7 - 11);
    AddPortDevice(card, 0x0E63A800, 0x300);
    ASSERT_EQ(card.Length(), EEPROM_SIZE);
    GuardedBuffer image(EEPROM_SIZE);
    std::copy(std::begin(card.Image()), std::end(card.Image()), image.Bytes().begin());
    auto buffers = std::make_unique<CCardBuffers>();
    // Whether a further function follows cannot be told: malformed, and nothing read past.
    EXPECT_EQ(buffers->Locate(image.Image()), 0);
}

TEST(LocateDevices, NeverWritesTheReadImage) {
    CCardImage card = CanonicalCard();
    GuardedBuffer image(EEPROM_SIZE);
    std::copy(std::begin(card.Image()), std::end(card.Image()), image.Bytes().begin());
    image.Freeze();
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(image.Image()), 6);
    image.Thaw();
}

// The length byte of an identifier string is a count: one that happens to equal a tag must
// not end the identifier. "Disabled [Game Port]" (length 21 = 0x15) is the program's own.
TEST(LocateDevices, IdentifierLengthEqualToATagIsACount) {
    const std::string fortyEight(48, 'x');  // length byte 49 = 0x31
    for (const std::string& text : {std::string("Disabled [Game Port]"), fortyEight}) {
        CCardImage card;
        card.Header(40);
        AddPortDevice(card, 0x0E63A800, 0x300);
        card.DeviceId(0x0E63A8A1).Identifier(text);
        AddPortDevice(card, 0x0E63A802, 0x330);
        card.EndTag();
        auto buffers = std::make_unique<CCardBuffers>();
        ASSERT_EQ(buffers->Locate(card.Image()), 3) << text;
        const CLogicalDevice& off = buffers->devices[1];
        EXPECT_EQ(off.hasDependentFunctions, 0);
        EXPECT_EQ(off.identifierData[1], text.size() + 1);
        EXPECT_EQ(0, std::memcmp(off.identifierData + 3, text.data(), text.size()));
        EXPECT_EQ(buffers->devices[2].GetDeviceId(), 0x0E63A802u);
        EXPECT_EQ(buffers->devices[2].dependentFunctions[0].ioPorts[0].minBase, 0x330);
    }
}

TEST(LocateDevices, IdentifierCutOffInItsLengthBytesIsMalformed) {
    CCardImage card;
    card.Header(EEPROM_SIZE - 8);
    card.DeviceId(0x0E63A8A1).Bytes({0x82, 0x15});
    ASSERT_EQ(card.Length(), EEPROM_SIZE);
    GuardedBuffer image(EEPROM_SIZE);
    std::copy(std::begin(card.Image()), std::end(card.Image()), image.Bytes().begin());
    auto buffers = std::make_unique<CCardBuffers>();
    EXPECT_EQ(buffers->Locate(image.Image()), 0);
}

}  // namespace
