#include "cli/InfoJson.h"

#include <nlohmann/json.hpp>

#include "cli/InfoText.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr int kIrqLines = 16;
constexpr int kDmaChannels = 8;

const char* StateName(ChecksumState state) {
    switch (state) {
        case ChecksumState::Valid:
            return "valid";
        case ChecksumState::Bad:
            return "bad";
        case ChecksumState::Missing:
            break;
    }
    return "missing";
}

Json FunctionJson(const CDependentFunction& function) {
    Json io = Json::array();
    for (int i = 0; i < function.ioCount && i < MAX_IO_PORTS; ++i) {
        const CIoPortDescriptor& port = function.ioPorts[i];
        io.push_back({{"minBase", port.minBase},
                      {"maxBase", port.maxBase},
                      {"alignment", port.alignment},
                      {"length", port.length}});
    }
    Json irqs = Json::array();
    for (int i = 0; i < function.irqCount && i < MAX_IRQS; ++i) {
        irqs.push_back({{"lines", MaskBits(function.irqs[i].mask, kIrqLines)}});
    }
    Json dma = Json::array();
    for (int i = 0; i < function.dmaCount && i < MAX_DMA_CHANNELS; ++i) {
        dma.push_back({{"channels", MaskBits(function.dmaChannels[i].mask, kDmaChannels)},
                       {"flags", function.dmaChannels[i].flags}});
    }
    return Json{{"io", io}, {"irqs", irqs}, {"dma", dma}};
}

}  // namespace

std::string JsonText(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string InfoJson(const CImageSummary& summary, const std::string& source) {
    return JsonText(SummaryJson(summary, source));
}

Json SummaryJson(const CImageSummary& summary, const std::string& source) {
    Json info;
    info["source"] = source;
    info["headerLength"] = summary.headerLength != 0 ? Json(summary.headerLength) : Json(nullptr);
    Json checksum{{"state", StateName(summary.checksum.state)}};
    if (summary.checksum.endTagOffset >= 0) {
        checksum["endTagOffset"] = summary.checksum.endTagOffset;
        checksum["stored"] = summary.checksum.stored;
        checksum["expected"] = summary.checksum.expected;
    }
    info["checksum"] = checksum;
    Json devices = Json::array();
    for (const CDeviceSummary& device : summary.devices) {
        Json functions = Json::array();
        for (int f = 0; f < device.functionCount; ++f) {
            functions.push_back(FunctionJson(device.record.dependentFunctions[f]));
        }
        devices.push_back(
            {{"slot", device.slot},
             {"offset", device.offset},
             {"id", IdText(device.id)},
             {"identifier", device.hasIdentifier ? Json(device.identifier) : Json(nullptr)},
             {"dependentFunctions", functions}});
    }
    info["devices"] = devices;
    info["readable"] = summary.headerLength != 0 && summary.malformedSlot < 0;
    info["malformedOffset"] =
        summary.malformedSlot >= 0 ? Json(summary.malformedOffset) : Json(nullptr);
    return info;
}
