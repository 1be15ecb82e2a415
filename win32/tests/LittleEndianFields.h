#pragma once

#include <cstdint>

// Reading the little-endian fields of the files and templates the Windows front end builds.
namespace win32_testing {

inline std::uint16_t WordAt(const std::uint8_t* bytes, int offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint32_t DwordAt(const std::uint8_t* bytes, int offset) {
    return WordAt(bytes, offset) | (static_cast<std::uint32_t>(WordAt(bytes, offset + 2)) << 16);
}

}  // namespace win32_testing
