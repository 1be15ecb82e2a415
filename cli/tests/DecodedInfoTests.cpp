#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "cli/tests/CliFixture.h"
#include "pnp/DeviceIdentities.h"
#include "testsupport/ItemKinds.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

CImageBytes Bytes(const CCardImage& card) {
    return CImageBytes(card.Image(), card.Image() + EEPROM_SIZE);
}

CImageBytes FirstBytesErased(int count) {
    CImageBytes image = FactoryBytes();
    std::fill(image.begin(), image.begin() + count, 0xFF);
    return image;
}

// The name of an item's kind from its tag byte, as the Plug and Play item numbers give it:
// small items in bits 6 to 3, large items (bit 7 set) in bits 6 to 0.
std::string KindOfTag(std::uint8_t tag) {
    if ((tag & 0x80) != 0) {
        switch (tag & 0x7F) {
            case 0x01:
                return "memoryRange";
            case 0x02:
                return "identifierAnsi";
            case 0x03:
                return "identifierUnicode";
            case 0x04:
                return "vendorLarge";
            case 0x05:
                return "memory32Range";
            case 0x06:
                return "fixedMemory32Range";
            default:
                return "reservedLarge";
        }
    }
    switch ((tag >> 3) & 0x0F) {
        case 0x1:
            return "pnpVersion";
        case 0x2:
            return "logicalDeviceId";
        case 0x3:
            return "compatibleDeviceId";
        case 0x4:
            return "irq";
        case 0x5:
            return "dma";
        case 0x6:
            return "startDependent";
        case 0x7:
            return "endDependent";
        case 0x8:
            return "ioPort";
        case 0x9:
            return "fixedIo";
        case 0xE:
            return "vendorSmall";
        case 0xF:
            return "end";
        default:
            return "reservedSmall";
    }
}

class DecodedInfoTest : public VymcnfTest {};

TEST_F(DecodedInfoTest, EveryItemKindIsDecodedAndIndentedByDeviceAndFunction) {
    ASSERT_EQ(Run({"info", WriteFile("every.bin", Bytes(EveryItemKindCard()))}), 0) << err;
    for (const char* line :
         {"0x000  Serial identifier: card 0x0E63A8F0, serial number 0x00012345, check byte",
          "0x009  Plug and Play version 1.0, vendor version 0x10",
          "  Identifier string (ANSI) \"Test Board\"",
          "  Vendor-defined large item, 4 bytes: 0xDE 0xAD 0xBE 0xEF",
          "  Logical Device ID 0x0E63A800, flags 0x01 (boot device)",
          "    Compatible device ID 0x41D0B020",
          "    Vendor-defined small item, 2 bytes: 0x12 0x34",
          "    Identifier string (Unicode, country code 0x0409) \"Codec \\u00E9\"",
          "    Start dependent function, priority good",
          "      DMA 1, flags 0x28 (8-bit, count by byte, type A)",
          "      Fixed I/O 0x388, 4 ports (10-bit decode)",
          "    Start dependent function, priority acceptable",
          "      IRQ 9, 11, information 0x09 (high-true edge, low-true level)",
          "      I/O 0x220 to 0x280, 16 ports (alignment 32, 10-bit decode)",
          "      Memory 0xC8000 to 0xD8000, 0x4000 bytes (alignment 0x40, writable, not "
          "cacheable, 8-bit)",
          "    Start dependent function (no priority byte: acceptable)",
          "      DMA 3, flags 0x16 (16-bit, bus master, count by word, compatibility timing)",
          "      32-bit memory 0xE0000 to 0xF0000, 0x2000 bytes (alignment 0x1000, writable, "
          "cacheable, 32-bit)",
          "      32-bit fixed memory 0xFEDC0000, 0x10000 bytes (read-only, cacheable, 8-bit)",
          "    End dependent functions", "    Reserved small item 0x51, 1 byte: 0x5A",
          "    Reserved large item 0xF0, 2 bytes: 0x01 0x02", "  End tag, checksum",
          "Serial identifier check byte: holds",
          "End tag checksum (offsets 0x020 through it add up to 0): holds",
          // The reader looks for devices from offset 36 on only: it misses the Codec.
          "  Slot Codec: 0x0E63A801 \"Game Port\" at 0x09D, 1 dependent function",
          "It cannot write this image: its image reader finds 1 logical device, not six."}) {
        EXPECT_TRUE(Contains(out, line)) << "missing: " << line << "\n" << out;
    }
    EXPECT_FALSE(Contains(out, "! ")) << out;  // nothing wrong with any item
}

