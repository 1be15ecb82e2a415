#pragma once

#include <cstdint>

#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"

// The buffers and records the setup dialog owns, as the reader and writer see them. Header only,
// so that the fuzzer (built apart, with its own instrumentation) uses the same.
struct CCardBuffers {
    std::uint8_t header[EEPROM_SIZE] = {};
    std::int32_t headerLength = 0;
    CLogicalDevice devices[MAX_LOGICAL_DEVICES];
    std::uint8_t writeImage[EEPROM_SIZE] = {};
    std::int32_t imageLength = 0;

    int Locate(const std::uint8_t (&image)[EEPROM_SIZE]) {
        return LocateDevices(image, header, headerLength, devices);
    }
    int Build() { return BuildImage(header, headerLength, devices, writeImage, imageLength); }
};
