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
        const std::string& what = words[0];
        const bool recordEdit = what == "id" || what == "name" || what == "enabled" ||
                                what == "io" || what == "irq" || what == "irqcount" ||
                                what == "dma";
        if (!recordEdit && !records.Finish(image.bytes, reason)) {
            return fail(reason);
        }
        if (recordEdit && !records.Begin(image.bytes, reason)) {
            return fail(reason);
        }
        long long slot = 0, a = 0, b = 0, c = 0, d = 0, e = 0;
        if (recordEdit && (words.size() < 2 || !line.Number(1, 0, 5, slot))) {
            return fail(words.size() < 2 ? what + " needs a slot" : reason);
        }
        CLogicalDevice& device = records.devices[slot];
        CDependentFunction& function = device.dependentFunctions[0];
        if (what == "factory") {
            if (!line.Count(0)) {
                return fail(reason);
            }
            image.bytes.assign(FactoryImage().begin(), FactoryImage().end());
            image.present = true;
        } else if (what == "image") {
            if (initial == nullptr || !line.Count(0)) {
                return fail(initial == nullptr ? "no initial image here" : reason);
            }
            image = *initial;
        } else if (what == "fill") {
            if (!line.Count(1) || !line.Number(1, 0, 255, a)) {
                return fail(reason);
            }
            image.bytes.assign(EEPROM_SIZE, static_cast<std::uint8_t>(a));
            image.present = true;
        } else if (what == "missing") {
            if (!line.Count(0)) {
                return fail(reason);
            }
            image.present = false;
            image.bytes.clear();
        } else if (what == "size") {
            if (!line.Count(1) || !line.Number(1, 0, 65536, a)) {
                return fail(reason);
            }
            image.bytes.resize(static_cast<std::size_t>(a), 0xFF);
        } else if (what == "bytes") {
            if (words.size() < 3 || !line.Number(1, 0, 65535, a)) {
                return fail(words.size() < 3 ? "bytes needs an offset and bytes" : reason);
            }
            for (std::size_t i = 2; i < words.size(); ++i) {
                const std::size_t offset = static_cast<std::size_t>(a) + i - 2;
                if (!line.Number(i, 0, 255, b) || offset >= image.bytes.size()) {
                    return fail(offset >= image.bytes.size() ? "bytes past the end" : reason);
                }
                image.bytes[offset] = static_cast<std::uint8_t>(b);
            }
        } else if (what == "id") {
            if (!line.Count(2) || !line.Number(2, 0, 0xFFFFFFFFLL, a)) {
                return fail(reason);
            }
            device.SetDeviceId(static_cast<std::uint32_t>(a));
        } else if (what == "name") {
            if (!line.Count(2)) {
                return fail(reason);
            }
            device.SetIdentifier(words[2].c_str());
        } else if (what == "enabled") {
            if (!line.Count(2) || !line.Number(2, 0, 1, a)) {
                return fail(reason);
            }
            device.SetEnabled(static_cast<int>(a));
        } else if (what == "io") {
            if (!line.Count(6) || !line.Number(2, 0, MAX_IO_PORTS - 1, a) ||
                !line.Number(3, 0, 0xFFFF, b) || !line.Number(4, 0, 0xFFFF, c) ||
                !line.Number(5, 0, 255, d) || !line.Number(6, 0, 255, e)) {
                return fail(reason);
            }
            CIoPortDescriptor& port = function.ioPorts[a];
            port.minBase = static_cast<std::uint16_t>(b);
            port.maxBase = static_cast<std::uint16_t>(c);
            port.alignment = static_cast<std::uint8_t>(d);
            port.length = static_cast<std::uint8_t>(e);
        } else if (what == "irq") {
            if (!line.Count(3) || !line.Number(2, 0, MAX_IRQS - 1, a) ||
                !line.Number(3, 0, 0xFFFF, b)) {
                return fail(reason);
            }
            function.irqs[a].mask = static_cast<std::uint16_t>(b);
        } else if (what == "irqcount") {
            if (!line.Count(2) || !line.Number(2, 0, MAX_IRQS, a)) {
                return fail(reason);
            }
            function.irqCount = static_cast<std::int32_t>(a);
        } else if (what == "dma") {
            if (!line.Count(3) || !line.Number(2, 0, MAX_DMA_CHANNELS - 1, a) ||
                !line.Number(3, 0, 255, b)) {
                return fail(reason);
            }
            function.dmaChannels[a].mask = static_cast<std::uint8_t>(b);
        } else {
            return fail("unknown directive \"" + what + "\"");
        }
    }
    if (!records.Finish(image.bytes, reason)) {
        return fail(reason);
    }
    return 1;
}
