#include "pnp/tests/ImageBuilder.h"

#include <cstring>

#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"

ImageBuilder::ImageBuilder() {
    std::memset(image_, 0xFF, sizeof image_);
}

ImageBuilder& ImageBuilder::Byte(std::uint8_t byte) {
    if (position_ < EEPROM_SIZE) {
        image_[position_++] = byte;
    }
    return *this;
}

ImageBuilder& ImageBuilder::Bytes(std::initializer_list<std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        Byte(byte);
    }
    return *this;
}

ImageBuilder& ImageBuilder::Header(int length) {
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(i * 7 + 3);
        Byte(i >= FIRST_DEVICE_SEARCH_START && byte == TAG_LOGICAL_DEVICE_ID ? 0x16 : byte);
    }
    return *this;
}

ImageBuilder& ImageBuilder::DeviceId(std::uint32_t id, std::uint8_t flags) {
    return Bytes({TAG_LOGICAL_DEVICE_ID, static_cast<std::uint8_t>(id >> 24),
                  static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 8),
                  static_cast<std::uint8_t>(id), flags});
}

ImageBuilder& ImageBuilder::Identifier(std::string_view text) {
    Bytes({TAG_IDENTIFIER_STRING, static_cast<std::uint8_t>(text.size() + 1), 0});
    for (const char c : text) {
        Byte(static_cast<std::uint8_t>(c));
    }
    return Byte(0);
}

ImageBuilder& ImageBuilder::StartDependent(std::uint8_t priority) {
    return Bytes({TAG_START_DEPENDENT, priority});
}

ImageBuilder& ImageBuilder::Io(std::uint16_t minBase, std::uint16_t maxBase, std::uint8_t alignment,
                               std::uint8_t length, std::uint8_t info) {
    return Bytes({TAG_IO_PORT, info, static_cast<std::uint8_t>(minBase),
                  static_cast<std::uint8_t>(minBase >> 8), static_cast<std::uint8_t>(maxBase),
                  static_cast<std::uint8_t>(maxBase >> 8), alignment, length});
}

ImageBuilder& ImageBuilder::Irq(std::uint16_t mask) {
    return Bytes(
        {TAG_IRQ_FORMAT, static_cast<std::uint8_t>(mask), static_cast<std::uint8_t>(mask >> 8)});
}

ImageBuilder& ImageBuilder::Dma(std::uint8_t mask, std::uint8_t flags) {
    return Bytes({TAG_DMA_FORMAT, mask, flags});
}

ImageBuilder& ImageBuilder::EndDependent() {
    return Byte(TAG_END_DEPENDENT);
}

ImageBuilder& ImageBuilder::EndTagWithChecksum() {
    Byte(TAG_END);
    const std::uint8_t sum = ChecksumRangeSum(image_, position_);
    return Byte(static_cast<std::uint8_t>(0x100 - sum));
}

int CardBuffers::Locate(const std::uint8_t (&image)[EEPROM_SIZE]) {
    return LocateDevices(image, header, headerLength, devices);
}

int CardBuffers::Build() {
    return BuildImage(header, headerLength, devices, writeImage, imageLength);
}

std::uint8_t ChecksumRangeSum(const std::uint8_t* image, int length) {
    std::uint8_t sum = 0;
    for (int i = CHECKSUM_START; i < length; ++i) {
        sum = static_cast<std::uint8_t>(sum + image[i]);
    }
    return sum;
}

ImageBuilder CanonicalCard() {
    ImageBuilder card;
    card.Header(40);
    card.DeviceId(0x0E63A800).Identifier("Codec").StartDependent();
    card.Dma(0x02).Dma(0x01).Irq(0x0020);
    card.Io(0x534, 0x534, 4, 4).Io(0x388, 0x388, 8, 4).Io(0x220, 0x220, 0x20, 0x10);
    card.EndDependent();
    card.DeviceId(0x0E63A801).Identifier("Game Port").StartDependent().Io(0x201, 0x201, 1, 1);
    card.EndDependent();
    card.DeviceId(0x0E63A810).Identifier("Control").StartDependent().Io(0x100, 0x608, 8, 8);
    card.EndDependent();
    card.DeviceId(0x0E63A803).Identifier("MIDI-2").StartDependent().Irq(0x0800);
    card.Io(0x330, 0x330, 8, 2).EndDependent();
    card.DeviceId(0x0E63A802).Identifier("Midi").StartDependent().Irq(0x0200);
    card.Io(0x300, 0x300, 8, 2).EndDependent();
    card.DeviceId(0x0E63A804).Identifier("Dig").StartDependent().Io(0x308, 0x308, 8, 8);
    card.EndDependent();
    card.EndTagWithChecksum();
    return card;
}
