#include "pnp/FactoryImage.h"

#include <cstddef>
#include <initializer_list>

#include "pnp/DeviceIdentities.h"
#include "pnp/SerialIdentifier.h"

namespace {

// Appends bytes to the image being put together at compile time.
struct ImageAssembler {
    std::array<std::uint8_t, EEPROM_SIZE> bytes{};
    std::size_t position = 0;

    constexpr void Append(std::initializer_list<std::uint8_t> items) {
        for (const std::uint8_t item : items) {
            bytes[position++] = item;
        }
    }
    constexpr void AppendText(const char* text) {
        for (std::size_t i = 0; text[i] != '\0'; ++i) {
            bytes[position++] = static_cast<std::uint8_t>(text[i]);
        }
    }
    // A device's ID descriptor and its identifier string item as the program itself writes
    // them: the length counts the terminating zero, which follows the text.
    constexpr void AppendDevice(const CDeviceIdentity& identity) {
        AppendLogicalDeviceId(identity.id);
        AppendIdentifier(identity.text);
    }
    constexpr void AppendIdentifier(const char* text) {
        std::size_t length = 0;
        while (text[length] != '\0') {
            ++length;
        }
        Append({TAG_IDENTIFIER_STRING, static_cast<std::uint8_t>(length + 1), 0x00});
        AppendText(text);
        Append({0x00});
    }
    constexpr void AppendLogicalDeviceId(std::uint32_t id) {
        Append({TAG_LOGICAL_DEVICE_ID, static_cast<std::uint8_t>(id >> 24),
                static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 8),
                static_cast<std::uint8_t>(id), 0x00 /* flags: not a boot device */});
    }
    constexpr void AppendIoPort(std::uint16_t minBase, std::uint16_t maxBase,
                                std::uint8_t alignment, std::uint8_t length) {
        Append({TAG_IO_PORT, 0x01 /* 16-bit decode */, static_cast<std::uint8_t>(minBase & 0xFF),
                static_cast<std::uint8_t>(minBase >> 8), static_cast<std::uint8_t>(maxBase & 0xFF),
                static_cast<std::uint8_t>(maxBase >> 8), alignment, length});
    }
    constexpr void AppendIrq(int line) {
        const int mask = 1 << line;
        Append({TAG_IRQ_FORMAT, static_cast<std::uint8_t>(mask & 0xFF),
                static_cast<std::uint8_t>(mask >> 8)});
    }
    constexpr void AppendDma(int channel) {
        Append({TAG_DMA_FORMAT, static_cast<std::uint8_t>(1 << channel), DMA_FLAGS_8BIT_TYPE_A});
    }
    constexpr void OpenDependentFunction() { Append({TAG_START_DEPENDENT, 0x00 /* priority */}); }
    constexpr void CloseDependentFunction() { Append({TAG_END_DEPENDENT}); }
};

