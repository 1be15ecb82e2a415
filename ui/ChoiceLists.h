#pragma once

#include <cstddef>
#include <span>

// Item data of the two entries that are not a resource value.
constexpr int CHOICE_PNP = 255;        // "PnP": the Plug and Play manager picks from a range
constexpr int CHOICE_DISABLED = 4095;  // "---": the device is off (Midi-2 IRQ: no interrupt)

// One combo box entry: its text and its item data.
struct CChoice {
    const char* text;
    int value;
};

// The lists, entries in list order. The combo table (ui/SetupDlgCombos.h) says which combo box
// shows which; WSS Play and Record DMA share one.
inline constexpr CChoice kPnpChoice = {"PnP", CHOICE_PNP};
inline constexpr CChoice kOffChoice = {"---", CHOICE_DISABLED};

inline constexpr CChoice kWssIoChoices[] = {
    kPnpChoice,     kOffChoice,     {"534", 0x534}, {"544", 0x544}, {"554", 0x554}, {"564", 0x564},
    {"574", 0x574}, {"584", 0x584}, {"594", 0x594}, {"5A4", 0x5A4}, {"5B4", 0x5B4}, {"5C4", 0x5C4},
    {"5D4", 0x5D4}, {"5E4", 0x5E4}, {"5F4", 0x5F4}, {"604", 0x604},
};
// "PnP" stands second here: the card's usual IRQ 5 comes first.
inline constexpr CChoice kWssIrqChoices[] = {
    {"5", 5}, kPnpChoice, {"7", 7}, {"9", 9}, {"11", 11}, {"12", 12}, {"15", 15},
};
inline constexpr CChoice kWssDmaChoices[] = {kPnpChoice, {"0", 0}, {"1", 1}, {"3", 3}};
inline constexpr CChoice kMidi1IoChoices[] = {
    kPnpChoice,     {"300", 0x300}, {"310", 0x310}, {"320", 0x320},
    {"330", 0x330}, {"340", 0x340}, {"350", 0x350}, {"360", 0x360},
};
inline constexpr CChoice kMidi1IrqChoices[] = {
    kPnpChoice, {"5", 5}, {"7", 7}, {"9", 9}, {"11", 11}, {"12", 12}, {"15", 15},
};
inline constexpr CChoice kDigControlIoChoices[] = {
    kPnpChoice,     {"308", 0x308}, {"318", 0x318}, {"328", 0x328},
    {"338", 0x338}, {"348", 0x348}, {"358", 0x358}, {"368", 0x368},
};
inline constexpr CChoice kFmIoChoices[] = {kPnpChoice, {"388", 0x388}};
inline constexpr CChoice kSbProIoChoices[] = {
    kPnpChoice, {"220", 0x220}, {"240", 0x240}, {"260", 0x260}, {"280", 0x280}};
inline constexpr CChoice kGameportIoChoices[] = {kOffChoice, {"201", 0x201}};
inline constexpr CChoice kMidi2IoChoices[] = {
    kOffChoice,     kPnpChoice,     {"300", 0x300}, {"310", 0x310}, {"320", 0x320},
    {"330", 0x330}, {"340", 0x340}, {"350", 0x350}, {"360", 0x360},
};
inline constexpr CChoice kMidi2IrqChoices[] = {
    kOffChoice, kPnpChoice, {"5", 5}, {"7", 7}, {"9", 9}, {"11", 11}, {"12", 12}, {"15", 15},
};

// Where value stands in list, -1 when the list does not offer it.
constexpr int IndexOfChoice(std::span<const CChoice> list, int value) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].value == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
