#pragma once

// The twelve combo boxes of the setup dialog in one table: which control each is bound to,
// which field of which device record it shows and sets, its list, and what "PnP" leaves to
// the Plug and Play manager. The data exchange, the filling and the applying all run from it.
#include <cstdint>
#include <span>

#include "pnp/DeviceSlots.h"
#include "ui/ChoiceLists.h"
#include "ui/Resource.h"
#include "ui/SetupDlg.h"

// The descriptor of dependent function 0 that a combo box shows and sets.
enum class ComboResource : std::uint8_t { IoPort, Irq, Dma };

// How a list's pre-selection depends on its device having been set up on the card (the
// slot's dependent functions).
enum class ComboGate : std::uint8_t {
    None,            // pre-selected from the record whatever the card says
    DeviceSetUp,     // left without a selection when the device has no dependent functions
    SwitchesDevice,  // shows its first entry and has the device switched off when it has none
};

// What an I/O choice stores besides the base: the port's alignment and length, and the range
// "PnP" leaves to the Plug and Play manager.
struct CIoRange {
    std::uint8_t alignment;
    std::uint8_t length;
    int pnpMinBase;
    int pnpMaxBase;
};

constexpr int kNoChoice = -1;  // no entry is selected before the card's value

struct CSetupCombo {
    CComboBox CSetupDlg::*combo;
    int controlId;
    int slot;
    ComboResource resource;
    int index;  // of the descriptor in dependent function 0: ioPorts[index], irqs[index]...
    std::span<const CChoice> choices;
    ComboGate gate;
    int firstShown;  // the choice selected before the card's value is looked at, or kNoChoice
    CIoRange io;     // I/O lists only
};

namespace setup_combos {

using enum ComboResource;
using enum ComboGate;

// In member order, the order of the data exchange. Each row: member, control, device slot,
// descriptor and its index; list, gate, first shown, and for I/O: alignment, length and the
// range of bases "PnP" stands for.
// clang-format off
inline constexpr CSetupCombo kRows[] = {
    {&CSetupDlg::m_midi2Irq,      IDC_MIDI2_IRQ,      SLOT_MIDI2,           Irq,    0,
     kMidi2IrqChoices,      DeviceSetUp,    CHOICE_DISABLED, {}},
    {&CSetupDlg::m_midi2Io,       IDC_MIDI2_IO,       SLOT_MIDI2,           IoPort, 0,
     kMidi2IoChoices,       SwitchesDevice, CHOICE_DISABLED, {8, 2, 0x100, 0x3F8}},
    {&CSetupDlg::m_sbProIo,       IDC_SBPRO_IO,       SLOT_CODEC,           IoPort, 2,
     kSbProIoChoices,       DeviceSetUp,    kNoChoice,       {0x20, 0x10, 0x100, 0x3F0}},
    // The Game Port decodes 0x201 only; its list offers that base and "---".
    {&CSetupDlg::m_gameportIo,    IDC_GAMEPORT_IO,    SLOT_GAME_PORT,       IoPort, 0,
     kGameportIoChoices,    None,           CHOICE_DISABLED, {1, 1, 0x201, 0x201}},
    {&CSetupDlg::m_fmIo,          IDC_FM_IO,          SLOT_CODEC,           IoPort, 1,
     kFmIoChoices,          DeviceSetUp,    kNoChoice,       {8, 4, 0x100, 0x3F8}},
    {&CSetupDlg::m_digControlIo,  IDC_DIG_CONTROL_IO, SLOT_DIGITAL_CONTROL, IoPort, 0,
     kDigControlIoChoices,  DeviceSetUp,    kNoChoice,       {8, 8, 0x100, 0x608}},
    // Midi-1 cannot be switched off: its lists are filled whatever the card says.
    {&CSetupDlg::m_midi1Irq,      IDC_MIDI1_IRQ,      SLOT_MIDI1,           Irq,    0,
     kMidi1IrqChoices,      None,           CHOICE_PNP,      {}},
    {&CSetupDlg::m_midi1Io,       IDC_MIDI1_IO,       SLOT_MIDI1,           IoPort, 0,
     kMidi1IoChoices,       None,           CHOICE_PNP,      {8, 2, 0x100, 0x3F8}},
    {&CSetupDlg::m_wssRecordDma,  IDC_WSS_RECORD_DMA, SLOT_CODEC,           Dma,    1,
     kWssDmaChoices,        DeviceSetUp,    CHOICE_PNP,      {}},
    {&CSetupDlg::m_wssPlayDma,    IDC_WSS_PLAY_DMA,   SLOT_CODEC,           Dma,    0,
     kWssDmaChoices,        DeviceSetUp,    CHOICE_PNP,      {}},
    {&CSetupDlg::m_wssIrq,        IDC_WSS_IRQ,        SLOT_CODEC,           Irq,    0,
     kWssIrqChoices,        DeviceSetUp,    CHOICE_PNP,      {}},
    {&CSetupDlg::m_wssIo,         IDC_WSS_IO,         SLOT_CODEC,           IoPort, 0,
     kWssIoChoices,         SwitchesDevice, CHOICE_DISABLED, {4, 4, 0x104, 0x604}},
};
// clang-format on

}  // namespace setup_combos

inline constexpr std::span<const CSetupCombo> kSetupCombos = setup_combos::kRows;

void NotAComboOfTheSetupDialog();  // not constexpr: naming it below stops the compilation

// The row of a combo box, found while compiling.
consteval const CSetupCombo& SetupCombo(int controlId) {
    for (const CSetupCombo& row : kSetupCombos) {
        if (row.controlId == controlId) {
            return row;
        }
    }
    NotAComboOfTheSetupDialog();
    return kSetupCombos[0];
}

namespace setup_combos {

// Applying the choices visits the rows in table order: that is sound only while no two rows
// share a descriptor, and none touches the Control device that the repair rewrites.
constexpr bool EachDescriptorOnce() {
    for (std::size_t i = 0; i < std::size(kSetupCombos); ++i) {
        const CSetupCombo& row = kSetupCombos[i];
        if (row.slot == SLOT_CONTROL) {
            return false;
        }
        for (std::size_t j = i + 1; j < std::size(kSetupCombos); ++j) {
            const CSetupCombo& other = kSetupCombos[j];
            if (other.controlId == row.controlId ||
                (other.slot == row.slot && other.resource == row.resource &&
                 other.index == row.index)) {
                return false;
            }
        }
    }
    return true;
}

// A first entry the list does not offer would clear the selection instead.
constexpr bool FirstShownInItsList() {
    for (const CSetupCombo& row : kSetupCombos) {
        if (row.firstShown != kNoChoice && IndexOfChoice(row.choices, row.firstShown) < 0) {
            return false;
        }
    }
    return true;
}

}  // namespace setup_combos

static_assert(std::size(kSetupCombos) == 12);
static_assert(setup_combos::EachDescriptorOnce());
static_assert(setup_combos::FirstShownInItsList());
