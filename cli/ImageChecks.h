#pragma once

#include <cstdint>
#include <string>

#include "pnp/ResourceTags.h"

// What `vymcnf write` asks of an image before it goes to the card, besides its size. Each
// function returns why the image is refused, as a clause naming the file ("new.bin has no End
// tag: ..."), or "" when it passes. --force writes an image all the same.

// The image itself: the decoder finds its End tag and the checksum holds, and the setup
// dialog's reader finds six logical devices in it.
std::string ImageRefusal(const std::string& file, const std::uint8_t (&image)[EEPROM_SIZE]);

// The image against the card it would go to: the same serial identifier (card ID, serial number
// and check byte). A card whose own serial identifier fails its check byte (an erased card, a
// damaged one) tells nothing of whose it is, and refuses nothing.
std::string CardRefusal(const std::string& file, const std::uint8_t (&image)[EEPROM_SIZE],
                        const std::uint8_t (&card)[EEPROM_SIZE]);

// Whether writing the backup before back onto the card, once written has gone to it (all or in
// part), needs --force: when the backup is itself an image the checks refuse, or when the card
// may now carry the serial identifier of written instead of its own.
bool RestoreNeedsForce(const std::uint8_t (&before)[EEPROM_SIZE],
                       const std::uint8_t (&written)[EEPROM_SIZE]);
