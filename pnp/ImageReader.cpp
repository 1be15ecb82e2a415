#include "pnp/ImageReader.h"

int LocateDevices(const std::uint8_t (&readImage)[EEPROM_SIZE], std::uint8_t (&header)[EEPROM_SIZE],
                  std::int32_t& headerLength, CLogicalDevice (&devices)[MAX_LOGICAL_DEVICES]) {
    headerLength = FIRST_DEVICE_SEARCH_START - 1;

    // The card-level header may itself hold the byte 0x15; no device starts before offset 36.
    int first = FIRST_DEVICE_SEARCH_START;
    while (first < EEPROM_SIZE && readImage[first] != TAG_LOGICAL_DEVICE_ID) {
        ++first;
    }
    if (first == EEPROM_SIZE) {
        return 0;
    }

    headerLength = first;
    for (int i = 0; i < first; ++i) {
        header[i] = readImage[i];
    }

    const std::span<const std::uint8_t> image(readImage);
    int position = first;
    int parsed = 0;
    while (parsed < MAX_LOGICAL_DEVICES) {
        const int consumed = devices[parsed].Parse(image.subspan(position));
        if (consumed < 0) {
            return 0;
        }
        ++parsed;
        position += consumed;
        // A device that closes exactly at the end of the image leaves nothing to look at.
        if (position >= EEPROM_SIZE || readImage[position] != TAG_LOGICAL_DEVICE_ID) {
            break;
        }
    }
    return parsed;
}
