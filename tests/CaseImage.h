#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// The EEPROM a whole-program case starts from, or the one it must end with, described as text
// (tests/cases/README.md): a starting point (the factory image, a filled EEPROM, the case's
// initial image), raw byte edits, and edits of the device records that are written back the
// way the program's image writer writes them.
struct CCaseImage {
    bool present = true;  // false: there is no card file at all
    std::vector<std::uint8_t> bytes;
};

// Builds the image a description gives. initial is what "image" stands for (nullptr where a
// description may not use it). Returns 1, or 0 with error set (line number and reason).
int BuildCaseImage(std::istream& description, const CCaseImage* initial, CCaseImage& image,
                   std::string& error);
