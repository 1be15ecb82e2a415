#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole of a file, byte for byte as it stands on disk (no line-end translation); empty
// when it is missing or cannot be read, which the tests' comparisons then show.
std::vector<std::uint8_t> FileBytes(const std::string& path);
std::string FileText(const std::string& path);
