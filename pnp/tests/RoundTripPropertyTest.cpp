#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pnp/tests/ImageChecks.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

// Many generated well-formed cards: the records must hold what the image held, the written
// image must follow the fixed layout per slot, and a card already in that layout must come
// back byte for byte.

namespace {

using Bytes = std::vector<std::uint8_t>;

struct GeneratedFunction {
    std::uint8_t priority = 0;
    Bytes io[MAX_IO_PORTS + 1], irq[MAX_IRQS + 1], dma[MAX_DMA_CHANNELS + 1];
    int ioCount = 0, irqCount = 0, dmaCount = 0;
    Bytes bytes;  // as it stands in the image
};

struct GeneratedDevice {
    Bytes idDescriptor;
    Bytes identifierItem;
    std::vector<GeneratedFunction> functions;
};

struct GeneratedCard {
    Bytes header;
    std::vector<GeneratedDevice> devices;
    std::uint8_t image[EEPROM_SIZE];
    int length = 0;
};

class CardGenerator {
public:
    explicit CardGenerator(unsigned seed) : random_(seed) {}

    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    std::uint8_t AnyByte() { return static_cast<std::uint8_t>(Between(0, 255)); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    Bytes Header() {
        Bytes header(static_cast<std::size_t>(Between(FIRST_DEVICE_SEARCH_START, 120)));
        for (std::size_t i = 0; i < header.size(); ++i) {
            do {
                header[i] = AnyByte();
            } while (i >= FIRST_DEVICE_SEARCH_START && header[i] == TAG_LOGICAL_DEVICE_ID);
        }
        return header;
    }

    Bytes IdDescriptor() {
        return {TAG_LOGICAL_DEVICE_ID, 0x0E, 0x63, AnyByte(), AnyByte(), AnyByte()};
    }

    // An identifier string item the reader sees whole: no 0x31 or 0x15 anywhere in it, the
    // length byte included, and at most 80 bytes.
    Bytes IdentifierItem() {
        int length;
        do {
            length = Between(0, IDENTIFIER_DATA_SIZE - IDENTIFIER_HEADER_SIZE);
        } while (length == TAG_START_DEPENDENT || length == TAG_LOGICAL_DEVICE_ID);
        Bytes item{TAG_IDENTIFIER_STRING, static_cast<std::uint8_t>(length), 0};
        for (int i = 0; i < length; ++i) {
            std::uint8_t c;
            do {
                c = AnyByte();
            } while (c == TAG_START_DEPENDENT || c == TAG_LOGICAL_DEVICE_ID);
            item.push_back(c);
        }
        return item;
    }

    Bytes Io() {
        return {TAG_IO_PORT, AnyByte(), AnyByte(), AnyByte(),
                AnyByte(),   AnyByte(), AnyByte(), AnyByte()};
    }
    Bytes Irq() { return {TAG_IRQ_FORMAT, AnyByte(), AnyByte()}; }
    Bytes Dma() { return {TAG_DMA_FORMAT, AnyByte(), AnyByte()}; }

    // The one dependent function the writer lays out for the slot, in its order.
    GeneratedFunction SlotLayout(int slot) {
        GeneratedFunction function;
        switch (slot) {
            case 0:
                AddDma(function);
                AddDma(function);
                AddIrq(function);
                AddIo(function);
                AddIo(function);
                AddIo(function);
                break;
            case 3:
                if (Chance(50)) {
                    AddIrq(function);
                }
                AddIo(function);
                break;
            case 4:
                AddIrq(function);
                AddIo(function);
                break;
            default:
                AddIo(function);
                break;
        }
        return function;
    }

    // Any mix the records can hold, in any order, with any priority.
    GeneratedFunction AnyFunction() {
        GeneratedFunction function;
        function.priority = static_cast<std::uint8_t>(Between(0, 2));
        const int io = Between(0, MAX_IO_PORTS), irq = Between(0, MAX_IRQS),
                  dma = Between(0, MAX_DMA_CHANNELS);
        std::vector<int> kinds;
        kinds.insert(kinds.end(), static_cast<std::size_t>(io), 0);
        kinds.insert(kinds.end(), static_cast<std::size_t>(irq), 1);
        kinds.insert(kinds.end(), static_cast<std::size_t>(dma), 2);
        std::shuffle(kinds.begin(), kinds.end(), random_);
        for (const int kind : kinds) {
            kind == 0 ? AddIo(function) : kind == 1 ? AddIrq(function) : AddDma(function);
        }
        return function;
    }

private:
    void AddIo(GeneratedFunction& function) { Add(function.io, function.ioCount, function, Io()); }
    void AddIrq(GeneratedFunction& function) {
        Add(function.irq, function.irqCount, function, Irq());
    }
    void AddDma(GeneratedFunction& function) {
        Add(function.dma, function.dmaCount, function, Dma());
    }
    static void Add(Bytes* entries, int& count, GeneratedFunction& function, Bytes descriptor) {
        entries[count++] = descriptor;
        function.bytes.insert(function.bytes.end(), descriptor.begin(), descriptor.end());
    }

    std::mt19937 random_;
};

void Append(Bytes& to, const Bytes& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// The End tag and the checksum that closes every image.
void AppendEndTag(Bytes& image) {
    image.push_back(TAG_END);
    const int length = static_cast<int>(image.size());
    image.push_back(static_cast<std::uint8_t>(0x100 - ChecksumRangeSum(image.data(), length)));
}

// Lays the generated card out as an image: header, devices, End tag, checksum, erased rest.
// False when the card would not fit the EEPROM.
bool Assemble(GeneratedCard& card, CardGenerator& generator) {
    Bytes image = card.header;
    for (const GeneratedDevice& device : card.devices) {
        Append(image, device.idDescriptor);
        Append(image, device.identifierItem);
        for (std::size_t f = 0; f < device.functions.size(); ++f) {
            const GeneratedFunction& function = device.functions[f];
            Append(image, {TAG_START_DEPENDENT, function.priority});
            Append(image, function.bytes);
            // The last function must be closed; the others may be.
            if (f + 1 == device.functions.size() || generator.Chance(30)) {
                image.push_back(TAG_END_DEPENDENT);
            }
        }
    }
    AppendEndTag(image);
    if (image.size() > static_cast<std::size_t>(EEPROM_SIZE)) {
        return false;
    }
    std::memset(card.image, 0xFF, sizeof card.image);
    std::copy(image.begin(), image.end(), card.image);
    card.length = static_cast<int>(image.size());
    return true;
}

// What the writer must emit for the card: each of the first six devices with its first
// function in the slot's layout, the entries the card did not have at their fresh values.
Bytes ExpectedWrite(const GeneratedCard& card) {
    const Bytes freshIo{0x47, 0x01, 0, 0, 0, 0, 0, 0}, freshIrq{0x22, 0, 0},
        freshDma{0x2A, 0, 0x28};
    Bytes image = card.header;
    for (int slot = 0; slot < WRITTEN_LOGICAL_DEVICES; ++slot) {
        const GeneratedDevice& device = card.devices[static_cast<std::size_t>(slot)];
        Append(image, device.idDescriptor);
        Append(image, device.identifierItem);
        if (device.functions.empty()) {
            continue;
        }
        const GeneratedFunction& f = device.functions[0];
        auto io = [&](int i) { return i < f.ioCount ? f.io[i] : freshIo; };
        auto irq = [&](int i) { return i < f.irqCount ? f.irq[i] : freshIrq; };
        auto dma = [&](int i) { return i < f.dmaCount ? f.dma[i] : freshDma; };
        Append(image, {TAG_START_DEPENDENT, 0});
        if (slot == 0) {
            for (const Bytes& d : {dma(0), dma(1), irq(0), io(0), io(1), io(2)}) {
                Append(image, d);
            }
        } else if ((slot == 3 && f.irqCount > 0) || slot == 4) {
            Append(image, irq(0));
            Append(image, io(0));
        } else {
            Append(image, io(0));
        }
        image.push_back(TAG_END_DEPENDENT);
    }
    AppendEndTag(image);
    return image;
}

template <typename Descriptor>
Bytes BytesOf(const Descriptor& descriptor) {
    const auto bytes = descriptor.Bytes();
    return Bytes(bytes.begin(), bytes.end());
}

// The records hold exactly what the card held, for every device the reader reached.
void ExpectRecordsMatch(const GeneratedCard& card, const CCardBuffers& buffers) {
    EXPECT_EQ(buffers.headerLength, static_cast<int>(card.header.size()));
    EXPECT_EQ(0, std::memcmp(buffers.header, card.header.data(), card.header.size()));
    for (std::size_t k = 0; k < card.devices.size(); ++k) {
        const GeneratedDevice& generated = card.devices[k];
        const CLogicalDevice& device = buffers.devices[k];
        EXPECT_EQ(Bytes(device.idDescriptor, device.idDescriptor + 6), generated.idDescriptor);
        EXPECT_EQ(
            Bytes(device.identifierData, device.identifierData + generated.identifierItem.size()),
            generated.identifierItem);
        const int functions = static_cast<int>(generated.functions.size());
        EXPECT_EQ(device.hasDependentFunctions, functions > 0 ? 1 : 0);
        EXPECT_EQ(device.dependentCount, 1 + std::min(functions, MAX_DEPENDENT_FUNCTIONS));
        for (int f = 0; f < std::min(functions, MAX_DEPENDENT_FUNCTIONS); ++f) {
            const GeneratedFunction& g = generated.functions[static_cast<std::size_t>(f)];
            const CDependentFunction& r = device.dependentFunctions[f];
            ASSERT_EQ(r.ioCount, g.ioCount);
            ASSERT_EQ(r.irqCount, g.irqCount);
            ASSERT_EQ(r.dmaCount, g.dmaCount);
            for (int i = 0; i < g.ioCount; ++i) {
                EXPECT_EQ(BytesOf(r.ioPorts[i]), g.io[i]);
            }
            for (int i = 0; i < g.irqCount; ++i) {
                EXPECT_EQ(BytesOf(r.irqs[i]), g.irq[i]);
            }
            for (int i = 0; i < g.dmaCount; ++i) {
                EXPECT_EQ(BytesOf(r.dmaChannels[i]), g.dma[i]);
            }
        }
    }
}

constexpr unsigned CARDS = 1500;

TEST(RoundTripProperty, CardsInTheWritersLayoutComeBackByteForByte) {
    for (unsigned seed = 0; seed < CARDS; ++seed) {
        CardGenerator generator(seed);
        GeneratedCard card;
        card.header = generator.Header();
        for (int slot = 0; slot < WRITTEN_LOGICAL_DEVICES; ++slot) {
            GeneratedDevice device{generator.IdDescriptor(), generator.IdentifierItem(), {}};
            // A switched-off device has no function; the last one needs its function so
            // that the End tag is not taken for identifier data.
            if (slot == WRITTEN_LOGICAL_DEVICES - 1 || generator.Chance(80)) {
                device.functions.push_back(generator.SlotLayout(slot));
            }
            card.devices.push_back(device);
        }
        ASSERT_TRUE(Assemble(card, generator));

        auto buffers = std::make_unique<CCardBuffers>();
        ASSERT_EQ(buffers->Locate(card.image), WRITTEN_LOGICAL_DEVICES) << "seed " << seed;
        ExpectRecordsMatch(card, *buffers);
        ASSERT_EQ(buffers->Build(), 1) << "seed " << seed;
        ASSERT_EQ(buffers->imageLength, card.length) << "seed " << seed;
        ASSERT_EQ(
            0, std::memcmp(buffers->writeImage, card.image, static_cast<std::size_t>(card.length)))
            << "seed " << seed;
        ExpectChecksumRule(*buffers);
    }
}

TEST(RoundTripProperty, AnyWellFormedCardIsWrittenInTheFixedLayout) {
    unsigned assembled = 0;
    for (unsigned seed = 0; seed < CARDS; ++seed) {
        CardGenerator generator(100000 + seed);
        GeneratedCard card;
        card.header = generator.Header();
        const int devices = generator.Between(WRITTEN_LOGICAL_DEVICES, MAX_LOGICAL_DEVICES);
        for (int slot = 0; slot < devices; ++slot) {
            GeneratedDevice device{generator.IdDescriptor(), generator.IdentifierItem(), {}};
            const int minimum = slot == devices - 1 ? 1 : 0;
            const int functions = generator.Between(minimum, MAX_DEPENDENT_FUNCTIONS + 1);
            for (int f = 0; f < functions; ++f) {
                device.functions.push_back(generator.AnyFunction());
            }
            card.devices.push_back(device);
        }
        if (!Assemble(card, generator)) {
            continue;
        }
        ++assembled;

        auto buffers = std::make_unique<CCardBuffers>();
        ASSERT_EQ(buffers->Locate(card.image), devices) << "seed " << seed;
        ExpectRecordsMatch(card, *buffers);
        ASSERT_EQ(buffers->Build(), 1) << "seed " << seed;
        const Bytes expected = ExpectedWrite(card);
        ASSERT_EQ(Bytes(buffers->writeImage, buffers->writeImage + buffers->imageLength), expected)
            << "seed " << seed;
        ExpectChecksumRule(*buffers);

        // Written once, the card is in the fixed layout: reading and writing it again changes
        // nothing (unless its sixth device had no function and so runs into the End tag).
        if (!card.devices[WRITTEN_LOGICAL_DEVICES - 1].functions.empty()) {
            std::uint8_t again[EEPROM_SIZE];
            std::memset(again, 0xFF, sizeof again);
            std::copy(expected.begin(), expected.end(), again);
            auto reread = std::make_unique<CCardBuffers>();
            ASSERT_EQ(reread->Locate(again), WRITTEN_LOGICAL_DEVICES) << "seed " << seed;
            ASSERT_EQ(reread->Build(), 1);
            ASSERT_EQ(Bytes(reread->writeImage, reread->writeImage + reread->imageLength), expected)
                << "seed " << seed;
        }
    }
    EXPECT_GT(assembled, CARDS * 9 / 10);  // oversized cards are rare, not the rule
}

}  // namespace
