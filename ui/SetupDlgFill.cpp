// Filling the twelve lists at start and pre-selecting what the card holds now.
#include "pnp/DeviceSlots.h"
#include "ui/SetupDlg.h"
#include "ui/SetupDlgCombos.h"

namespace {

constexpr int kIrqLines = 16;
constexpr int kDmaChannels = 4;  // the card's DMA lists stop at channel 3

// No bit set: none; one bit n: n; several: "PnP".
int SingleBitChoice(unsigned mask, int bits, int none) {
    int first = -1;
    for (int bit = 0; bit < bits; ++bit) {
        if ((mask & (1u << bit)) == 0) {
            continue;
        }
        if (first >= 0) {
            return CHOICE_PNP;
        }
        first = bit;
    }
    return first >= 0 ? first : none;
}

// Selects "PnP" where the list offers it; a list without it keeps what it shows.
void SelectPnp(CComboBox& combo, std::span<const CChoice> choices) {
    const int index = IndexOfChoice(choices, CHOICE_PNP);
    if (index >= 0) {
        combo.SetCurSel(index);
    }
}

}  // namespace

int CSetupDlg::IrqMaskToChoice(unsigned mask) {
    return SingleBitChoice(mask, kIrqLines, CHOICE_DISABLED);
}

int CSetupDlg::DmaMaskToChoice(unsigned mask) {
    // A DMA descriptor without channels reads as "PnP": the lists have no "---".
    return SingleBitChoice(mask, kDmaChannels, CHOICE_PNP);
}

void CSetupDlg::SelectItemByData(CComboBox& combo, int value) {
    // The count is read again on every step, as the list is the combo box's own.
    for (int i = 0; i < combo.GetCount(); ++i) {
        if (static_cast<std::int32_t>(combo.GetItemData(i)) == value) {
            combo.SetCurSel(i);
            return;
        }
    }
}

void CSetupDlg::FillList(CComboBox& combo, std::span<const CChoice> choices) {
    // Inserted at the end one by one, so the sort style of the combo box keeps the order.
    for (const CChoice& choice : choices) {
        const int index = combo.InsertString(-1, choice.text);
        if (index >= 0) {
            combo.SetItemData(index, static_cast<DWORD_PTR>(choice.value));
        }
    }
}

int CSetupDlg::FillCombo(const CSetupCombo& row) {
    CComboBox& combo = this->*row.combo;
    FillList(combo, row.choices);
    const CDependentFunction& function = m_devices[row.slot].dependentFunctions[0];
    const bool deviceSetUp =
        row.gate == ComboGate::None || m_devices[row.slot].hasDependentFunctions != 0;
    if (!deviceSetUp && row.gate == ComboGate::DeviceSetUp) {
        return 1;  // nothing selected: the list waits for its device to be switched on
    }
    if (row.firstShown != kNoChoice) {
        combo.SetCurSel(IndexOfChoice(row.choices, row.firstShown));
    }
    if (!deviceSetUp) {
        return 0;
    }

    // What the card holds as a choice: a fixed base, line or channel, or "PnP" for a range.
    int choice = CHOICE_PNP;
    switch (row.resource) {
        case ComboResource::IoPort: {
            const CIoPortDescriptor& port = function.ioPorts[row.index];
            choice = port.minBase == port.maxBase ? port.minBase : CHOICE_PNP;
            break;
        }
        case ComboResource::Irq:
            choice = IrqMaskToChoice(function.irqs[row.index].mask);
            break;
        case ComboResource::Dma:
            choice = DmaMaskToChoice(function.dmaChannels[row.index].mask);
            break;
    }
    // A value the list does not offer leaves what is selected now.
    if (choice == CHOICE_PNP) {
        SelectPnp(combo, row.choices);
    } else {
        SelectItemByData(combo, choice);
    }
    return 1;
}

void CSetupDlg::FillWssIo() {
    if (FillCombo(SetupCombo(IDC_WSS_IO)) == 0) {
        // Before the other Codec lists are filled: they are added to disabled combo boxes.
        EnableCodec(0, 0);
    }
}

void CSetupDlg::FillWssIrq() {
    FillCombo(SetupCombo(IDC_WSS_IRQ));
}

void CSetupDlg::FillWssPlayDma() {
    FillCombo(SetupCombo(IDC_WSS_PLAY_DMA));
}

void CSetupDlg::FillWssRecordDma() {
    FillCombo(SetupCombo(IDC_WSS_RECORD_DMA));
}

void CSetupDlg::FillMidi1Io() {
    FillCombo(SetupCombo(IDC_MIDI1_IO));
}

void CSetupDlg::FillMidi1Irq() {
    FillCombo(SetupCombo(IDC_MIDI1_IRQ));
}

void CSetupDlg::FillDigControlIo() {
    FillCombo(SetupCombo(IDC_DIG_CONTROL_IO));
}

void CSetupDlg::FillFmIo() {
    FillCombo(SetupCombo(IDC_FM_IO));
}

void CSetupDlg::FillSbProIo() {
    FillCombo(SetupCombo(IDC_SBPRO_IO));
}

void CSetupDlg::FillGameportIo() {
    FillCombo(SetupCombo(IDC_GAMEPORT_IO));
}

void CSetupDlg::FillMidi2Io() {
    if (FillCombo(SetupCombo(IDC_MIDI2_IO)) == 0) {
        // Before the Midi-2 IRQ list is filled, which therefore ends up disabled and empty.
        EnableMidi2(0);
    }
}

void CSetupDlg::FillMidi2Irq() {
    FillCombo(SetupCombo(IDC_MIDI2_IRQ));
}
