#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/ImageSummary.h"
#include "pnp/ResourceDecoder.h"

// What the setup dialog makes of an image, against what the decoder finds in it: the devices
// its reader puts in the six slots, whether it can write the image, and what its write (six
// devices, one dependent function each, only the items the writer lays out) would drop or
// change. The write is worked out by building the image as the dialog would with nothing
// changed, and comparing the items of both.
struct CDialogView {
    CImageSummary summary;
    bool canWrite = false;
    std::string whyNot;                // when it cannot write: why, as a clause
    std::vector<std::string> drops;    // what its write would leave out, a line each
    std::vector<std::string> changes;  // what it would write differently or add, a line each
};

CDialogView ViewAsDialog(const std::uint8_t (&image)[EEPROM_SIZE],
                         const CResourceDecoding& decoding);

// The names of the six slots, as the dialog's group boxes say: "Codec", ... "Digital Control".
const char* SlotName(int slot);
