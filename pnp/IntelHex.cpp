#include "pnp/IntelHex.h"

#include <cstring>

#include "text/AsciiCase.h"

namespace {

constexpr int kTypeData = 0x00;
constexpr int kTypeEndOfFile = 0x01;
constexpr int kTypeExtendedSegment = 0x02;
constexpr int kTypeStartSegment = 0x03;
constexpr int kTypeExtendedLinear = 0x04;
constexpr int kTypeStartLinear = 0x05;

// The longest record: 255 data bytes and the five around them.
constexpr int kMaxRecordBytes = 255 + 5;

int HexDigit(std::uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool IsBlank(std::uint8_t c) {
    return c == ' ' || c == '\t';
}

// One line without its line end, and the state of the whole read so far.
struct CHexReader {
    std::uint8_t image[EEPROM_SIZE];
    bool given[EEPROM_SIZE];
    bool ended = false;
    bool anyData = false;
    int line = 0;
    const char* reason = nullptr;

    int Refuse(const char* why) {
        reason = why;
        return 0;
    }

    int TakeLine(const std::uint8_t* text, std::size_t length) {
        // Blanks at either end are what editors leave; a line of nothing else is no record.
        while (length > 0 && IsBlank(text[length - 1])) {
            --length;
        }
        while (length > 0 && IsBlank(text[0])) {
            ++text;
            --length;
        }
        if (length == 0) {
            return 1;
        }
        if (ended) {
            return Refuse("text after the end-of-file record");
        }
        if (text[0] != ':') {
            return Refuse("a record starts with ':'");
        }
        ++text;
        --length;
        if (length % 2 != 0) {
            return Refuse("odd number of hex digits");
        }
        std::uint8_t bytes[kMaxRecordBytes];
        const std::size_t count = length / 2;
        if (count < 5) {
            return Refuse("a record is too short (fewer than 5 bytes)");
        }
        if (count > sizeof bytes) {
            return Refuse("a record is too long (more than 255 data bytes)");
        }
        unsigned sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const int high = HexDigit(text[2 * i]);
            const int low = HexDigit(text[2 * i + 1]);
            if (high < 0 || low < 0) {
                return Refuse("a character that is not a hex digit");
            }
            bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
            sum += bytes[i];
        }
        const std::size_t dataLength = bytes[0];
        if (dataLength + 5 != count) {
            return Refuse("the record's byte count does not match its length");
        }
        if ((sum & 0xFF) != 0) {
            return Refuse("checksum mismatch");
        }
        const unsigned address = (bytes[1] << 8) | bytes[2];
        const std::uint8_t* data = bytes + 4;
        switch (bytes[3]) {
            case kTypeData:
                return TakeData(address, data, dataLength);
            case kTypeEndOfFile:
                if (dataLength != 0) {
                    return Refuse("an end-of-file record holds no data");
                }
                ended = true;
                return 1;
            case kTypeExtendedSegment:
            case kTypeExtendedLinear:
                if (dataLength != 2) {
                    return Refuse("an extended address record holds 2 bytes");
                }
                if (data[0] != 0 || data[1] != 0) {
                    return Refuse("an extended address other than 0 lies beyond the 2048 bytes");
                }
                return 1;
            case kTypeStartSegment:
            case kTypeStartLinear:
                return Refuse("a start address record, which an EEPROM image has no use for");
            default:
                return Refuse("an unknown record type");
        }
    }

    int TakeData(unsigned address, const std::uint8_t* data, std::size_t length) {
        if (address + length > static_cast<unsigned>(EEPROM_SIZE)) {
            return Refuse("data beyond address 2047");
        }
        for (std::size_t i = 0; i < length; ++i) {
            if (given[address + i]) {
                return Refuse("a byte that an earlier record gave already");
            }
            given[address + i] = true;
            image[address + i] = data[i];
        }
        anyData = anyData || length > 0;
        return 1;
    }
};

void PutHexByte(char* at, unsigned value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    at[0] = kDigits[(value >> 4) & 0xF];
    at[1] = kDigits[value & 0xF];
}

}  // namespace

bool HasIntelHexExtension(const char* fileName) {
    const std::size_t length = std::strlen(fileName);
    if (length < 4) {
        return false;
    }
    return SameIgnoringAsciiCase(fileName + length - 4, ".hex");
}

bool LooksLikeIntelHex(const std::uint8_t* bytes, std::size_t length) {
    if (length == 0 || bytes[0] != ':') {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t c = bytes[i];
        if (!(c >= 0x20 && c < 0x7F) && c != '\r' && c != '\n' && c != '\t') {
            return false;
        }
    }
    return true;
}

int ReadIntelHex(const std::uint8_t* text, std::size_t length, std::uint8_t (&image)[EEPROM_SIZE],
                 CIntelHexResult* result) {
    *result = CIntelHexResult{};
    CHexReader reader;
    std::memset(reader.image, 0xFF, sizeof reader.image);
    std::memset(reader.given, 0, sizeof reader.given);
    std::size_t start = 0;
    while (start < length) {
        std::size_t end = start;
        while (end < length && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        ++reader.line;
        if (!reader.TakeLine(text + start, end - start)) {
            result->line = reader.line;
            result->reason = reader.reason;
            return 0;
        }
        // \r\n, \n and \r each end one line.
        start = end;
        if (start < length && text[start] == '\r') {
            ++start;
            if (start < length && text[start] == '\n') {
                ++start;
            }
        } else if (start < length) {
            ++start;
        }
    }
    if (!reader.ended) {
        result->line = reader.line;
        result->reason = "no end-of-file record";
        return 0;
    }
    if (!reader.anyData) {
        result->line = reader.line;
        result->reason = "no data record";
        return 0;
    }
    for (bool given : reader.given) {
        result->unfilled += given ? 0 : 1;
    }
    std::memcpy(image, reader.image, sizeof image);
    return 1;
}

std::size_t WriteIntelHex(const std::uint8_t (&image)[EEPROM_SIZE], const char* lineEnd, char* text,
                          std::size_t capacity) {
    const std::size_t lineEndLength = std::strlen(lineEnd);
    if (capacity < IntelHexTextSize(lineEndLength)) {
        return 0;
    }
    char* at = text;
    for (unsigned address = 0; address < static_cast<unsigned>(EEPROM_SIZE);
         address += INTEL_HEX_RECORD_BYTES) {
        unsigned sum = INTEL_HEX_RECORD_BYTES + (address >> 8) + (address & 0xFF) + kTypeData;
        *at++ = ':';
        PutHexByte(at, INTEL_HEX_RECORD_BYTES);
        PutHexByte(at + 2, address >> 8);
        PutHexByte(at + 4, address & 0xFF);
        PutHexByte(at + 6, kTypeData);
        at += 8;
        for (std::size_t i = 0; i < INTEL_HEX_RECORD_BYTES; ++i) {
            PutHexByte(at, image[address + i]);
            sum += image[address + i];
            at += 2;
        }
        PutHexByte(at, (0x100 - (sum & 0xFF)) & 0xFF);
        at += 2;
        std::memcpy(at, lineEnd, lineEndLength);
        at += lineEndLength;
    }
    std::memcpy(at, ":00000001FF", 11);
    at += 11;
    std::memcpy(at, lineEnd, lineEndLength);
    at += lineEndLength;
    return static_cast<std::size_t>(at - text);
}
