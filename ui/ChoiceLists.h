#pragma once

#include <span>

// Item data of the two entries that are not a resource value.
constexpr int CHOICE_PNP = 255;        // "PnP": the Plug and Play manager picks from a range
constexpr int CHOICE_DISABLED = 4095;  // "---": the device is off (Midi-2 IRQ: no interrupt)

// One combo box entry: its text and its item data.
struct CChoice {
    const char* text;
    int value;
};

// The twelve lists, entries in list order.
std::span<const CChoice> WssIoChoices();
std::span<const CChoice> WssIrqChoices();
std::span<const CChoice> WssPlayDmaChoices();
std::span<const CChoice> WssRecordDmaChoices();
std::span<const CChoice> Midi1IoChoices();
std::span<const CChoice> Midi1IrqChoices();
std::span<const CChoice> DigControlIoChoices();
std::span<const CChoice> FmIoChoices();
std::span<const CChoice> SbProIoChoices();
std::span<const CChoice> GameportIoChoices();
std::span<const CChoice> Midi2IoChoices();
std::span<const CChoice> Midi2IrqChoices();
