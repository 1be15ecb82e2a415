#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pnp/FactoryImage.h"
#include "pnp/IntelHex.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A record as programmer software writes it, its checksum computed independently.
std::string Record(unsigned address, unsigned type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes = {
        static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
        static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(type)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    int sum = 0;
    for (std::uint8_t b : bytes) {
        sum += b;
    }
    bytes.push_back(static_cast<std::uint8_t>(-sum));
    std::string text = ":";
    char pair[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text + "\n";
}

const std::string kEnd = ":00000001FF\n";

struct ReadOutcome {
    int ok;
    CIntelHexResult result;
    std::uint8_t image[EEPROM_SIZE];
};

ReadOutcome Read(const std::string& text) {
    ReadOutcome outcome;
    std::memset(outcome.image, 0x5A, sizeof outcome.image);
    const std::vector<std::uint8_t> bytes = Bytes(text);
    outcome.ok = ReadIntelHex(bytes.data(), bytes.size(), outcome.image, &outcome.result);
    return outcome;
}

std::string WriteAsHex(const std::uint8_t (&image)[EEPROM_SIZE], const char* lineEnd) {
    std::vector<char> text(IntelHexTextSize(std::strlen(lineEnd)));
    const std::size_t written = WriteIntelHex(image, lineEnd, text.data(), text.size());
    return std::string(text.data(), written);
}

TEST(IntelHex, RoundTripOfEveryByteValue) {
    std::uint8_t image[EEPROM_SIZE];
    for (int i = 0; i < EEPROM_SIZE; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    for (const char* lineEnd : {"\n", "\r\n"}) {
        const std::string text = WriteAsHex(image, lineEnd);
        ASSERT_EQ(text.size(), IntelHexTextSize(std::strlen(lineEnd)));
        const ReadOutcome back = Read(text);
        ASSERT_EQ(back.ok, 1) << back.result.reason << " at line " << back.result.line;
        EXPECT_EQ(back.result.unfilled, 0);
        EXPECT_EQ(0, std::memcmp(back.image, image, sizeof image));
    }
}

TEST(IntelHex, WritesSixteenByteRecordsAndTheEndRecord) {
    std::uint8_t image[EEPROM_SIZE];
    std::copy(FactoryImage().begin(), FactoryImage().end(), image);
    const std::string text = WriteAsHex(image, "\r\n");
    // 128 data records, then the end.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 129);
    EXPECT_EQ(text.substr(text.size() - 13), ":00000001FF\r\n");
    const std::vector<std::uint8_t> first(image, image + 16);
    EXPECT_EQ(text.substr(0, 43) + "\n", Record(0, 0, first));
    const std::vector<std::uint8_t> last(image + 2032, image + 2048);
    const std::size_t lastRecord = text.size() - 13 - 45;
    EXPECT_EQ(text.substr(lastRecord, 43) + "\n", Record(2032, 0, last));
}

TEST(IntelHex, WriterRefusesABufferTooSmall) {
    std::uint8_t image[EEPROM_SIZE] = {};
    std::vector<char> text(IntelHexTextSize(1) - 1);
    EXPECT_EQ(WriteIntelHex(image, "\n", text.data(), text.size()), 0u);
}

TEST(IntelHex, BytesNoRecordGivesAreFilledAndCounted) {
    const ReadOutcome outcome =
        Read(Record(0x10, 0, {1, 2, 3}) + Record(0x7FF, 0, {9}) + "\r\n" + kEnd + "\n\n");
    ASSERT_EQ(outcome.ok, 1) << outcome.result.reason;
    EXPECT_EQ(outcome.result.unfilled, EEPROM_SIZE - 4);
    EXPECT_EQ(outcome.image[0x0F], 0xFF);
    EXPECT_EQ(outcome.image[0x10], 1);
    EXPECT_EQ(outcome.image[0x12], 3);
    EXPECT_EQ(outcome.image[0x13], 0xFF);
    EXPECT_EQ(outcome.image[0x7FF], 9);
}

TEST(IntelHex, ExtendedAddressesOfZeroLowerCaseAndBlanksAreTaken) {
    std::string text = Record(0, 4, {0, 0}) + Record(0, 2, {0, 0}) + "  " + Record(0, 0, {0xAB});
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const ReadOutcome outcome = Read(text + kEnd);
    ASSERT_EQ(outcome.ok, 1) << outcome.result.reason;
    EXPECT_EQ(outcome.image[0], 0xAB);
}

struct Refusal {
    const char* what;
    std::string text;
    int line;
    const char* reason;
};

TEST(IntelHex, RefusesWithTheLineAndTheReason) {
    const std::string good = Record(0, 0, {1, 2});
    std::string badChecksum = good;
    badChecksum[badChecksum.size() - 2] = badChecksum[badChecksum.size() - 2] == '0' ? '1' : '0';
    const std::vector<Refusal> refusals = {
        {"no colon", good + "0200000001FD\n" + kEnd, 2, "a record starts with ':'"},
        {"odd digits", ":0200000001020\n", 1, "odd number of hex digits"},
        {"too short", ":00000001\n", 1, "a record is too short (fewer than 5 bytes)"},
        {"not hex", ":02000000010GFB\n", 1, "a character that is not a hex digit"},
        {"count", ":0300000001020A\n", 1, "the record's byte count does not match its length"},
        {"checksum", good + badChecksum + kEnd, 2, "checksum mismatch"},
        {"beyond", Record(0x7FF, 0, {1, 2}) + kEnd, 1, "data beyond address 2047"},
        {"linear", Record(0, 4, {0, 1}) + good + kEnd, 1,
         "an extended address other than 0 lies beyond the 2048 bytes"},
        {"segment", Record(0, 2, {0x10, 0}) + kEnd, 1,
         "an extended address other than 0 lies beyond the 2048 bytes"},
        {"address size", Record(0, 4, {0}) + kEnd, 1, "an extended address record holds 2 bytes"},
        {"start", good + Record(0, 5, {0, 0, 0, 0}) + kEnd, 2,
         "a start address record, which an EEPROM image has no use for"},
        {"start segment", Record(0, 3, {0, 0, 0, 0}) + kEnd, 1,
         "a start address record, which an EEPROM image has no use for"},
        {"type", Record(0, 6, {}) + kEnd, 1, "an unknown record type"},
        {"twice", good + Record(1, 0, {7}) + kEnd, 2, "a byte that an earlier record gave already"},
        {"end with data", good + Record(0, 1, {0}), 2, "an end-of-file record holds no data"},
        {"after end", good + kEnd + good, 3, "text after the end-of-file record"},
        {"no end", good + good.substr(0, 0), 1, "no end-of-file record"},
        {"no data", "\n" + kEnd, 2, "no data record"},
        {"empty", "", 0, "no end-of-file record"},
    };
    for (const Refusal& refusal : refusals) {
        const ReadOutcome outcome = Read(refusal.text);
        EXPECT_EQ(outcome.ok, 0) << refusal.what;
        EXPECT_EQ(outcome.result.line, refusal.line) << refusal.what;
        EXPECT_STREQ(outcome.result.reason, refusal.reason) << refusal.what;
        EXPECT_TRUE(std::all_of(outcome.image, outcome.image + EEPROM_SIZE,
                                [](std::uint8_t b) { return b == 0x5A; }))
            << refusal.what << ": the image changed although the text was refused";
    }
}

// Damaged text of every kind: each byte of a good file changed to a few others, and cut at every
// length. The reader either takes it or names a line of the text, and a refusal leaves the
// image alone.
TEST(IntelHex, DamagedTextIsTakenOrRefusedWithALineAndNeverHalfRead) {
    std::uint8_t image[EEPROM_SIZE];
    std::copy(FactoryImage().begin(), FactoryImage().end(), image);
    const std::string good = WriteAsHex(image, "\r\n").substr(0, 45 * 3) + kEnd;
    auto check = [&](const std::string& text, const std::string& what) {
        // Each line end ends a line at most; the reader never names a line the text lacks.
        const long lines = std::count(text.begin(), text.end(), '\n') +
                           std::count(text.begin(), text.end(), '\r') + 1;
        const ReadOutcome outcome = Read(text);
        if (outcome.ok == 1) {
            EXPECT_EQ(outcome.result.reason, nullptr) << what;
            return;
        }
        EXPECT_NE(outcome.result.reason, nullptr) << what;
        EXPECT_GE(outcome.result.line, 0) << what;
        EXPECT_LE(outcome.result.line, lines) << what;
        EXPECT_TRUE(std::all_of(outcome.image, outcome.image + EEPROM_SIZE, [](std::uint8_t b) {
            return b == 0x5A;
        })) << what;
    };
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (char replacement : {'0', 'F', 'g', ':', ' ', '\n', '\0', '\xFF'}) {
            std::string damaged = good;
            damaged[at] = replacement;
            check(damaged, "byte " + std::to_string(at) + " made " + std::to_string(replacement));
        }
        check(good.substr(0, at), "cut at " + std::to_string(at));
    }
}

TEST(IntelHex, TellsHexTextFromARawImage) {
    const std::vector<std::uint8_t> hex = Bytes(Record(0, 0, {1}) + kEnd);
    EXPECT_TRUE(LooksLikeIntelHex(hex.data(), hex.size()));
    // A raw image that happens to start with ':' still holds bytes no text file has.
    std::uint8_t image[EEPROM_SIZE];
    std::copy(FactoryImage().begin(), FactoryImage().end(), image);
    image[0] = ':';
    EXPECT_FALSE(LooksLikeIntelHex(image, sizeof image));
    EXPECT_FALSE(LooksLikeIntelHex(FactoryImage().data(), FactoryImage().size()));
    const std::vector<std::uint8_t> words = Bytes("not a hex file\n");
    EXPECT_FALSE(LooksLikeIntelHex(words.data(), words.size()));
    EXPECT_FALSE(LooksLikeIntelHex(words.data(), 0));
}

TEST(IntelHexTest, TheExtensionIsKnownInAnyCaseAndOnlyAtTheEnd) {
    for (const char* name : {"card.hex", "CARD.HEX", "dump.Hex", ".hex"}) {
        EXPECT_TRUE(HasIntelHexExtension(name)) << name;
    }
    for (const char* name : {"card.bin", "card.hex.bin", "hex", "card.hx", "card_hex", ""}) {
        EXPECT_FALSE(HasIntelHexExtension(name)) << name;
    }
}

}  // namespace
