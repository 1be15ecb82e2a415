#include "tests/CaseImage.h"

#include <algorithm>
#include <charconv>

#include "pnp/FactoryImage.h"
#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"
#include "script/ScriptCommand.h"

namespace {

// A number as the descriptions write them: 0x... hexadecimal, otherwise decimal.
bool ParseNumber(const std::string& word, long long& value) {
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const char* first = word.data() + (hex ? 2 : 0);
    const char* last = word.data() + word.size();
    const auto result = std::from_chars(first, last, value, hex ? 16 : 10);
    return !word.empty() && result.ec == std::errc{} && result.ptr == last;
}

// The device records of the image being described, parsed when the first record edit comes
// and written back (the writer's bytes over the image's first bytes) when a raw edit or the
// end of the description comes.
class CRecordEdits {
public:
    bool active = false;
    CLogicalDevice devices[MAX_LOGICAL_DEVICES];
    std::uint8_t header[EEPROM_SIZE] = {};
    std::int32_t headerLength = 0;

    int Begin(const std::vector<std::uint8_t>& bytes, std::string& error) {
        if (active) {
            return 1;
        }
        if (bytes.size() != EEPROM_SIZE) {
            error = "record edits need a 2048-byte image";
            return 0;
        }
        std::uint8_t image[EEPROM_SIZE];
        std::copy(bytes.begin(), bytes.end(), image);
        for (CLogicalDevice& device : devices) {
            device = CLogicalDevice();
        }
        if (LocateDevices(image, header, headerLength, devices) < 6) {
            error = "the image does not hold six devices to edit";
            return 0;
        }
        active = true;
        return 1;
    }

    int Finish(std::vector<std::uint8_t>& bytes, std::string& error) {
        if (!active) {
            return 1;
        }
        active = false;
        std::uint8_t built[EEPROM_SIZE] = {};
        std::int32_t length = 0;
        if (!BuildImage(header, headerLength, devices, built, length)) {
            error = "the edited records do not make an image";
            return 0;
        }
        std::copy(built, built + length, bytes.begin());
        return 1;
    }
};

struct CLineReader {
    const std::vector<std::string>& words;
    std::string& error;

    bool Count(std::size_t arguments) {
        if (words.size() != arguments + 1) {
            error = words[0] + " takes " + std::to_string(arguments) + " arguments";
            return false;
        }
        return true;
    }
    bool Number(std::size_t index, long long low, long long high, long long& value) {
        if (!ParseNumber(words[index], value) || value < low || value > high) {
            error = "bad number \"" + words[index] + "\"";
            return false;
        }
        return true;
    }
};

// What a directive works on: the words of its line, the image so far, the image "image" stands
// for, and (for a record edit) the device its slot names.
struct CDirectiveLine {
    CLineReader& line;
    const std::vector<std::string>& words;
    CCaseImage& image;
    const CCaseImage* initial;
    CLogicalDevice& device;

