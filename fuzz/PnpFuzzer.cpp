// Feeds arbitrary bytes to the image reader and the image writer, as the setup dialog and
// the diagnostic dump use them, and stops at the first broken promise. Buffers are heap
// blocks of their exact size so that the address sanitizer sees any step past their end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "pnp/DumpReader.h"
#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"
#include "testsupport/CardBuffers.h"

namespace {

constexpr std::uint8_t UNTOUCHED = 0xA5;

using Card = CCardBuffers;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Bytes after the first 2048 are read as edits of the records, the kind of changes the
// dialog makes before writing, with values it would never pass as well.
void ApplyEdits(Card& card, const std::uint8_t* edits, std::size_t size) {
    char text[320];
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        CLogicalDevice& device = card.devices[edits[i + 1] % WRITTEN_LOGICAL_DEVICES];
        CDependentFunction& function = device.dependentFunctions[0];
        const int value = static_cast<std::int16_t>(edits[i + 2] | (edits[i + 3] << 8));
        switch (edits[i] % 8) {
            case 0:
                function.irqs[0].SetLine(value);
                break;
            case 1:
                function.dmaChannels[edits[i] / 8 % MAX_DMA_CHANNELS].SetChannel(value);
                break;
            case 2:
                function.ioPorts[edits[i] / 8 % MAX_IO_PORTS].SetMinBase(value);
                break;
            case 3:
                function.ioPorts[edits[i] / 8 % MAX_IO_PORTS].SetMaxBase(value);
                break;
            case 4: {
                const std::size_t length = static_cast<std::size_t>(value & 0x1FF) % sizeof text;
                std::memset(text, 'A' + edits[i] / 8 % 26, length);
                text[length] = '\0';
                device.SetIdentifier(text);
                break;
            }
            case 5:
                device.SetEnabled(value & 1);
                break;
            case 6:
                function.irqCount = value & 1;
                break;
            default:
                device.SetDeviceId(static_cast<std::uint32_t>(value) * 0x9E3779B1u);
                break;
        }
    }
}

void CheckBuild(Card& card) {
    std::memset(card.writeImage, UNTOUCHED, sizeof card.writeImage);
    card.imageLength = -7;
    if (BuildImage(card.header, card.headerLength, card.devices, card.writeImage,
                   card.imageLength) != 1) {
        Require(card.imageLength == 0);
        for (const std::uint8_t byte : card.writeImage) {
            Require(byte == UNTOUCHED);
        }
        return;
    }
    const int length = card.imageLength;
    Require(length >= card.headerLength + 2 && length <= EEPROM_SIZE);
    Require(std::memcmp(card.writeImage, card.header,
                        static_cast<std::size_t>(card.headerLength)) == 0);
    Require(card.writeImage[length - 2] == TAG_END);
    std::uint8_t sum = 0;
    for (int i = CHECKSUM_START; i < length; ++i) {
        sum = static_cast<std::uint8_t>(sum + card.writeImage[i]);
    }
    Require(sum == 0);
}

void CheckRecords(const Card& card) {
    for (const CLogicalDevice& device : card.devices) {
        for (const CDependentFunction& function : device.dependentFunctions) {
            Require(function.ioCount >= 0 && function.ioCount <= MAX_IO_PORTS);
            Require(function.dmaCount >= 0 && function.dmaCount <= MAX_DMA_CHANNELS);
            Require(function.irqCount >= 0 && function.irqCount <= MAX_IRQS);
        }
    }
}

// The setup dialog's road: read the image, change the records, write it, read it back.
void ReadChangeWrite(const std::uint8_t* data, std::size_t size) {
    auto readImage = std::make_unique<std::uint8_t[]>(EEPROM_SIZE);
    const std::size_t imageBytes = size < EEPROM_SIZE ? size : EEPROM_SIZE;
    std::memset(readImage.get(), 0xFF, EEPROM_SIZE);
    std::memcpy(readImage.get(), data, imageBytes);
    const auto& image = *reinterpret_cast<const std::uint8_t(*)[EEPROM_SIZE]>(readImage.get());

    auto card = std::make_unique<Card>();
    const int located = LocateDevices(image, card->header, card->headerLength, card->devices);
    Require(located >= 0 && located <= MAX_LOGICAL_DEVICES);
    CheckRecords(*card);
    if (located == 0) {
        return;
    }
    Require(card->headerLength >= FIRST_DEVICE_SEARCH_START && card->headerLength < EEPROM_SIZE);
    ApplyEdits(*card, data + imageBytes, size - imageBytes);
    CheckBuild(*card);
    if (card->imageLength == 0) {
        return;
    }

    // What was written is read back as the card would be at the next start.
    auto written = std::make_unique<std::uint8_t[]>(EEPROM_SIZE);
    std::memcpy(written.get(), readImage.get(), EEPROM_SIZE);
    std::memcpy(written.get(), card->writeImage, static_cast<std::size_t>(card->imageLength));
    auto again = std::make_unique<Card>();
    LocateDevices(*reinterpret_cast<const std::uint8_t(*)[EEPROM_SIZE]>(written.get()),
                  again->header, again->headerLength, again->devices);
    CheckRecords(*again);
}

// The diagnostic dump's road, through the dialog's own device walk: six devices one after
// another from at most 500 bytes, the search for the first one included.
void DumpParse(const std::uint8_t* data, std::size_t size) {
    const std::size_t dumpBytes = size < DUMP_SIZE ? size : DUMP_SIZE;
    auto bytes = std::make_unique<std::uint8_t[]>(dumpBytes);
    std::memcpy(bytes.get(), data, dumpBytes);
    auto card = std::make_unique<Card>();
    const std::span<CLogicalDevice, DUMPED_DEVICES> devices(card->devices, DUMPED_DEVICES);
    const int parsed =
        ParseDumpDevices(std::span<const std::uint8_t>(bytes.get(), dumpBytes), devices);
    Require(parsed == 0 || parsed == 1);
    Require(parsed == 0 || dumpBytes > static_cast<std::size_t>(DUMP_SEARCH_START));
    CheckRecords(*card);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadChangeWrite(data, size);
    DumpParse(data, size);
    return 0;
}
