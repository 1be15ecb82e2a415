#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "pnp/FactoryImage.h"
#include "pnp/ResourceDecoder.h"
#include "pnp/SerialIdentifier.h"
#include "pnp/tests/CountingAllocator.h"
#include "pnp/tests/GuardedBuffer.h"
#include "testsupport/FileContents.h"
#include "testsupport/ItemKinds.h"

namespace {

using Kind = ResourceItemKind;
using Problem = ResourceItemProblem;

std::unique_ptr<CResourceDecoding> Decode(const std::uint8_t (&image)[EEPROM_SIZE]) {
    auto decoding = std::make_unique<CResourceDecoding>();
    DecodeResourceData(image, *decoding);
    return decoding;
}

std::vector<Kind> Kinds(const CResourceDecoding& decoding) {
    std::vector<Kind> kinds;
    for (int i = 0; i < decoding.itemCount; ++i) {
        kinds.push_back(decoding.items[i].kind);
    }
    return kinds;
}

// The promises of any decoding: items in order, one after another or after a break, inside the
// image, devices counted up one at a time.
void ExpectWellOrdered(const CResourceDecoding& decoding) {
    ASSERT_GE(decoding.itemCount, 1);
    ASSERT_LE(decoding.itemCount, CResourceDecoding::kMaxItems);
    EXPECT_EQ(decoding.items[0].kind, Kind::SerialIdentifier);
    int end = 0;
    int device = -1;
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        EXPECT_GE(item.offset, end);
        EXPECT_LE(item.End(), EEPROM_SIZE);
        EXPECT_GE(item.dataOffset, item.offset);
        EXPECT_GE(item.device, device);
        EXPECT_LE(item.device, device + 1);
        device = item.device;
        end = item.End();
    }
    EXPECT_EQ(decoding.deviceCount, device + 1);
}

TEST(ResourceDecoder, TheFactoryImageItemByItem) {
    std::uint8_t image[EEPROM_SIZE];
    std::memcpy(image, FactoryImage().data(), EEPROM_SIZE);
    const auto decoding = Decode(image);
    ExpectWellOrdered(*decoding);
    EXPECT_EQ(decoding->itemCount, 41);
    EXPECT_EQ(decoding->deviceCount, 6);
    EXPECT_EQ(decoding->breakCount, 0);
    EXPECT_EQ(decoding->endTagOffset, 246);
    EXPECT_TRUE(decoding->serialCheck.Holds());
    EXPECT_TRUE(decoding->endChecksum.Holds());
    EXPECT_EQ(decoding->endChecksum.offset, 247);
    const std::vector<Kind> kinds = Kinds(*decoding);
    const std::vector<Kind> start(kinds.begin(), kinds.begin() + 8);
    EXPECT_EQ(start,
              (std::vector<Kind>{Kind::SerialIdentifier, Kind::PnpVersion, Kind::IdentifierAnsi,
                                 Kind::LogicalDeviceId, Kind::IdentifierAnsi, Kind::StartDependent,
                                 Kind::Dma, Kind::Dma}));
    for (int i = 0; i < decoding->itemCount; ++i) {
        EXPECT_EQ(decoding->items[i].problem, Problem::None) << "item " << i;
    }
    // The card's own identifier is the card's, the Codec's the first device's.
    EXPECT_EQ(decoding->items[2].device, -1);
    EXPECT_EQ(decoding->items[4].device, 0);
    EXPECT_EQ(decoding->items[6].function, 0);
}