TEST_F(DecodedInfoTest, JsonCarriesEveryItemAndBothChecks) {
    ASSERT_EQ(Run({"info", "--json", WriteFile("every.bin", Bytes(EveryItemKindCard()))}), 0)
        << err;
    const nlohmann::json info = nlohmann::json::parse(out);
    // Each item is named for what its first byte says it is; the card holds every kind once
    // at least, the serial identifier (the header, which has no tag) first.
    ASSERT_EQ(info["items"].size(), 31u);
    EXPECT_EQ(info["items"][0]["kind"], "serialIdentifier");
    std::set<std::string> kinds = {"serialIdentifier"};
    for (std::size_t i = 1; i < info["items"].size(); ++i) {
        const nlohmann::json& item = info["items"][i];
        const std::string bytes = item["bytes"];
        const auto tag = static_cast<std::uint8_t>(std::stoul(bytes.substr(0, 4), nullptr, 16));
        EXPECT_EQ(item["kind"], KindOfTag(tag)) << bytes;
        kinds.insert(item["kind"].get<std::string>());
    }
    EXPECT_EQ(kinds.size(), 20u);
    EXPECT_EQ(info["items"][15]["text"],
              "IRQ 9, 11, information 0x09 (high-true edge, low-true level)");
    EXPECT_EQ(info["items"][15]["device"], 0);
    EXPECT_EQ(info["items"][15]["function"], 1);
    EXPECT_EQ(info["items"][15]["bytes"], "0x23 0x00 0x0A 0x09");
    EXPECT_EQ(info["checks"]["serialIdentifier"]["state"], "holds");
    EXPECT_EQ(info["checks"]["endTag"]["state"], "holds");
    EXPECT_TRUE(info["breaks"].empty());
    EXPECT_EQ(info["dialog"]["canWrite"], false);
    // The reader's view keeps its fields.
    EXPECT_EQ(info["headerLength"], 0x9D);
    EXPECT_EQ(info["dialog"]["slots"][0]["device"], 0x9D);
}

TEST_F(DecodedInfoTest, TheFactoryImageIsWrittenAsItStands) {
    ASSERT_EQ(Run({"info", WriteFile("factory.bin", FactoryBytes())}), 0) << err;
    EXPECT_TRUE(Contains(out, "  Header: 38 bytes (0x000 to 0x025)\n")) << out;
    EXPECT_TRUE(Contains(out,
                         "  Slot Midi-1: 0x0E63A802 \"Midi Port\" at 0x0B1, 1 dependent "
                         "function\n"))
        << out;
    EXPECT_TRUE(Contains(out,
                         "  It can write this image.\n  Its write keeps every item as it "
                         "stands.\n"))
        << out;
    EXPECT_TRUE(Contains(out, "Conflicts:\n  none between enabled devices\n")) << out;
}

