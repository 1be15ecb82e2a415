// Carrying the twelve choices into the records just before the image is built.
#include "pnp/DeviceIdentities.h"
#include "pnp/DeviceSlots.h"
#include "ui/SetupDlg.h"

namespace {

// "PnP" for an IRQ list: the lines the lists offer (5, 7, 9, 11, 12, 15).
constexpr int kPnpIrqMask = 0x9AA0;
// "PnP" for a DMA list: the channels the lists offer (0, 1, 3).
constexpr int kPnpDmaMask = 0x0B;

// The port of the Control device as the repair sets it.
constexpr int kControlMinBase = 0x100;
constexpr int kControlMaxBase = 0x608;
constexpr std::uint8_t kControlAlignment = 8;
constexpr std::uint8_t kControlLength = 8;

}  // namespace

void CSetupDlg::ApplyIoChoice(const CComboBox& combo, CIoPortDescriptor& port,
                              const CIoRange& range) {
    const int choice = CurrentChoice(combo);
    if (choice == -1) {
        return;  // nothing picked: keep the descriptor as the card held it
    }
    port.alignment = range.alignment;
    port.length = range.length;
    if (choice == CHOICE_DISABLED) {
        return;  // the device is off; its bases stay
    }
    if (choice == CHOICE_PNP) {
        port.SetMinBase(range.pnpMinBase);
        port.SetMaxBase(range.pnpMaxBase);
        return;
    }
    port.SetMinBase(choice);
    port.SetMaxBase(choice);
}

void CSetupDlg::ApplyIrqChoice(const CComboBox& combo, CIrqDescriptor& irq) {
    const int choice = CurrentChoice(combo);
    if (choice == -1) {
        return;
    }
    if (choice == CHOICE_PNP) {
        irq.SetMask(kPnpIrqMask);
    } else if (choice == CHOICE_DISABLED) {
        irq.SetLine(0);  // written only while MIDI-2 counts an IRQ, which "---" clears
    } else {
        irq.SetLine(choice);
    }
}

void CSetupDlg::ApplyDmaChoice(const CComboBox& combo, CDmaDescriptor& dma) {
    const int choice = CurrentChoice(combo);
    if (choice == -1 || choice == CHOICE_DISABLED) {
        return;  // the DMA lists have no "---"
    }
    if (choice == CHOICE_PNP) {
        dma.SetMask(kPnpDmaMask);
    } else {
        dma.SetChannel(choice);
    }
}

void CSetupDlg::RepairControlDevice() {
    // A card that marks its Control device as never set up gets the one it needs.
    CLogicalDevice& control = m_devices[SLOT_CONTROL];
    if (control.GetDeviceId() != CONTROL_UNCONFIGURED_ID) {
        return;
    }
    SetDeviceEnabled(1, SLOT_CONTROL);
    CIoPortDescriptor& port = control.dependentFunctions[0].ioPorts[0];
    port.SetMinBase(kControlMinBase);
    port.SetMaxBase(kControlMaxBase);
    port.alignment = kControlAlignment;
    port.length = kControlLength;
    control.SetIdentifier(IDENTITY_CONTROL.text);
    control.SetDeviceId(IDENTITY_CONTROL.id);
}

void CSetupDlg::ApplyChoices() {
    UpdateData(TRUE);

    CDependentFunction& codec = m_devices[SLOT_CODEC].dependentFunctions[0];
    CDependentFunction& gamePort = m_devices[SLOT_GAME_PORT].dependentFunctions[0];
    CDependentFunction& midi2 = m_devices[SLOT_MIDI2].dependentFunctions[0];
    CDependentFunction& midi1 = m_devices[SLOT_MIDI1].dependentFunctions[0];
    CDependentFunction& digControl = m_devices[SLOT_DIGITAL_CONTROL].dependentFunctions[0];

    // alignment, length, and the range "PnP" leaves to the Plug and Play manager.
    ApplyIoChoice(m_wssIo, codec.ioPorts[0], {4, 4, 0x104, 0x604});
    ApplyDmaChoice(m_wssPlayDma, codec.dmaChannels[0]);
    ApplyDmaChoice(m_wssRecordDma, codec.dmaChannels[1]);
    ApplyIrqChoice(m_wssIrq, codec.irqs[0]);
    ApplyIoChoice(m_fmIo, codec.ioPorts[1], {8, 4, 0x100, 0x3F8});
    ApplyIoChoice(m_sbProIo, codec.ioPorts[2], {0x20, 0x10, 0x100, 0x3F0});
    RepairControlDevice();
    // The Game Port decodes 0x201 only; its list offers that base and "---".
    ApplyIoChoice(m_gameportIo, gamePort.ioPorts[0], {1, 1, 0x201, 0x201});
    ApplyIrqChoice(m_midi2Irq, midi2.irqs[0]);
    ApplyIoChoice(m_midi2Io, midi2.ioPorts[0], {8, 2, 0x100, 0x3F8});
    ApplyIrqChoice(m_midi1Irq, midi1.irqs[0]);
    ApplyIoChoice(m_midi1Io, midi1.ioPorts[0], {8, 2, 0x100, 0x3F8});
    ApplyIoChoice(m_digControlIo, digControl.ioPorts[0], {8, 8, 0x100, 0x608});
}