TEST(ResourceDecoder, EveryItemKindInItsPlace) {
    const CCardImage card = EveryItemKindCard();
    const auto decoding = Decode(card.Image());
    ExpectWellOrdered(*decoding);
    EXPECT_EQ(Kinds(*decoding), (std::vector<Kind>{Kind::SerialIdentifier,
                                                   Kind::PnpVersion,
                                                   Kind::IdentifierAnsi,
                                                   Kind::VendorLarge,
                                                   Kind::LogicalDeviceId,
                                                   Kind::IdentifierAnsi,
                                                   Kind::CompatibleDeviceId,
                                                   Kind::VendorSmall,
                                                   Kind::IdentifierUnicode,
                                                   Kind::StartDependent,
                                                   Kind::Dma,
                                                   Kind::Irq,
                                                   Kind::IoPort,
                                                   Kind::FixedIo,
                                                   Kind::StartDependent,
                                                   Kind::Irq,
                                                   Kind::IoPort,
                                                   Kind::MemoryRange,
                                                   Kind::StartDependent,
                                                   Kind::Dma,
                                                   Kind::Memory32Range,
                                                   Kind::FixedMemory32Range,
                                                   Kind::EndDependent,
                                                   Kind::LogicalDeviceId,
                                                   Kind::IdentifierAnsi,
                                                   Kind::StartDependent,
                                                   Kind::IoPort,
                                                   Kind::EndDependent,
                                                   Kind::ReservedSmall,
                                                   Kind::ReservedLarge,
                                                   Kind::End}));
    for (int i = 0; i < decoding->itemCount; ++i) {
        EXPECT_EQ(decoding->items[i].problem, Problem::None) << "item " << i;
    }
    EXPECT_TRUE(decoding->serialCheck.Holds());
    EXPECT_TRUE(decoding->endChecksum.Holds());
    EXPECT_EQ(decoding->deviceCount, 2);
    EXPECT_EQ(decoding->breakCount, 0);

    // Both start-tag forms open a function; the three functions of the first device count up.
    const CResourceItem& withPriority = decoding->items[14];
    const CResourceItem& bare = decoding->items[18];
    EXPECT_EQ(withPriority.tag, 0x31);
    EXPECT_EQ(withPriority.dataLength, 1);
    EXPECT_EQ(withPriority.function, 1);
    EXPECT_EQ(bare.tag, 0x30);
    EXPECT_EQ(bare.dataLength, 0);
    EXPECT_EQ(bare.function, 2);
    EXPECT_EQ(decoding->items[21].function, 2);   // the 32-bit fixed range
    EXPECT_EQ(decoding->items[22].function, -1);  // End dependent functions closes them
    // The three-byte IRQ and the memory descriptors of both widths keep their sizes.
    EXPECT_EQ(decoding->items[15].dataLength, 3);
    EXPECT_EQ(decoding->items[17].dataLength, 9);
    EXPECT_EQ(decoding->items[20].dataLength, 17);
    EXPECT_EQ(decoding->items[21].dataLength, 9);
    EXPECT_EQ(decoding->items[8].dataLength, 2 + 2 * 7);  // country code and seven units
}

TEST(ResourceDecoder, ABadSerialCheckByteIsToldApartFromAGoodOne) {
    CCardImage card = EveryItemKindCard();
    const std::uint8_t good = card.Image()[SERIAL_CHECK_BYTE];
    card.Image()[SERIAL_CHECK_BYTE] = static_cast<std::uint8_t>(good ^ 0x01);
    auto decoding = Decode(card.Image());
    EXPECT_FALSE(decoding->serialCheck.Holds());
    EXPECT_EQ(decoding->serialCheck.expected, good);
    EXPECT_EQ(decoding->serialCheck.stored, good ^ 0x01);
    // The checksum from offset 32 on does not see the serial identifier.
    EXPECT_TRUE(decoding->endChecksum.Holds());

    // A changed serial number with its old check byte fails as well.
    card.Image()[SERIAL_CHECK_BYTE] = good;
    card.Image()[SERIAL_NUMBER_START] ^= 0x80;
    decoding = Decode(card.Image());
    EXPECT_FALSE(decoding->serialCheck.Holds());
}

TEST(ResourceDecoder, TheEndTagChecksumIsTheCardsOwnRule) {
    CCardImage card = EveryItemKindCard();
    const int checksum = card.Length() - 1;
    auto decoding = Decode(card.Image());
    ASSERT_EQ(decoding->endChecksum.offset, checksum);
    // A byte before offset 32 is outside the rule; one from 32 on is inside.
    card.Image()[20] ^= 0x10;
    EXPECT_TRUE(Decode(card.Image())->endChecksum.Holds());
    card.Image()[40] ^= 0x10;
    decoding = Decode(card.Image());
    EXPECT_FALSE(decoding->endChecksum.Holds());
    EXPECT_NE(decoding->endChecksum.expected, decoding->endChecksum.stored);
}

