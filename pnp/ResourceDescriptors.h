#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "pnp/ResourceTags.h"

// Each record holds the bytes of one descriptor as they stand in the image; Parse copies
// them in, Bytes gives them back for the writer.
class CResourceDescriptor {
public:
    virtual ~CResourceDescriptor() = default;
};

class CIoPortDescriptor : public CResourceDescriptor {
public:
    std::uint8_t tag = TAG_IO_PORT;
    std::uint8_t info = 1;  // bit 0: the device decodes 16-bit addresses
    std::uint16_t minBase = 0;
    std::uint16_t maxBase = 0;
    std::uint8_t alignment = 0;
    std::uint8_t length = 0;

    void SetMinBase(int value);
    void SetMaxBase(int value);

    // IO_PORT_DESCRIPTOR_SIZE, or -1 when bytes do not start with an I/O port descriptor
    // or end before it does.
    int Parse(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, IO_PORT_DESCRIPTOR_SIZE> Bytes() const;
};

class CIrqDescriptor : public CResourceDescriptor {
public:
    std::uint8_t tag = TAG_IRQ_FORMAT;
    std::uint16_t mask = 0;  // bit n: IRQ n is acceptable

    void SetMask(int mask);
    void SetLine(int line);  // a line outside 0 to 15 gives an empty mask

    int Parse(std::span<const std::uint8_t> bytes);  // IRQ_DESCRIPTOR_SIZE or -1
    std::array<std::uint8_t, IRQ_DESCRIPTOR_SIZE> Bytes() const;
};

class CDmaDescriptor : public CResourceDescriptor {
public:
    std::uint8_t tag = TAG_DMA_FORMAT;
    std::uint8_t mask = 0;  // bit n: channel n is acceptable
    std::uint8_t flags = DMA_FLAGS_8BIT_TYPE_A;

    void SetMask(int mask);
    void SetChannel(int channel);  // a channel outside 0 to 7 gives an empty mask

    int Parse(std::span<const std::uint8_t> bytes);  // DMA_DESCRIPTOR_SIZE or -1
    std::array<std::uint8_t, DMA_DESCRIPTOR_SIZE> Bytes() const;
};
