#include "testsupport/ItemKinds.h"

#include "pnp/DeviceIdentities.h"
#include "pnp/SerialIdentifier.h"

namespace {

void Word(CCardImage& card, std::uint16_t value) {
    card.Bytes({static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)});
}

void DoubleWord(CCardImage& card, std::uint32_t value) {
    Word(card, static_cast<std::uint16_t>(value));
    Word(card, static_cast<std::uint16_t>(value >> 16));
}

void BigEndian(CCardImage& card, std::uint32_t id) {
    card.Bytes({static_cast<std::uint8_t>(id >> 24), static_cast<std::uint8_t>(id >> 16),
                static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id)});
}

}  // namespace

void AppendSerialIdentifier(CCardImage& card, std::uint32_t cardId, std::uint32_t serial) {
    const int start = card.Length();
    BigEndian(card, cardId);
    DoubleWord(card, serial);
    card.Byte(SerialIdentifierChecksum(card.Image() + start));
}

void AppendVersion(CCardImage& card, std::uint8_t version, std::uint8_t vendorVersion) {
    card.Bytes({SmallItemTag(0x1, 2), version, vendorVersion});
}

void AppendCompatibleId(CCardImage& card, std::uint32_t id) {
    card.Byte(SmallItemTag(0x3, 4));
    BigEndian(card, id);
}

void AppendIrqWithInfo(CCardImage& card, std::uint16_t mask, std::uint8_t info) {
    card.Byte(SmallItemTag(0x4, 3));
    Word(card, mask);
    card.Byte(info);
}

void AppendStartDependentBare(CCardImage& card) {
    card.Byte(SmallItemTag(0x6, 0));
}

void AppendFixedIo(CCardImage& card, std::uint16_t base, std::uint8_t length) {
    card.Byte(SmallItemTag(0x9, 3));
    Word(card, base);
    card.Byte(length);
}

void AppendVendorSmall(CCardImage& card, std::initializer_list<std::uint8_t> data) {
    card.Byte(SmallItemTag(0xE, static_cast<int>(data.size())));
    card.Bytes(data);
}

void AppendLarge(CCardImage& card, std::uint8_t tag, std::initializer_list<std::uint8_t> data) {
    card.Byte(tag);
    Word(card, static_cast<std::uint16_t>(data.size()));
    card.Bytes(data);
}

void AppendMemoryRange(CCardImage& card, std::uint8_t info, std::uint16_t minBase,
                       std::uint16_t maxBase, std::uint16_t alignment, std::uint16_t length) {
    card.Bytes({LargeItemTag(0x01), 9, 0, info});
    Word(card, minBase);
    Word(card, maxBase);
    Word(card, alignment);
    Word(card, length);
}

void AppendMemory32Range(CCardImage& card, std::uint8_t info, std::uint32_t minBase,
                         std::uint32_t maxBase, std::uint32_t alignment, std::uint32_t length) {
    card.Bytes({LargeItemTag(0x05), 17, 0, info});
    DoubleWord(card, minBase);
    DoubleWord(card, maxBase);
    DoubleWord(card, alignment);
    DoubleWord(card, length);
}

void AppendFixedMemory32(CCardImage& card, std::uint8_t info, std::uint32_t base,
                         std::uint32_t length) {
    card.Bytes({LargeItemTag(0x06), 9, 0, info});
    DoubleWord(card, base);
    DoubleWord(card, length);
}

void AppendUnicodeIdentifier(CCardImage& card, std::uint16_t country, std::u16string_view text) {
    card.Byte(LargeItemTag(0x03));
    Word(card, static_cast<std::uint16_t>(2 + 2 * text.size()));
    Word(card, country);
    for (const char16_t unit : text) {
        Word(card, static_cast<std::uint16_t>(unit));
    }
}

CCardImage EveryItemKindCard() {
    CCardImage card;
    AppendSerialIdentifier(card, CARD_ID, 0x00012345);
    AppendVersion(card, 0x10, 0x10);
    card.Bytes({TAG_IDENTIFIER_STRING, 10, 0});
    for (const char c : std::string_view("Test Board")) {
        card.Byte(static_cast<std::uint8_t>(c));
    }
    AppendLarge(card, LargeItemTag(0x04), {0xDE, 0xAD, 0xBE, 0xEF});  // vendor-defined, large

    card.DeviceId(IDENTITY_CODEC.id, 0x01).Identifier("Codec");
    AppendCompatibleId(card, 0x41D0B020);
    AppendVendorSmall(card, {0x12, 0x34});
    AppendUnicodeIdentifier(card, 0x0409, u"Codec \u00E9");
    card.StartDependent(0).Dma(0x02).Irq(0x0020).Io(0x534, 0x534, 4, 4);
    AppendFixedIo(card, 0x388, 4);
    card.StartDependent(1);
    AppendIrqWithInfo(card, 0x0A00, 0x09);
    card.Io(0x220, 0x280, 0x20, 0x10, 0x00);
    AppendMemoryRange(card, 0x01, 0x0C80, 0x0D80, 0x4000 >> 8, 0x4000 >> 8);
    AppendStartDependentBare(card);
    card.Dma(0x08, 0x16);
    AppendMemory32Range(card, 0x1B, 0x000E0000, 0x000F0000, 0x1000, 0x2000);
    AppendFixedMemory32(card, 0x02, 0xFEDC0000, 0x10000);
    card.EndDependent();

    card.DeviceId(IDENTITY_GAME_PORT.id).Identifier("Game Port");
    card.StartDependent(2).Io(0x201, 0x201, 1, 1).EndDependent();
    card.Bytes({SmallItemTag(0xA, 1), 0x5A});             // reserved small item
    AppendLarge(card, LargeItemTag(0x70), {0x01, 0x02});  // reserved large item
    card.EndTag();
    return card;
}
