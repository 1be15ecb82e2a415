#include "pnp/DumpReader.h"

int ParseDumpDevices(std::span<const std::uint8_t> dump,
                     std::span<CLogicalDevice, DUMPED_DEVICES> devices) {
    std::size_t position = DUMP_SEARCH_START;
    while (position < dump.size() && dump[position] != TAG_LOGICAL_DEVICE_ID) {
        ++position;
    }
    if (position >= dump.size()) {
        return 0;
    }
    for (CLogicalDevice& device : devices) {
        const int consumed = device.Parse(dump.subspan(position));
        if (consumed < 0) {
            return 0;
        }
        position += static_cast<std::size_t>(consumed);
    }
    return 1;
}
