#pragma once

#include <cstddef>
#include <cstdint>

#include "pnp/ResourceTags.h"

// EEPROM images as Intel HEX text, the other format EEPROM programmers save: records of the
// form ":CCAAAATTDD...SS", CC data bytes at address AAAA of type TT, SS the two's complement of
// the sum of all the record's bytes. The chip has 2048 bytes, so only what can address them is
// taken: data records, the end-of-file record, and extended address records (types 02 and 04)
// of zero.

// Whether a file name ends in .hex (in any case), the name programmer software gives Intel HEX.
bool HasIntelHexExtension(const char* fileName);

// Whether bytes hold Intel HEX text rather than a raw image: the first byte is ':' and every
// byte is printable text or a line end. A raw image always holds other bytes (its 0xFF fill).
bool LooksLikeIntelHex(const std::uint8_t* bytes, std::size_t length);

struct CIntelHexResult {
    int line = 0;                  // the line at fault (counted from 1); 0 when none is
    const char* reason = nullptr;  // why the text was refused; nullptr when it was taken
    int unfilled = 0;              // bytes that no record gave, set to 0xFF
};

// Reads the whole text into image. Returns 1 with result->unfilled; 0 with result->line and
// result->reason, and image unchanged.
int ReadIntelHex(const std::uint8_t* text, std::size_t length, std::uint8_t (&image)[EEPROM_SIZE],
                 CIntelHexResult* result);

// Bytes of text WriteIntelHex makes with a line end of lineEndLength characters.
constexpr std::size_t INTEL_HEX_RECORD_BYTES = 16;
constexpr std::size_t IntelHexTextSize(std::size_t lineEndLength) {
    return (EEPROM_SIZE / INTEL_HEX_RECORD_BYTES) *
               (1 + 2 * (4 + INTEL_HEX_RECORD_BYTES + 1) + lineEndLength) +
           (11 + lineEndLength);
}

// Writes image as Intel HEX into text: a data record of 16 bytes for each 16 addresses, then
// the end-of-file record, each line ended by lineEnd ("\n" or "\r\n"). Returns the bytes
// written, or 0 when capacity is less than IntelHexTextSize.
std::size_t WriteIntelHex(const std::uint8_t (&image)[EEPROM_SIZE], const char* lineEnd, char* text,
                          std::size_t capacity);
