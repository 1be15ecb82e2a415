#include "pnp/ResourceDescriptors.h"

namespace {

// Descriptor fields are little-endian in the image.
std::uint16_t ReadLittleEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint8_t LowByte(std::uint16_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t HighByte(std::uint16_t value) {
    return static_cast<std::uint8_t>(value >> 8);
}

// A descriptor is taken only when its tag is first and all of its bytes are there.
bool StartsWithItem(std::span<const std::uint8_t> bytes, std::uint8_t tag, int size) {
    return bytes.size() >= static_cast<std::size_t>(size) && bytes[0] == tag;
}

}  // namespace

void CIoPortDescriptor::SetMinBase(int value) {
    minBase = static_cast<std::uint16_t>(value);
}

void CIoPortDescriptor::SetMaxBase(int value) {
    maxBase = static_cast<std::uint16_t>(value);
}

int CIoPortDescriptor::Parse(std::span<const std::uint8_t> bytes) {
    if (!StartsWithItem(bytes, TAG_IO_PORT, IO_PORT_DESCRIPTOR_SIZE)) {
        return -1;
    }
    tag = bytes[0];
    info = bytes[1];
    minBase = ReadLittleEndian16(&bytes[2]);
    maxBase = ReadLittleEndian16(&bytes[4]);
    alignment = bytes[6];
    length = bytes[7];
    return IO_PORT_DESCRIPTOR_SIZE;
}

std::array<std::uint8_t, IO_PORT_DESCRIPTOR_SIZE> CIoPortDescriptor::Bytes() const {
    return {
        tag,       info,  LowByte(minBase), HighByte(minBase), LowByte(maxBase), HighByte(maxBase),
        alignment, length};
}

void CIrqDescriptor::SetMask(int newMask) {
    mask = static_cast<std::uint16_t>(newMask);
    tag = TAG_IRQ_FORMAT;
}

void CIrqDescriptor::SetLine(int line) {
    // Shifting by a negative or too wide amount is undefined; a line the card cannot have
    // simply selects no interrupt.
    SetMask(line >= 0 && line < 16 ? 1 << line : 0);
}

int CIrqDescriptor::Parse(std::span<const std::uint8_t> bytes) {
    if (!StartsWithItem(bytes, TAG_IRQ_FORMAT, IRQ_DESCRIPTOR_SIZE)) {
        return -1;
    }
    tag = bytes[0];
    mask = ReadLittleEndian16(&bytes[1]);
    return IRQ_DESCRIPTOR_SIZE;
}

std::array<std::uint8_t, IRQ_DESCRIPTOR_SIZE> CIrqDescriptor::Bytes() const {
    return {tag, LowByte(mask), HighByte(mask)};
}

void CDmaDescriptor::SetMask(int newMask) {
    mask = static_cast<std::uint8_t>(newMask);
    flags = DMA_FLAGS_8BIT_TYPE_A;
}

void CDmaDescriptor::SetChannel(int channel) {
    SetMask(channel >= 0 && channel < 8 ? 1 << channel : 0);
}

int CDmaDescriptor::Parse(std::span<const std::uint8_t> bytes) {
    if (!StartsWithItem(bytes, TAG_DMA_FORMAT, DMA_DESCRIPTOR_SIZE)) {
        return -1;
    }
    tag = bytes[0];
    mask = bytes[1];
    flags = bytes[2];
    return DMA_DESCRIPTOR_SIZE;
}

std::array<std::uint8_t, DMA_DESCRIPTOR_SIZE> CDmaDescriptor::Bytes() const {
    return {tag, mask, flags};
}
