#pragma once

#include <cstdint>
#include <span>

#include "pnp/ResourceDescriptors.h"

class CDependentFunction {
public:
    virtual ~CDependentFunction() = default;

    CIoPortDescriptor ioPorts[MAX_IO_PORTS];
    CDmaDescriptor dmaChannels[MAX_DMA_CHANNELS];
    CIrqDescriptor irqs[MAX_IRQS];
    std::int32_t ioCount = 0;
    std::int32_t dmaCount = 0;
    std::int32_t irqCount = 0;
    std::uint8_t startTag = TAG_START_DEPENDENT;
    std::uint8_t priority = 0;

    // Bytes consumed (a closing End dependent functions tag included), or -1 when the bytes
    // are not a dependent function, end too early, or hold more descriptors than fit.
    int Parse(std::span<const std::uint8_t> bytes);
};

class CLogicalDevice {
public:
    virtual ~CLogicalDevice() = default;

    // Tag, EISA device identifier (most significant byte first), flags.
    std::uint8_t idDescriptor[LOGICAL_DEVICE_ID_SIZE] = {TAG_LOGICAL_DEVICE_ID};
    // Identifier string item: tag, length low byte, length high byte, text.
    std::uint8_t identifierData[IDENTIFIER_DATA_SIZE] = {TAG_IDENTIFIER_STRING};
    std::int32_t hasDependentFunctions = 1;
    std::int32_t dependentCount = 1;
    CDependentFunction dependentFunctions[MAX_DEPENDENT_FUNCTIONS];

    void SetEnabled(int flag);
    // Length byte n + 1 (terminator counted), the text, its terminator and one more zero;
    // the length high byte is left alone. A text of 255 characters wraps the length byte to
    // 0 and empties the text. A text that does not fit the 77-byte text area with its two
    // zeros (more than 75 characters), or a null pointer, leaves the identifier unchanged.
    void SetIdentifier(const char* text);
    void SetDeviceId(std::uint32_t id);
    std::uint32_t GetDeviceId() const;

    // Bytes consumed, or -1 when a dependent function is malformed or the device runs past
    // the end of bytes: every byte the parse has to look at, including the one that tells
    // whether another dependent function follows, must lie inside bytes. Up to three
    // dependent functions are stored, each adding 1 to dependentCount; a fourth is only
    // stepped over.
    int Parse(std::span<const std::uint8_t> bytes);
};