TEST_F(DecodedInfoTest, AnImageWithItsFirstBytesErasedSaysWhereItBreaksAndWhatTheDialogShows) {
    ASSERT_EQ(Run({"info", WriteFile("erased.bin", FirstBytesErased(74))}), 0) << err;
    for (const char* line :
         {"! The item at 0x009 (tag 0xFF) claims 65538 bytes, which run past the end of the "
          "image; the walk goes on at the next Logical Device ID tag, at 0x059.",
          "0x059  Logical Device ID 0x0E63A801", "Serial identifier check byte: bad (0xFF at 0x008",
          "End tag checksum (offsets 0x020 through it add up to 0): bad",
          "  Header: 89 bytes (0x000 to 0x058)", "  Slot Codec: 0x0E63A801 \"Game Port\" at 0x059",
          "  Slot Digital Control: empty",
          "  It cannot write this image: its image reader finds 5 logical devices, not six."}) {
        EXPECT_TRUE(Contains(out, line)) << "missing: " << line << "\n" << out;
    }
}

TEST_F(DecodedInfoTest, WhatTheDialogsWriteWouldDropAndChange) {
    // Seven devices; the first with a second dependent function and a priority the writer does
    // not keep, and a compatible ID.
    CCardImage card;
    card.Header(38);
    card.Device(IDENTITY_CODEC.id, "Codec");
    AppendCompatibleId(card, 0x41D0B020);
    card.StartDependent(1).Dma(0x02).Dma(0x01).Irq(0x0020);
    card.Io(0x534, 0x534, 4, 4).Io(0x388, 0x388, 8, 4).Io(0x220, 0x220, 0x20, 0x10);
    card.StartDependent(2).Dma(0x02).Dma(0x01).Irq(0x0080);
    card.Io(0x534, 0x534, 4, 4).Io(0x388, 0x388, 8, 4).Io(0x220, 0x220, 0x20, 0x10);
    card.EndDependent();
    for (int i = 1; i < 7; ++i) {
        const auto base = static_cast<std::uint16_t>(0x300 + 0x10 * i);
        card.Device(0x0E63A800 + static_cast<std::uint32_t>(i), "Dev");
        card.StartDependent().Irq(static_cast<std::uint16_t>(1u << (i + 8))).Io(base, base, 8, 8);
        card.EndDependent();
    }
    card.EndTag();
    ASSERT_EQ(Run({"info", WriteFile("seven.bin", Bytes(card))}), 0) << err;
    for (const char* line :
         {"  It can write this image.", "  Its write would drop:",
          "    device 6 (0x0E63A806 \"Dev\") at 0x", ": the whole device (the dialog keeps six)",
          "    device 0 (0x0E63A800 \"Codec\"): dependent function 2 at 0x",
          "    device 0 (0x0E63A800 \"Codec\"): Compatible device ID 0x41D0B020 at 0x",
          "  Its write would change:",
          "    device 0 (0x0E63A800 \"Codec\"): Start dependent function, priority acceptable "
          "at 0x",
          " becomes Start dependent function, priority good"}) {
        EXPECT_TRUE(Contains(out, line)) << "missing: " << line << "\n" << out;
    }
}

TEST_F(DecodedInfoTest, ConflictsBetweenEnabledDevicesAreListed) {
    CCardSettings settings;
    settings.midi2Min = settings.midi2Max = 0x330;  // Midi-1's ports
    settings.midi2IrqMask = 0x0200;                 // Midi-1's IRQ 9
    settings.gamePortOn = false;                    // switched off: no resources
    ASSERT_EQ(Run({"info", "--json", WriteFile("clash.bin", Bytes(StandardCard(settings)))}), 0)
        << err;
    const nlohmann::json info = nlohmann::json::parse(out);
    ASSERT_EQ(info["conflicts"].size(), 2u) << info["conflicts"].dump();
    EXPECT_EQ(info["conflicts"][0]["kind"], "irq");
    EXPECT_EQ(info["conflicts"][0]["devices"], nlohmann::json({3, 4}));
    EXPECT_EQ(info["conflicts"][1]["kind"], "io");
    EXPECT_EQ(info["conflicts"][1]["text"],
              "I/O 0x330-0x331 of device 3 (0x0E63A803 \"MIDI-2\") overlaps I/O 0x330-0x331 of "
              "device 4 (0x0E63A802 \"Midi Port\")");
}

}  // namespace