    CDependentFunction& Function() { return device.dependentFunctions[0]; }
};

// Each directive returns false with the line's reason set.
bool Factory(CDirectiveLine& at) {
    if (!at.line.Count(0)) {
        return false;
    }
    at.image.bytes.assign(FactoryImage().begin(), FactoryImage().end());
    at.image.present = true;
    return true;
}

bool Initial(CDirectiveLine& at) {
    if (at.initial == nullptr) {
        at.line.error = "no initial image here";
        return false;
    }
    if (!at.line.Count(0)) {
        return false;
    }
    at.image = *at.initial;
    return true;
}

bool Fill(CDirectiveLine& at) {
    long long value = 0;
    if (!at.line.Count(1) || !at.line.Number(1, 0, 255, value)) {
        return false;
    }
    at.image.bytes.assign(EEPROM_SIZE, static_cast<std::uint8_t>(value));
    at.image.present = true;
    return true;
}

bool Missing(CDirectiveLine& at) {
    if (!at.line.Count(0)) {
        return false;
    }
    at.image.present = false;
    at.image.bytes.clear();
    return true;
}

bool Size(CDirectiveLine& at) {
    long long size = 0;
    if (!at.line.Count(1) || !at.line.Number(1, 0, 65536, size)) {
        return false;
    }
    at.image.bytes.resize(static_cast<std::size_t>(size), 0xFF);
    return true;
}

bool RawBytes(CDirectiveLine& at) {
    long long start = 0, value = 0;
    if (at.words.size() < 3) {
        at.line.error = "bytes needs an offset and bytes";
        return false;
    }
    if (!at.line.Number(1, 0, 65535, start)) {
        return false;
    }
    for (std::size_t i = 2; i < at.words.size(); ++i) {
        const std::size_t offset = static_cast<std::size_t>(start) + i - 2;
        if (offset >= at.image.bytes.size()) {
            at.line.error = "bytes past the end";
            return false;
        }
        if (!at.line.Number(i, 0, 255, value)) {
            return false;
        }
        at.image.bytes[offset] = static_cast<std::uint8_t>(value);
    }
    return true;
}

bool DeviceId(CDirectiveLine& at) {
    long long id = 0;
    if (!at.line.Count(2) || !at.line.Number(2, 0, 0xFFFFFFFFLL, id)) {
        return false;
    }
    at.device.SetDeviceId(static_cast<std::uint32_t>(id));
    return true;
}

bool Name(CDirectiveLine& at) {
    if (!at.line.Count(2)) {
        return false;
    }
    at.device.SetIdentifier(at.words[2].c_str());
    return true;
}

bool Enabled(CDirectiveLine& at) {
    long long enabled = 0;
    if (!at.line.Count(2) || !at.line.Number(2, 0, 1, enabled)) {
        return false;
    }
    at.device.SetEnabled(static_cast<int>(enabled));
    return true;
}

bool IoPort(CDirectiveLine& at) {
    long long index = 0, minBase = 0, maxBase = 0, alignment = 0, length = 0;
    if (!at.line.Count(6) || !at.line.Number(2, 0, MAX_IO_PORTS - 1, index) ||
        !at.line.Number(3, 0, 0xFFFF, minBase) || !at.line.Number(4, 0, 0xFFFF, maxBase) ||
        !at.line.Number(5, 0, 255, alignment) || !at.line.Number(6, 0, 255, length)) {
        return false;
    }
    CIoPortDescriptor& port = at.Function().ioPorts[index];
    port.minBase = static_cast<std::uint16_t>(minBase);
    port.maxBase = static_cast<std::uint16_t>(maxBase);
    port.alignment = static_cast<std::uint8_t>(alignment);
    port.length = static_cast<std::uint8_t>(length);
    return true;
}

bool Irq(CDirectiveLine& at) {
    long long index = 0, mask = 0;
    if (!at.line.Count(3) || !at.line.Number(2, 0, MAX_IRQS - 1, index) ||
        !at.line.Number(3, 0, 0xFFFF, mask)) {
        return false;
    }
    at.Function().irqs[index].mask = static_cast<std::uint16_t>(mask);
    return true;
}

bool IrqCount(CDirectiveLine& at) {
    long long count = 0;
    if (!at.line.Count(2) || !at.line.Number(2, 0, MAX_IRQS, count)) {
        return false;
    }
    at.Function().irqCount = static_cast<std::int32_t>(count);
    return true;
}

bool Dma(CDirectiveLine& at) {
    long long index = 0, mask = 0;
    if (!at.line.Count(3) || !at.line.Number(2, 0, MAX_DMA_CHANNELS - 1, index) ||
        !at.line.Number(3, 0, 255, mask)) {
        return false;
    }
    at.Function().dmaChannels[index].mask = static_cast<std::uint8_t>(mask);
    return true;
}

// A record edit names a device slot first and works on the parsed records; the others work on
// the raw bytes.
enum class EEdits { kBytes, kRecord };

struct CDirective {
    const char* word;
    EEdits edits;
    bool (*apply)(CDirectiveLine&);
};

constexpr CDirective kDirectives[] = {
    {"factory", EEdits::kBytes, Factory},     // factory
    {"image", EEdits::kBytes, Initial},       // image
    {"fill", EEdits::kBytes, Fill},           // fill BYTE
    {"missing", EEdits::kBytes, Missing},     // missing
    {"size", EEdits::kBytes, Size},           // size LENGTH
    {"bytes", EEdits::kBytes, RawBytes},      // bytes OFFSET BYTE...
    {"id", EEdits::kRecord, DeviceId},        // id SLOT ID
    {"name", EEdits::kRecord, Name},          // name SLOT TEXT
    {"enabled", EEdits::kRecord, Enabled},    // enabled SLOT 0|1
    {"io", EEdits::kRecord, IoPort},          // io SLOT INDEX MIN MAX ALIGNMENT LENGTH
    {"irq", EEdits::kRecord, Irq},            // irq SLOT INDEX MASK
    {"irqcount", EEdits::kRecord, IrqCount},  // irqcount SLOT COUNT
    {"dma", EEdits::kRecord, Dma},            // dma SLOT INDEX MASK
};

const CDirective* FindDirective(const std::string& word) {
    for (const CDirective& directive : kDirectives) {
        if (word == directive.word) {
            return &directive;
        }
    }
    return nullptr;
}

}  // namespace

int BuildCaseImage(std::istream& description, const CCaseImage* initial, CCaseImage& image,
                   std::string& error) {
    image = CCaseImage{};
    image.bytes = std::vector<std::uint8_t>(FactoryImage().begin(), FactoryImage().end());
    CRecordEdits records;
    std::string text;
    int lineNumber = 0;
    std::string reason;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return 0;
    };
    while (std::getline(description, text)) {
        ++lineNumber;
        std::vector<std::string> words;
        const std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#') {
            continue;
        }
        if (!SplitScriptWords(text, words, reason)) {
            return fail(reason);
        }
        CLineReader line{words, reason};
        const CDirective* directive = FindDirective(words[0]);
        const bool recordEdit = directive != nullptr && directive->edits == EEdits::kRecord;
        // Record edits in a row share one parse; anything else writes them back first.
        const int recordsReady =
            recordEdit ? records.Begin(image.bytes, reason) : records.Finish(image.bytes, reason);
        if (!recordsReady) {
            return fail(reason);
        }
        if (directive == nullptr) {
            return fail("unknown directive \"" + words[0] + "\"");
        }
        long long slot = 0;
        if (recordEdit && words.size() < 2) {
            return fail(words[0] + " needs a slot");
        }
        if (recordEdit && !line.Number(1, 0, 5, slot)) {
            return fail(reason);
        }
        CDirectiveLine at{line, words, image, initial, records.devices[slot]};
        if (!directive->apply(at)) {
            return fail(reason);
        }
    }
    if (!records.Finish(image.bytes, reason)) {
        return fail(reason);
    }
    return 1;
}
