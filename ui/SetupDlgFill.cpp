// Filling the twelve lists at start and pre-selecting what the card holds now.
#include "pnp/DeviceSlots.h"
#include "ui/SetupDlg.h"

namespace {

// Where "PnP" and "---" stand in the lists that select them by index.
constexpr int kPnpFirst = 0;
constexpr int kPnpSecond = 1;
constexpr int kDisabledFirst = 0;
constexpr int kDisabledSecond = 1;

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

void CSetupDlg::SelectIoBase(CComboBox& combo, const CIoPortDescriptor& port, int pnpIndex) {
    if (port.minBase == port.maxBase) {
        SelectItemByData(combo, port.minBase);
    } else {
        combo.SetCurSel(pnpIndex);
    }
}

void CSetupDlg::FillWssIo() {
    FillList(m_wssIo, WssIoChoices());
    m_wssIo.SetCurSel(kDisabledSecond);
    if (m_devices[SLOT_CODEC].hasDependentFunctions == 0) {
        // Before the other Codec lists are filled: they are added to disabled combo boxes.
        EnableCodec(0, 0);
        return;
    }
    SelectIoBase(m_wssIo, m_devices[SLOT_CODEC].dependentFunctions[0].ioPorts[0], kPnpFirst);
}

void CSetupDlg::FillWssIrq() {
    FillList(m_wssIrq, WssIrqChoices());
    if (m_devices[SLOT_CODEC].hasDependentFunctions == 0) {
        return;
    }
    m_wssIrq.SetCurSel(kPnpSecond);
    const int choice = IrqMaskToChoice(m_devices[SLOT_CODEC].dependentFunctions[0].irqs[0].mask);
    if (choice != CHOICE_PNP) {
        SelectItemByData(m_wssIrq, choice);
    }
}

void CSetupDlg::FillWssPlayDma() {
    FillList(m_wssPlayDma, WssPlayDmaChoices());
    if (m_devices[SLOT_CODEC].hasDependentFunctions == 0) {
        return;
    }
    m_wssPlayDma.SetCurSel(kPnpFirst);
    const int choice =
        DmaMaskToChoice(m_devices[SLOT_CODEC].dependentFunctions[0].dmaChannels[0].mask);
    if (choice != CHOICE_PNP) {
        SelectItemByData(m_wssPlayDma, choice);
    }
}

void CSetupDlg::FillWssRecordDma() {
    FillList(m_wssRecordDma, WssRecordDmaChoices());
    if (m_devices[SLOT_CODEC].hasDependentFunctions == 0) {
        return;
    }
    m_wssRecordDma.SetCurSel(kPnpFirst);
    const int choice =
        DmaMaskToChoice(m_devices[SLOT_CODEC].dependentFunctions[0].dmaChannels[1].mask);
    if (choice != CHOICE_PNP) {
        SelectItemByData(m_wssRecordDma, choice);
    }
}

void CSetupDlg::FillMidi1Io() {
    // Midi-1 cannot be switched off: its lists are filled whatever the card says.
    FillList(m_midi1Io, Midi1IoChoices());
    m_midi1Io.SetCurSel(kPnpFirst);
    SelectIoBase(m_midi1Io, m_devices[SLOT_MIDI1].dependentFunctions[0].ioPorts[0], kPnpFirst);
}

void CSetupDlg::FillMidi1Irq() {
    FillList(m_midi1Irq, Midi1IrqChoices());
    m_midi1Irq.SetCurSel(kPnpFirst);
    const int choice = IrqMaskToChoice(m_devices[SLOT_MIDI1].dependentFunctions[0].irqs[0].mask);
    if (choice != CHOICE_PNP) {
        SelectItemByData(m_midi1Irq, choice);
    }
}

void CSetupDlg::FillDigControlIo() {
    FillList(m_digControlIo, DigControlIoChoices());
    if (m_devices[SLOT_DIGITAL_CONTROL].hasDependentFunctions == 0) {
        return;
    }
    SelectIoBase(m_digControlIo, m_devices[SLOT_DIGITAL_CONTROL].dependentFunctions[0].ioPorts[0],
                 kPnpFirst);
}

void CSetupDlg::FillFmIo() {
    FillList(m_fmIo, FmIoChoices());
    if (m_devices[SLOT_CODEC].hasDependentFunctions == 0) {
        return;
    }
    SelectIoBase(m_fmIo, m_devices[SLOT_CODEC].dependentFunctions[0].ioPorts[1], kPnpFirst);
}

void CSetupDlg::FillSbProIo() {
    FillList(m_sbProIo, SbProIoChoices());
    if (m_devices[SLOT_CODEC].hasDependentFunctions == 0) {
        return;
    }
    SelectIoBase(m_sbProIo, m_devices[SLOT_CODEC].dependentFunctions[0].ioPorts[2], kPnpFirst);
}

void CSetupDlg::FillGameportIo() {
    FillList(m_gameportIo, GameportIoChoices());
    m_gameportIo.SetCurSel(kDisabledFirst);
    // A range of bases stays "---": the list has no "PnP".
    const CIoPortDescriptor& port = m_devices[SLOT_GAME_PORT].dependentFunctions[0].ioPorts[0];
    if (port.minBase == port.maxBase) {
        SelectItemByData(m_gameportIo, port.minBase);
    }
}

void CSetupDlg::FillMidi2Io() {
    FillList(m_midi2Io, Midi2IoChoices());
    m_midi2Io.SetCurSel(kDisabledFirst);
    if (m_devices[SLOT_MIDI2].hasDependentFunctions == 0) {
        // Before the Midi-2 IRQ list is filled, which therefore ends up disabled and empty.
        EnableMidi2(0);
        return;
    }
    SelectIoBase(m_midi2Io, m_devices[SLOT_MIDI2].dependentFunctions[0].ioPorts[0], kPnpSecond);
}

void CSetupDlg::FillMidi2Irq() {
    FillList(m_midi2Irq, Midi2IrqChoices());
    if (m_devices[SLOT_MIDI2].hasDependentFunctions == 0) {
        return;
    }
    m_midi2Irq.SetCurSel(kDisabledFirst);
    const int choice = IrqMaskToChoice(m_devices[SLOT_MIDI2].dependentFunctions[0].irqs[0].mask);
    if (choice == CHOICE_PNP) {
        m_midi2Irq.SetCurSel(kPnpSecond);
    } else {
        SelectItemByData(m_midi2Irq, choice);
    }
}
