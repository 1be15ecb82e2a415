#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/DialogView.h"
#include "cli/ResourceConflicts.h"
#include "pnp/ResourceDecoder.h"

// Everything `vymcnf info` says of an image: every item the decoder finds, its two checks, what
// the setup dialog makes of the image and the conflicts between enabled devices.
struct CDecodedInfo {
    std::uint8_t image[EEPROM_SIZE];
    std::unique_ptr<CResourceDecoding> decoding;
    CDialogView dialog;
    std::vector<CResourceConflict> conflicts;
};

std::unique_ptr<CDecodedInfo> DecodeInfo(const std::uint8_t (&image)[EEPROM_SIZE]);

// The text; source names what was decoded ("the card \\.\VymCnf", a file).
std::string DecodedInfoText(const CDecodedInfo& info, const std::string& source);

// The JSON object (indented, one line at the end); source is "card" or the file as given.
std::string DecodedInfoJson(const CDecodedInfo& info, const std::string& source);

// The lines of the item listing: the address, then the item indented by its device and
// dependent function, a line under it for what is wrong with it, and the breaks where they
// happen.
std::string ItemListingText(const std::uint8_t (&image)[EEPROM_SIZE],
                            const CResourceDecoding& decoding);
