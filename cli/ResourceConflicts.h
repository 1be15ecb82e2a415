#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pnp/ResourceDecoder.h"

// Enabled devices that would get in each other's way: fixed I/O ranges that overlap, an IRQ line
// or a DMA channel that two of them fix. A device counts as enabled when it carries resources;
// what counts is what it fixes outside its dependent functions and in its first one (the one
// the setup dialog shows and writes): an I/O descriptor with equal lowest and highest base or a
// fixed I/O item, an IRQ or DMA descriptor that allows exactly one line or channel.
// Overlapping I/O ranges are told a pair at a time; an IRQ line or DMA channel once, with every
// device that fixes it.
struct CResourceConflict {
    std::string kind;          // "io", "irq", "dma"
    std::vector<int> devices;  // by index, lowest first
    std::string text;          // the conflict in words
};

std::vector<CResourceConflict> FindConflicts(const std::uint8_t (&image)[EEPROM_SIZE],
                                             const CResourceDecoding& decoding);
