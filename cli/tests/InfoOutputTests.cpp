// What info prints: the text a user reads, the JSON a script reads, and the short form the list
// of backups shows.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/InfoJson.h"
#include "cli/InfoText.h"
#include "cli/tests/CliFixture.h"

namespace {

CImageSummary Summary(const CImageBytes& bytes) {
    std::uint8_t image[EEPROM_SIZE];
    std::memcpy(image, bytes.data(), sizeof image);
    return SummarizeImage(image);
}

TEST(InfoOutput, TheFactoryCardAsText) {
    EXPECT_EQ(InfoText(Summary(FactoryBytes()), "factory.bin"),
              "EEPROM of factory.bin\n"
              "Header: 38 bytes (offsets 0 to 37)\n"
              "Checksum: valid, End tag at offset 246\n"
              "Logical devices: 6\n"
              "Device 0 at offset 38: 0x0E63A800 \"Codec\"\n"
              "  dependent function 1\n"
              "    I/O 0x534, 4 ports (alignment 4)\n"
              "    I/O 0x388, 4 ports (alignment 8)\n"
              "    I/O 0x220, 16 ports (alignment 32)\n"
              "    IRQ 5\n"
              "    DMA 1\n"
              "    DMA 0\n"
              "Device 1 at offset 89: 0x0E63A801 \"Game Port\"\n"
              "  dependent function 1\n"
              "    I/O 0x201, 1 port (alignment 1)\n"
              "Device 2 at offset 119: 0x0E63A810 \"Control\"\n"
              "  dependent function 1\n"
              "    I/O 0x100 to 0x608, 8 ports (alignment 8)\n"
              "Device 3 at offset 147: 0x0E63A803 \"MIDI-2\"\n"
              "  dependent function 1\n"
              "    I/O 0x330, 2 ports (alignment 8)\n"
              "    IRQ 11\n"
              "Device 4 at offset 177: 0x0E63A802 \"Midi Port\"\n"
              "  dependent function 1\n"
              "    I/O 0x300, 2 ports (alignment 8)\n"
              "    IRQ 9\n"
              "Device 5 at offset 210: 0x0E63A804 \"Digital Control\"\n"
              "  dependent function 1\n"
              "    I/O 0x308, 8 ports (alignment 8)\n");
}

TEST(InfoOutput, OddImagesSayWhatIsOdd) {
    CImageBytes bad = FactoryBytes();
    bad[247] = static_cast<std::uint8_t>(bad[247] ^ 0xFF);
    const std::string badText = InfoText(Summary(bad), "bad.bin");
    char expected[80];
    std::snprintf(expected, sizeof expected,
                  "Checksum: bad (0x%02X stored, 0x%02X expected), End tag at offset 246\n",
                  bad[247], FactoryBytes()[247]);
    EXPECT_NE(badText.find(expected), std::string::npos) << badText;

    CImageBytes noEnd = FactoryBytes();
    noEnd[246] = 0xFF;
    EXPECT_NE(InfoText(Summary(noEnd), "x")
                  .find("Checksum: missing (no End tag after the resource data)\n"),
              std::string::npos);

    EXPECT_EQ(InfoText(Summary(CImageBytes(2048, 0)), "blank.bin"),
              "EEPROM of blank.bin\nLogical devices: none (no Logical Device ID from offset 36 "
              "on)\n");

    CImageBytes malformed = FactoryBytes();
    malformed[165] = 0x23;
    EXPECT_NE(InfoText(Summary(malformed), "x")
                  .find("Logical devices: 3, then a malformed one at offset 147 (the image reader "
                        "refuses the image)\n"),
              std::string::npos);

    CImageBytes off = Splice(FactoryBytes(), 163, 14);
    FixChecksum(off, 232);
    EXPECT_NE(
        InfoText(Summary(off), "x")
            .find("Device 3 at offset 147: 0x0E63A803 \"MIDI-2\"\n  no dependent functions\n"),
        std::string::npos);
}

TEST(InfoOutput, DevicesBeyondTheSixthAreMarked) {
    CImageBytes image = Splice(FactoryBytes(), 246, 0,
                               {0x15, 0x0E, 0x63, 0xA8, 0x05, 0x00, 0x82, 0x01, 0x00, 0x00});
    image[256] = 0x79;
    FixChecksum(image, 256);
    EXPECT_NE(
        InfoText(Summary(image), "x")
            .find("Device 6 at offset 246: 0x0E63A805 \"\" (the setup dialog neither shows nor "
                  "writes it)\n  no dependent functions\n"),
        std::string::npos)
        << InfoText(Summary(image), "x");
}

TEST(InfoOutput, TheFactoryCardAsJson) {
    const nlohmann::json info = nlohmann::json::parse(InfoJson(Summary(FactoryBytes()), "card"));
    EXPECT_EQ(info["source"], "card");
    EXPECT_EQ(info["headerLength"], 38);
    EXPECT_EQ(info["checksum"]["state"], "valid");
    EXPECT_EQ(info["checksum"]["endTagOffset"], 246);
    EXPECT_EQ(info["checksum"]["stored"], info["checksum"]["expected"]);
    EXPECT_EQ(info["readable"], true);
    EXPECT_TRUE(info["malformedOffset"].is_null());
    ASSERT_EQ(info["devices"].size(), 6u);
    const nlohmann::json& codec = info["devices"][0];
    EXPECT_EQ(codec["slot"], 0);
    EXPECT_EQ(codec["offset"], 38);
    EXPECT_EQ(codec["id"], "0x0E63A800");
    EXPECT_EQ(codec["identifier"], "Codec");
    const nlohmann::json& function = codec["dependentFunctions"][0];
    EXPECT_EQ(
        function["io"][0],
        nlohmann::json({{"minBase", 0x534}, {"maxBase", 0x534}, {"alignment", 4}, {"length", 4}}));
    EXPECT_EQ(function["irqs"], nlohmann::json::parse(R"([{"lines":[5]}])"));
    EXPECT_EQ(function["dma"], nlohmann::json::parse(
                                   R"([{"channels":[1],"flags":40},{"channels":[0],"flags":40}])"));
    EXPECT_EQ(info["devices"][5]["id"], "0x0E63A804");
}

TEST(InfoOutput, JsonOfAnImageWithoutDevices) {
    const nlohmann::json info =
        nlohmann::json::parse(InfoJson(Summary(CImageBytes(2048, 0xFF)), "blank.bin"));
    EXPECT_TRUE(info["headerLength"].is_null());
    EXPECT_EQ(info["checksum"], nlohmann::json({{"state", "missing"}}));
    EXPECT_TRUE(info["devices"].empty());
    EXPECT_EQ(info["readable"], false);
}

TEST(InfoOutput, JsonStaysValidForAnyIdentifierBytes) {
    CImageBytes image = FactoryBytes();
    image[48] = 0xE9;  // no UTF-8 on its own
    image[49] = '"';
    const nlohmann::json info = nlohmann::json::parse(InfoJson(Summary(image), "odd.bin"));
    EXPECT_EQ(info["devices"][0]["identifier"], "C\\xE9\"ec");
}

TEST(InfoOutput, TheBriefFormOneLineADevice) {
    EXPECT_EQ(BriefInfoText(Summary(FactoryBytes())),
              "logical devices 6, checksum valid\n"
              "  0x0E63A800 \"Codec\": I/O 0x534, 0x388, 0x220; IRQ 5; DMA 1; DMA 0\n"
              "  0x0E63A801 \"Game Port\": I/O 0x201\n"
              "  0x0E63A810 \"Control\": I/O 0x100-0x608\n"
              "  0x0E63A803 \"MIDI-2\": I/O 0x330; IRQ 11\n"
              "  0x0E63A802 \"Midi Port\": I/O 0x300; IRQ 9\n"
              "  0x0E63A804 \"Digital Control\": I/O 0x308\n");
}

}  // namespace
