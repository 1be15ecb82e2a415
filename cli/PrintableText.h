#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Bytes from an image as text that is safe on any terminal and in JSON: printable ASCII as it
// is, a backslash as \\ (so that the escapes stay unambiguous), anything else as \xNN.
std::string PrintableText(const std::uint8_t* bytes, std::size_t count);
