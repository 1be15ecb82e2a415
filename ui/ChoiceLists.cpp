#include "ui/ChoiceLists.h"

namespace {

constexpr CChoice kPnp = {"PnP", CHOICE_PNP};
constexpr CChoice kOff = {"---", CHOICE_DISABLED};

constexpr CChoice kWssIo[] = {
    kPnp,           kOff,           {"534", 0x534}, {"544", 0x544}, {"554", 0x554}, {"564", 0x564},
    {"574", 0x574}, {"584", 0x584}, {"594", 0x594}, {"5A4", 0x5A4}, {"5B4", 0x5B4}, {"5C4", 0x5C4},
    {"5D4", 0x5D4}, {"5E4", 0x5E4}, {"5F4", 0x5F4}, {"604", 0x604},
};
// "PnP" stands second here: the card's usual IRQ 5 comes first.
constexpr CChoice kWssIrq[] = {
    {"5", 5}, kPnp, {"7", 7}, {"9", 9}, {"11", 11}, {"12", 12}, {"15", 15},
};
constexpr CChoice kWssDma[] = {kPnp, {"0", 0}, {"1", 1}, {"3", 3}};
constexpr CChoice kMidi1Io[] = {
    kPnp,           {"300", 0x300}, {"310", 0x310}, {"320", 0x320},
    {"330", 0x330}, {"340", 0x340}, {"350", 0x350}, {"360", 0x360},
};
constexpr CChoice kMidi1Irq[] = {
    kPnp, {"5", 5}, {"7", 7}, {"9", 9}, {"11", 11}, {"12", 12}, {"15", 15},
};
constexpr CChoice kDigControlIo[] = {
    kPnp,           {"308", 0x308}, {"318", 0x318}, {"328", 0x328},
    {"338", 0x338}, {"348", 0x348}, {"358", 0x358}, {"368", 0x368},
};
constexpr CChoice kFmIo[] = {kPnp, {"388", 0x388}};
constexpr CChoice kSbProIo[] = {
    kPnp, {"220", 0x220}, {"240", 0x240}, {"260", 0x260}, {"280", 0x280}};
constexpr CChoice kGameportIo[] = {kOff, {"201", 0x201}};
constexpr CChoice kMidi2Io[] = {
    kOff,           kPnp,           {"300", 0x300}, {"310", 0x310}, {"320", 0x320},
    {"330", 0x330}, {"340", 0x340}, {"350", 0x350}, {"360", 0x360},
};
constexpr CChoice kMidi2Irq[] = {
    kOff, kPnp, {"5", 5}, {"7", 7}, {"9", 9}, {"11", 11}, {"12", 12}, {"15", 15},
};

}  // namespace

std::span<const CChoice> WssIoChoices() {
    return kWssIo;
}
std::span<const CChoice> WssIrqChoices() {
    return kWssIrq;
}
std::span<const CChoice> WssPlayDmaChoices() {
    return kWssDma;
}
std::span<const CChoice> WssRecordDmaChoices() {
    return kWssDma;
}
std::span<const CChoice> Midi1IoChoices() {
    return kMidi1Io;
}
std::span<const CChoice> Midi1IrqChoices() {
    return kMidi1Irq;
}
std::span<const CChoice> DigControlIoChoices() {
    return kDigControlIo;
}
std::span<const CChoice> FmIoChoices() {
    return kFmIo;
}
std::span<const CChoice> SbProIoChoices() {
    return kSbProIo;
}
std::span<const CChoice> GameportIoChoices() {
    return kGameportIo;
}
std::span<const CChoice> Midi2IoChoices() {
    return kMidi2Io;
}
std::span<const CChoice> Midi2IrqChoices() {
    return kMidi2Irq;
}
