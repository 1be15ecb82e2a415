#include "testsupport/CardImage.h"

#include <cstring>

#include "pnp/DeviceIdentities.h"

CCardImage::CCardImage() {
    std::memset(m_image, 0xFF, sizeof m_image);
}

CCardImage& CCardImage::Byte(std::uint8_t byte) {
    if (m_length < EEPROM_SIZE) {
        m_image[m_length++] = byte;
    }
    return *this;
}

CCardImage& CCardImage::Bytes(std::initializer_list<std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        Byte(byte);
    }
    return *this;
}

CCardImage& CCardImage::Header(int length) {
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(i * 7 + 3);
        Byte(i >= FIRST_DEVICE_SEARCH_START && byte == TAG_LOGICAL_DEVICE_ID ? 0x16 : byte);
    }
    return *this;
}

CCardImage& CCardImage::DeviceId(std::uint32_t id, std::uint8_t flags) {
    return Bytes({TAG_LOGICAL_DEVICE_ID, static_cast<std::uint8_t>(id >> 24),
                  static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 8),
                  static_cast<std::uint8_t>(id), flags});
}

CCardImage& CCardImage::Identifier(std::string_view text) {
    Bytes({TAG_IDENTIFIER_STRING, static_cast<std::uint8_t>(text.size() + 1), 0});
    for (const char c : text) {
        Byte(static_cast<std::uint8_t>(c));
    }
    return Byte(0);
}

CCardImage& CCardImage::StartDependent(std::uint8_t priority) {
    return Bytes({TAG_START_DEPENDENT, priority});
}

CCardImage& CCardImage::Io(std::uint16_t minBase, std::uint16_t maxBase, std::uint8_t alignment,
                           std::uint8_t length, std::uint8_t info) {
    return Bytes({TAG_IO_PORT, info, static_cast<std::uint8_t>(minBase),
                  static_cast<std::uint8_t>(minBase >> 8), static_cast<std::uint8_t>(maxBase),
                  static_cast<std::uint8_t>(maxBase >> 8), alignment, length});
}

CCardImage& CCardImage::Irq(std::uint16_t mask) {
    return Bytes(
        {TAG_IRQ_FORMAT, static_cast<std::uint8_t>(mask), static_cast<std::uint8_t>(mask >> 8)});
}

CCardImage& CCardImage::Dma(std::uint8_t mask, std::uint8_t flags) {
    return Bytes({TAG_DMA_FORMAT, mask, flags});
}

CCardImage& CCardImage::EndDependent() {
    return Byte(TAG_END_DEPENDENT);
}

CCardImage& CCardImage::EndTag() {
    Byte(TAG_END);
    return Byte(static_cast<std::uint8_t>(0x100 - ChecksumRangeSum(m_image, m_length)));
}

std::uint8_t ChecksumRangeSum(const std::uint8_t* image, int length) {
    std::uint8_t sum = 0;
    for (int i = CHECKSUM_START; i < length; ++i) {
        sum = static_cast<std::uint8_t>(sum + image[i]);
    }
    return sum;
}

CCardImage StandardCard(const CCardSettings& s) {
    CCardImage card;
    card.Header();
    if (s.codecOn) {
        card.Device(IDENTITY_CODEC.id, IDENTITY_CODEC.text)
            .StartDependent()
            .Dma(s.playDmaMask)
            .Dma(s.recordDmaMask)
            .Irq(s.wssIrqMask)
            .Io(s.wssMin, s.wssMax, 4, 4)
            .Io(s.fmMin, s.fmMax, 8, 4)
            .Io(s.sbProMin, s.sbProMax, 0x20, 0x10)
            .EndDependent();
    } else {
        card.Device(IDENTITY_CODEC_DISABLED.id, IDENTITY_CODEC_DISABLED.text);
    }
    if (s.gamePortOn) {
        card.Device(IDENTITY_GAME_PORT.id, IDENTITY_GAME_PORT.text)
            .StartDependent()
            .Io(s.gameMin, s.gameMax, 1, 1)
            .EndDependent();
    } else {
        card.Device(IDENTITY_GAME_PORT_DISABLED.id, IDENTITY_GAME_PORT_DISABLED.text);
    }
    card.Device(s.controlId, IDENTITY_CONTROL.text);
    if (s.controlOn) {
        card.StartDependent().Io(s.controlMin, s.controlMax, 8, 8).EndDependent();
    }
    if (s.midi2On) {
        card.Device(IDENTITY_MIDI2.id, IDENTITY_MIDI2.text).StartDependent();
        if (s.midi2HasIrq) {
            card.Irq(s.midi2IrqMask);
        }
        card.Io(s.midi2Min, s.midi2Max, 8, 2).EndDependent();
    } else {
        card.Device(IDENTITY_MIDI2_DISABLED.id, IDENTITY_MIDI2_DISABLED.text);
    }
    card.Device(IDENTITY_MIDI1.id, IDENTITY_MIDI1.text)
        .StartDependent()
        .Irq(s.midi1IrqMask)
        .Io(s.midi1Min, s.midi1Max, 8, 2)
        .EndDependent();
    card.Device(IDENTITY_DIGITAL_CONTROL.id, IDENTITY_DIGITAL_CONTROL.text);
    if (s.digControlOn) {
        card.StartDependent().Io(s.digControlMin, s.digControlMax, 8, 8).EndDependent();
    }
    return card.EndTag();
}

CCardImage CanonicalCard() {
    CCardImage card;
    card.Header(40);
    card.Device(0x0E63A800, "Codec").StartDependent();
    card.Dma(0x02).Dma(0x01).Irq(0x0020);
    card.Io(0x534, 0x534, 4, 4).Io(0x388, 0x388, 8, 4).Io(0x220, 0x220, 0x20, 0x10);
    card.EndDependent();
    card.Device(0x0E63A801, "Game Port").StartDependent().Io(0x201, 0x201, 1, 1);
    card.EndDependent();
    card.Device(0x0E63A810, "Control").StartDependent().Io(0x100, 0x608, 8, 8);
    card.EndDependent();
    card.Device(0x0E63A803, "MIDI-2").StartDependent().Irq(0x0800);
    card.Io(0x330, 0x330, 8, 2).EndDependent();
    card.Device(0x0E63A802, "Midi").StartDependent().Irq(0x0200);
    card.Io(0x300, 0x300, 8, 2).EndDependent();
    card.Device(0x0E63A804, "Dig").StartDependent().Io(0x308, 0x308, 8, 8);
    card.EndDependent();
    card.EndTag();
    return card;
}
