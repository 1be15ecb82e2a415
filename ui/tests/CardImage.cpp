#include "ui/tests/CardImage.h"

CCardImage::CCardImage() {
    m_image.fill(0xFF);
}

CCardImage& CCardImage::Header(int length) {
    // Serial identifier, version and a card name; the rest of the header is padding.
    static constexpr std::uint8_t kStart[] = {0x0E, 0x63, 0xA8, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A,
                                              0x0A, 0x10, 0x10, 0x82, 0x0A, 0x00, 'T',  'e',  's',
                                              't',  ' ',  'C',  'a',  'r',  'd',  0x00};
    for (int i = 0; i < length; ++i) {
        m_image[m_position++] =
            i < static_cast<int>(sizeof kStart) ? kStart[i] : static_cast<std::uint8_t>(0x20);
    }
    return *this;
}

CCardImage& CCardImage::Bytes(std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) {
        m_image[m_position++] = byte;
    }
    return *this;
}

CCardImage& CCardImage::Device(std::uint32_t id, std::string_view identifier) {
    Bytes({TAG_LOGICAL_DEVICE_ID, static_cast<std::uint8_t>(id >> 24),
           static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 8),
           static_cast<std::uint8_t>(id), 0x00});
    const int length = static_cast<int>(identifier.size()) + 1;
    Bytes({TAG_IDENTIFIER_STRING, static_cast<std::uint8_t>(length), 0x00});
    for (char c : identifier) {
        m_image[m_position++] = static_cast<std::uint8_t>(c);
    }
    m_image[m_position++] = 0x00;
    return *this;
}

CCardImage& CCardImage::StartFunction(std::uint8_t priority) {
    return Bytes({TAG_START_DEPENDENT, priority});
}

CCardImage& CCardImage::Io(std::uint16_t minBase, std::uint16_t maxBase, std::uint8_t alignment,
                           std::uint8_t length) {
    return Bytes({TAG_IO_PORT, 0x01, static_cast<std::uint8_t>(minBase),
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

CCardImage& CCardImage::EndFunctions() {
    return Bytes({TAG_END_DEPENDENT});
}

CCardImage& CCardImage::EndTag() {
    Bytes({TAG_END});
    std::uint8_t sum = 0;
    for (int i = CHECKSUM_START; i < m_position; ++i) {
        sum = static_cast<std::uint8_t>(sum + m_image[i]);
    }
    return Bytes({static_cast<std::uint8_t>(-sum)});
}

CCardImage StandardCard(const CCardSettings& s) {
    CCardImage card;
    card.Header();
    if (s.codecOn) {
        card.Device(0x0E63A800, "Codec")
            .StartFunction()
            .Dma(s.playDmaMask)
            .Dma(s.recordDmaMask)
            .Irq(s.wssIrqMask)
            .Io(s.wssMin, s.wssMax, 4, 4)
            .Io(s.fmMin, s.fmMax, 8, 4)
            .Io(s.sbProMin, s.sbProMax, 0x20, 0x10)
            .EndFunctions();
    } else {
        card.Device(0x0E63A8A0, "Disabled [CoDec]");
    }
    if (s.gamePortOn) {
        card.Device(0x0E63A801, "Game Port").StartFunction().Io(s.gameMin, s.gameMax, 1, 1);
        card.EndFunctions();
    } else {
        card.Device(0x0E63A8A1, "Disabled [Game Port]");
    }
    card.Device(s.controlId, "Control");
    if (s.controlOn) {
        card.StartFunction().Io(s.controlMin, s.controlMax, 8, 8).EndFunctions();
    }
    if (s.midi2On) {
        card.Device(0x0E63A803, "MIDI-2").StartFunction();
        if (s.midi2HasIrq) {
            card.Irq(s.midi2IrqMask);
        }
        card.Io(s.midi2Min, s.midi2Max, 8, 2).EndFunctions();
    } else {
        card.Device(0x0E63A8A3, "Disabled [MIDI-2]");
    }
    card.Device(0x0E63A802, "Midi Port")
        .StartFunction()
        .Irq(s.midi1IrqMask)
        .Io(s.midi1Min, s.midi1Max, 8, 2)
        .EndFunctions();
    card.Device(0x0E63A804, "Digital Control");
    if (s.digControlOn) {
        card.StartFunction().Io(s.digControlMin, s.digControlMax, 8, 8).EndFunctions();
    }
    return card.EndTag();
}