TEST(ResourceDecoder, NoEndTagIsABreakAtTheEnd) {
    CCardImage card;
    AppendSerialIdentifier(card, 0x0E63A8F0, 1);
    card.DeviceId(0x0E63A800).Identifier("Codec").StartDependent().Io(0x534, 0x534, 4, 4);
    card.EndDependent();
    // The rest is zeros: small items of number 0 and no length, one a byte to the end.
    std::memset(card.Image() + card.Length(), 0, EEPROM_SIZE - card.Length());
    const auto decoding = Decode(card.Image());
    ExpectWellOrdered(*decoding);
    EXPECT_EQ(decoding->endTagOffset, -1);
    EXPECT_FALSE(decoding->endChecksum.present);
    ASSERT_EQ(decoding->breakCount, 1);
    EXPECT_EQ(decoding->breaks[0].reason, ResourceBreakReason::NoEndTag);
    EXPECT_EQ(decoding->breaks[0].offset, EEPROM_SIZE);
    EXPECT_EQ(decoding->items[decoding->itemCount - 1].kind, Kind::ReservedSmall);
    EXPECT_EQ(decoding->items[decoding->itemCount - 1].offset, EEPROM_SIZE - 1);
}

TEST(ResourceDecoder, ALengthPastTheImageBreaksAndTheWalkGoesOnAtTheNextDevice) {
    CCardImage card;
    AppendSerialIdentifier(card, 0x0E63A8F0, 1);
    AppendLarge(card, LargeItemTag(0x04), {});
    card.Image()[card.Length() - 2] = 0x00;
    card.Image()[card.Length() - 1] = 0x08;  // 2048 bytes of data: past the end
    card.Bytes({0xAA, 0xAA});
    const int device = card.Length();
    card.DeviceId(0x0E63A801).Identifier("Game Port").EndTag();
    const auto decoding = Decode(card.Image());
    ExpectWellOrdered(*decoding);
    ASSERT_GE(decoding->breakCount, 1);
    EXPECT_EQ(decoding->breaks[0].reason, ResourceBreakReason::RunsPastImage);
    EXPECT_EQ(decoding->breaks[0].offset, 9);
    EXPECT_EQ(decoding->breaks[0].length, 3 + 0x800);
    EXPECT_EQ(decoding->breaks[0].resumedAt, device);
    EXPECT_EQ(decoding->items[1].offset, device);
    EXPECT_EQ(decoding->items[1].kind, Kind::LogicalDeviceId);
    EXPECT_EQ(decoding->endTagOffset, card.Length() - 2);
    EXPECT_TRUE(decoding->endChecksum.Holds());
}

TEST(ResourceDecoder, ALengthPastTheImageWithNoDeviceAfterItEndsTheWalk) {
    CCardImage card;
    AppendSerialIdentifier(card, 0x0E63A8F0, 1);
    // An erased EEPROM: 0xFF is a large item claiming 65535 bytes.
    const auto decoding = Decode(card.Image());
    EXPECT_EQ(decoding->itemCount, 1);
    ASSERT_EQ(decoding->breakCount, 2);
    EXPECT_EQ(decoding->breaks[0].reason, ResourceBreakReason::RunsPastImage);
    EXPECT_EQ(decoding->breaks[0].length, 3 + 0xFFFF);
    EXPECT_EQ(decoding->breaks[0].resumedAt, -1);
    EXPECT_EQ(decoding->breaks[1].reason, ResourceBreakReason::NoEndTag);
}

TEST(ResourceDecoder, ALargeTagInTheLastTwoBytesRunsPastTheImage) {
    for (const int offset : {EEPROM_SIZE - 2, EEPROM_SIZE - 1}) {
        GuardedBuffer buffer(EEPROM_SIZE);
        std::memset(buffer.Bytes().data(), 0, EEPROM_SIZE);  // one-byte reserved items
        buffer.Bytes()[static_cast<std::size_t>(offset)] = 0x84;
        buffer.Freeze();
        auto decoding = std::make_unique<CResourceDecoding>();
        DecodeResourceData(buffer.Image(), *decoding);
        ASSERT_GE(decoding->breakCount, 1);
        EXPECT_EQ(decoding->breaks[0].reason, ResourceBreakReason::RunsPastImage);
        EXPECT_EQ(decoding->breaks[0].offset, offset);
    }
}

TEST(ResourceDecoder, WrongLengthsAreMarkedAndSteppedOver) {
    CCardImage card;
    AppendSerialIdentifier(card, 0x0E63A8F0, 1);
    card.DeviceId(0x0E63A800).Identifier("Codec").StartDependent();
    card.Bytes({SmallItemTag(0x4, 1), 0x20});  // an IRQ item of one byte
    card.Bytes({SmallItemTag(0x7, 1), 0x00});  // End dependent functions with a byte
    card.Bytes({0x81, 3, 0, 1, 2, 3});         // memory range of three bytes
    card.EndTag();
    const auto decoding = Decode(card.Image());
    ExpectWellOrdered(*decoding);
    EXPECT_EQ(decoding->items[4].kind, Kind::Irq);
    EXPECT_EQ(decoding->items[4].problem, Problem::WrongLength);
    EXPECT_EQ(decoding->items[5].kind, Kind::EndDependent);
    EXPECT_EQ(decoding->items[5].problem, Problem::WrongLength);
    EXPECT_EQ(decoding->items[6].problem, Problem::WrongLength);
    EXPECT_EQ(decoding->items[7].kind, Kind::End);
    EXPECT_TRUE(decoding->endChecksum.Holds());
}

