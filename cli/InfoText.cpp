#include "cli/InfoText.h"

#include <cstdio>

#include "text/TextJoin.h"

namespace {

constexpr int kIrqLines = 16;
constexpr int kDmaChannels = 8;

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string Hex(unsigned value) {
    return Format("0x%X", value);
}

std::string Numbers(const std::vector<int>& numbers) {
    if (numbers.empty()) {
        return "none";
    }
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text.append(i > 0 ? ", " : "").append(std::to_string(numbers[i]));
    }
    return text;
}

std::string IoText(const CIoPortDescriptor& port) {
    std::string text = JoinText("I/O ", Hex(port.minBase));
    if (port.maxBase != port.minBase) {
        text.append(" to ").append(Hex(port.maxBase));
    }
    return JoinText(text, ", ", std::to_string(port.length), port.length == 1 ? " port" : " ports",
                    " (alignment ", std::to_string(port.alignment), ")");
}

std::string IrqText(const CIrqDescriptor& irq) {
    return JoinText("IRQ ", Numbers(MaskBits(irq.mask, kIrqLines)));
}

std::string DmaText(const CDmaDescriptor& dma) {
    return JoinText("DMA ", Numbers(MaskBits(dma.mask, kDmaChannels)));
}

std::string DeviceHeading(const CDeviceSummary& device) {
    std::string text = JoinText("Device ", std::to_string(device.slot), " at offset ",
                                std::to_string(device.offset), ": ", IdText(device.id));
    text += device.hasIdentifier ? JoinText(" \"", device.identifier, "\"")
                                 : std::string(" (no identifier string)");
    if (device.slot >= WRITTEN_LOGICAL_DEVICES) {
        text += " (the setup dialog neither shows nor writes it)";
    }
    return text;
}

// The resources of a dependent function on one line: "I/O 0x534, 0x388; IRQ 5; DMA 1, 0".
std::string BriefFunction(const CDependentFunction& function) {
    std::string text;
    auto part = [&text](const std::string& add) {
        text.append(text.empty() ? "" : "; ").append(add);
    };
    std::string ports;
    for (int i = 0; i < function.ioCount && i < MAX_IO_PORTS; ++i) {
        const CIoPortDescriptor& port = function.ioPorts[i];
        ports.append(i > 0 ? ", " : "").append(Hex(port.minBase));
        if (port.maxBase != port.minBase) {
            ports.append("-").append(Hex(port.maxBase));
        }
    }
    if (!ports.empty()) {
        part(JoinText("I/O ", ports));
    }
    for (int i = 0; i < function.irqCount && i < MAX_IRQS; ++i) {
        part(IrqText(function.irqs[i]));
    }
    for (int i = 0; i < function.dmaCount && i < MAX_DMA_CHANNELS; ++i) {
        part(DmaText(function.dmaChannels[i]));
    }
    return text.empty() ? "no resources" : text;
}

// What the reader found: "6", "none (...)", "3, then a malformed one at offset 120 (...)".
std::string DeviceCountText(const CImageSummary& summary) {
    if (summary.headerLength == 0) {
        return "none (no Logical Device ID from offset 36 on)";
    }
    std::string text = std::to_string(summary.devices.size());
    if (summary.malformedSlot >= 0) {
        text +=
            JoinText(", then a malformed one at offset ", std::to_string(summary.malformedOffset),
                     " (the image reader refuses the image)");
    }
    return text;
}

}  // namespace

std::string IdText(std::uint32_t id) {
    return Format("0x%08X", id);
}

std::string ChecksumText(const CChecksum& checksum) {
    switch (checksum.state) {
        case ChecksumState::Valid:
            return "valid";
        case ChecksumState::Bad:
            return Format("bad (0x%02X stored, 0x%02X expected)", checksum.stored,
                          checksum.expected);
        case ChecksumState::Missing:
            break;
    }
    return "missing (no End tag after the resource data)";
}

std::string InfoText(const CImageSummary& summary, const std::string& source) {
    std::string text = JoinText("EEPROM of ", source, "\n");
    if (summary.headerLength == 0) {
        return JoinText(text, "Logical devices: ", DeviceCountText(summary), "\n");
    }
    text += JoinText("Header: ", std::to_string(summary.headerLength), " bytes (offsets 0 to ",
                     std::to_string(summary.headerLength - 1), ")\n");
    text += JoinText("Checksum: ", ChecksumText(summary.checksum));
    if (summary.checksum.endTagOffset >= 0) {
        text += JoinText(", End tag at offset ", std::to_string(summary.checksum.endTagOffset));
    }
    text += JoinText("\nLogical devices: ", DeviceCountText(summary), "\n");
    for (const CDeviceSummary& device : summary.devices) {
        text += JoinText(DeviceHeading(device), "\n");
        if (device.functionCount == 0) {
            text += "  no dependent functions\n";
        }
        for (int f = 0; f < device.functionCount; ++f) {
            const CDependentFunction& function = device.record.dependentFunctions[f];
            text += JoinText("  dependent function ", std::to_string(f + 1), "\n");
            for (int i = 0; i < function.ioCount && i < MAX_IO_PORTS; ++i) {
                text += JoinText("    ", IoText(function.ioPorts[i]), "\n");
            }
            for (int i = 0; i < function.irqCount && i < MAX_IRQS; ++i) {
                text += JoinText("    ", IrqText(function.irqs[i]), "\n");
            }
            for (int i = 0; i < function.dmaCount && i < MAX_DMA_CHANNELS; ++i) {
                text += JoinText("    ", DmaText(function.dmaChannels[i]), "\n");
            }
        }
    }
    return text;
}

std::string BriefInfoText(const CImageSummary& summary) {
    std::string text = JoinText("logical devices ", DeviceCountText(summary));
    if (summary.headerLength != 0) {
        text += JoinText(", checksum ", ChecksumText(summary.checksum));
    }
    text += "\n";
    for (const CDeviceSummary& device : summary.devices) {
        text += JoinText("  ", IdText(device.id));
        if (device.hasIdentifier) {
            text += JoinText(" \"", device.identifier, "\"");
        }
        text += ": ";
        if (device.functionCount == 0) {
            text += "no dependent functions";
        } else {
            text += BriefFunction(device.record.dependentFunctions[0]);
            if (device.functionCount > 1) {
                text += JoinText(" (and ", std::to_string(device.functionCount - 1),
                                 device.functionCount == 2 ? " more dependent function)"
                                                           : " more dependent functions)");
            }
        }
        text += "\n";
    }
    return text;
}