constexpr std::array<std::uint8_t, EEPROM_SIZE> MakeFactoryImage() {
    ImageAssembler image;

    // Offsets 0 to 8: serial identifier. The card's ID (most significant byte first), serial
    // number 0x00012345 (little-endian), then its check byte.
    image.Append({static_cast<std::uint8_t>(CARD_ID >> 24),
                  static_cast<std::uint8_t>(CARD_ID >> 16), static_cast<std::uint8_t>(CARD_ID >> 8),
                  static_cast<std::uint8_t>(CARD_ID), 0x45, 0x23, 0x01, 0x00});
    image.Append({SerialIdentifierChecksum(image.bytes.data())});
    // Offsets 9 to 11: Plug and Play version 1.0, card firmware version 1.0.
    image.Append({0x0A, 0x10, 0x10});
    // Offsets 12 to 37: the card's ANSI identifier string, 23 characters, no terminator.
    // Its length byte (0x17) keeps clear of the Logical Device ID tag.
    image.Append({TAG_IDENTIFIER_STRING, 23, 0x00});
    image.AppendText("VYM Plug and Play Audio");

    // From offset 38: the six logical devices in slot order, each with the one dependent
    // function that the writer lays out for its slot. No identifier text may hold the
    // bytes 0x31 or 0x15, which end identifier data when the card is read back.

    // Offsets 38 to 88, Codec: play DMA 1, record DMA 0, IRQ 5, WSS at 0x534, FM at 0x388,
    // SB Pro at 0x220.
    image.AppendDevice(IDENTITY_CODEC);
    image.OpenDependentFunction();
    image.AppendDma(1);
    image.AppendDma(0);
    image.AppendIrq(5);
    image.AppendIoPort(0x534, 0x534, 4, 4);
    image.AppendIoPort(0x388, 0x388, 8, 4);
    image.AppendIoPort(0x220, 0x220, 0x20, 0x10);
    image.CloseDependentFunction();

    // Offsets 89 to 118, Game Port at 0x201.
    image.AppendDevice(IDENTITY_GAME_PORT);
    image.OpenDependentFunction();
    image.AppendIoPort(0x201, 0x201, 1, 1);
    image.CloseDependentFunction();

    // Offsets 119 to 146, Control: eight ports anywhere from 0x100 to 0x608, left to Plug
    // and Play.
    image.AppendDevice(IDENTITY_CONTROL);
    image.OpenDependentFunction();
    image.AppendIoPort(0x100, 0x608, 8, 8);
    image.CloseDependentFunction();

    // Offsets 147 to 176, MIDI-2: IRQ 11, ports at 0x330.
    image.AppendDevice(IDENTITY_MIDI2);
    image.OpenDependentFunction();
    image.AppendIrq(11);
    image.AppendIoPort(0x330, 0x330, 8, 2);
    image.CloseDependentFunction();

    // Offsets 177 to 209, Midi-1: IRQ 9, ports at 0x300.
    image.AppendDevice(IDENTITY_MIDI1);
    image.OpenDependentFunction();
    image.AppendIrq(9);
    image.AppendIoPort(0x300, 0x300, 8, 2);
    image.CloseDependentFunction();

    // Offsets 210 to 245, Digital Control: ports at 0x308.
    image.AppendDevice(IDENTITY_DIGITAL_CONTROL);
    image.OpenDependentFunction();
    image.AppendIoPort(0x308, 0x308, 8, 8);
    image.CloseDependentFunction();

    // Offsets 246 and 247: End tag and the checksum that makes offsets 32 up to here add up
    // to 0 modulo 256.
    image.Append({TAG_END});
    std::uint8_t sum = 0;
    for (std::size_t i = CHECKSUM_START; i < image.position; ++i) {
        sum = static_cast<std::uint8_t>(sum + image.bytes[i]);
    }
    image.Append({static_cast<std::uint8_t>(0x100 - sum)});

    // Offsets 248 to 2047: erased.
    while (image.position < image.bytes.size()) {
        image.Append({0xFF});
    }
    return image.bytes;
}

constexpr std::array<std::uint8_t, EEPROM_SIZE> FACTORY_IMAGE = MakeFactoryImage();

constexpr int FirstDeviceFrom36() {
    int offset = FIRST_DEVICE_SEARCH_START;
    while (offset < EEPROM_SIZE && FACTORY_IMAGE[offset] != TAG_LOGICAL_DEVICE_ID) {
        ++offset;
    }
    return offset;
}

constexpr bool ChecksumHolds() {
    int end = FirstDeviceFrom36();
    while (end < EEPROM_SIZE && FACTORY_IMAGE[end] != TAG_END) {
        ++end;
    }
    std::uint8_t sum = 0;
    for (int i = CHECKSUM_START; i <= end + 1 && i < EEPROM_SIZE; ++i) {
        sum = static_cast<std::uint8_t>(sum + FACTORY_IMAGE[i]);
    }
    return sum == 0;
}

// The layout promises the reader relies on, checked where the image is made: the header
// ends right before the Codec, and the resource data adds up.
static_assert(FirstDeviceFrom36() == 38, "the card-level header is 38 bytes long");
static_assert(FACTORY_IMAGE[38 + LOGICAL_DEVICE_ID_SIZE] == TAG_IDENTIFIER_STRING,
              "identifier item right after the Codec's ID");
static_assert(ChecksumHolds(), "offsets 32 through the checksum add up to 0");
static_assert(FACTORY_IMAGE[246] == TAG_END && FACTORY_IMAGE[248] == 0xFF, "End tag at 246");

}  // namespace

const std::array<std::uint8_t, EEPROM_SIZE>& FactoryImage() {
    return FACTORY_IMAGE;
}