TEST(ResourceDecoder, ItemsWhereNoneMayStandAreMarked) {
    CCardImage card;
    AppendSerialIdentifier(card, 0x0E63A8F0, 1);
    card.Irq(0x0020);                 // before any device
    AppendVersion(card, 0x10, 0x00);  // not first
    card.EndDependent();              // nothing to end
    card.DeviceId(0x0E63A800).StartDependent().Irq(0x0020);
    card.Identifier("Codec");              // among the resources
    AppendCompatibleId(card, 0x41D0B020);  // among the resources
    card.DeviceId(0x0E63A801);             // functions left open
    card.StartDependent();
    card.EndTag();  // functions left open
    const auto decoding = Decode(card.Image());
    ExpectWellOrdered(*decoding);
    const std::vector<Problem> expected = {Problem::None,
                                           Problem::OutsideDevice,
                                           Problem::VersionNotFirst,
                                           Problem::EndDependentWithoutStart,
                                           Problem::None,
                                           Problem::None,
                                           Problem::None,
                                           Problem::InsideDependentFunction,
                                           Problem::InsideDependentFunction,
                                           Problem::DependentFunctionsOpen,
                                           Problem::None,
                                           Problem::DependentFunctionsOpen};
    ASSERT_EQ(decoding->itemCount, static_cast<int>(expected.size()));
    for (int i = 0; i < decoding->itemCount; ++i) {
        EXPECT_EQ(decoding->items[i].problem, expected[static_cast<std::size_t>(i)]) << i;
    }
    // Marked items are read on: the End tag is still found and its checksum checked.
    EXPECT_TRUE(decoding->endChecksum.Holds());
}

TEST(ResourceDecoder, ItemAtFindsTheItemHoldingAnOffset) {
    std::uint8_t image[EEPROM_SIZE];
    std::memcpy(image, FactoryImage().data(), EEPROM_SIZE);
    const auto decoding = Decode(image);
    ASSERT_NE(ItemAt(*decoding, 0x3E), nullptr);
    EXPECT_EQ(ItemAt(*decoding, 0x3E)->kind, Kind::Irq);  // the Codec's IRQ mask
    EXPECT_EQ(ItemAt(*decoding, 0)->kind, Kind::SerialIdentifier);
    EXPECT_EQ(ItemAt(*decoding, 247)->kind, Kind::End);
    EXPECT_EQ(ItemAt(*decoding, 248), nullptr);  // after the End tag
}

TEST(ResourceDecoder, DecodingTheFactoryImageAllocatesNothing) {
    auto decoding = std::make_unique<CResourceDecoding>();
    std::uint8_t image[EEPROM_SIZE];
    std::memcpy(image, FactoryImage().data(), EEPROM_SIZE);
    const std::size_t before = AllocationCount();
    DecodeResourceData(image, *decoding);
    EXPECT_EQ(AllocationCount(), before);
    EXPECT_EQ(decoding->deviceCount, 6);
}

TEST(ResourceDecoder, TheFuzzCorpusDecodesInsideItsBytes) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VYM_FUZZ_CORPUS_DIR)) {
        const std::vector<std::uint8_t> bytes = FileBytes(entry.path().string());
        // The image as the card would hold it: erased beyond what the file gives.
        GuardedBuffer buffer(EEPROM_SIZE);
        std::memset(buffer.Bytes().data(), 0xFF, EEPROM_SIZE);
        std::memcpy(buffer.Bytes().data(), bytes.data(),
                    bytes.size() < EEPROM_SIZE ? bytes.size() : EEPROM_SIZE);
        buffer.Freeze();
        auto decoding = std::make_unique<CResourceDecoding>();
        DecodeResourceData(buffer.Image(), *decoding);
        SCOPED_TRACE(entry.path().string());
        ExpectWellOrdered(*decoding);
        EXPECT_GE(decoding->deviceCount, 6);
        ++files;
    }
    EXPECT_GE(files, 6);
}

}  // namespace
