#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "pnp/FactoryImage.h"
#include "tests/CaseImage.h"

namespace {

CCaseImage Build(const std::string& text, const CCaseImage* initial = nullptr) {
    std::istringstream in(text);
    CCaseImage image;
    std::string error;
    EXPECT_EQ(BuildCaseImage(in, initial, image, error), 1) << error;
    return image;
}

std::string Failure(const std::string& text) {
    std::istringstream in(text);
    CCaseImage image;
    std::string error;
    EXPECT_EQ(BuildCaseImage(in, nullptr, image, error), 0) << text;
    return error;
}

// Offsets 32 up to the checksum after the End tag add up to 0 modulo 256.
bool ChecksumHolds(const std::vector<std::uint8_t>& bytes, std::size_t end) {
    return std::accumulate(bytes.begin() + 32, bytes.begin() + end, 0) % 256 == 0;
}

TEST(CaseImage, FactoryAndRecordEditsThatChangeNothingGiveTheFactoryBytes) {
    const std::vector<std::uint8_t> factory(FactoryImage().begin(), FactoryImage().end());
    EXPECT_EQ(Build("factory\n").bytes, factory);
    EXPECT_EQ(Build("# comment\n\nio 0 0 0x534 0x534 4 4\n").bytes, factory);
}

TEST(CaseImage, RecordEditIsWrittenAsTheWriterLaysItOutWithItsChecksum) {
    const CCaseImage image = Build("factory\nio 0 0 0x544 0x544 4 4\nirq 4 0 0x8000\n");
    // Codec ID at 38, identifier 44..52, start tag 53, DMA 55 and 58, IRQ 61, WSS port at 64.
    EXPECT_EQ(image.bytes[64], 0x47);
    EXPECT_EQ(image.bytes[66], 0x44);
    EXPECT_EQ(image.bytes[68], 0x44);
    EXPECT_EQ(image.bytes[246], 0x79);
    EXPECT_TRUE(ChecksumHolds(image.bytes, 248));
}

TEST(CaseImage, ShorterImageLeavesTheOldTailInPlace) {
    const CCaseImage image = Build("factory\nenabled 0 0\n");
    // 36 bytes of the Codec's resources go; the old End tag and checksum stay behind.
    EXPECT_EQ(image.bytes[246 - 36], 0x79);
    EXPECT_TRUE(ChecksumHolds(image.bytes, 248 - 36));
    EXPECT_EQ(image.bytes[246], FactoryImage()[246]);
    EXPECT_EQ(image.bytes[247], FactoryImage()[247]);
}

TEST(CaseImage, RawEditsFillSizeAndMissing) {
    const CCaseImage raw = Build("fill 0xFF\nbytes 40 0x15 1 0x2\nsize 1000\n");
    ASSERT_EQ(raw.bytes.size(), 1000u);
    EXPECT_EQ(raw.bytes[40], 0x15);
    EXPECT_EQ(raw.bytes[41], 1);
    EXPECT_EQ(raw.bytes[42], 2);
    EXPECT_EQ(raw.bytes[43], 0xFF);
    EXPECT_FALSE(Build("missing\n").present);
}

TEST(CaseImage, ImageStandsForTheInitialCard) {
    const CCaseImage initial = Build("factory\nbytes 0 0\n");
    const CCaseImage expected = Build("image\nname 1 \"Disabled [Game Port]\"\n", &initial);
    EXPECT_EQ(expected.bytes[0], 0);
    EXPECT_EQ(expected.bytes[89 + 9], 'D');
}

TEST(CaseImage, MistakesInADescriptionAreReportedWithTheirLine) {
    EXPECT_EQ(Failure("factory\nfrobnicate\n"), "line 2: unknown directive \"frobnicate\"");
    EXPECT_EQ(Failure("io 6 0 1 1 1 1\n"), "line 1: bad number \"6\"");
    EXPECT_EQ(Failure("bytes 2047 1 2\n"), "line 1: bytes past the end");
    EXPECT_EQ(Failure("fill 0xFF\nio 0 0 1 1 1 1\n"),
              "line 2: the image does not hold six devices to edit");
    EXPECT_EQ(Failure("image\n"), "line 1: no initial image here");
    EXPECT_EQ(Failure("fill 256\n"), "line 1: bad number \"256\"");
}

}  // namespace
