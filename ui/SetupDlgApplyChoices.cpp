// Carrying the twelve choices into the records just before the image is built.
#include "pnp/DeviceIdentities.h"
#include "pnp/DeviceSlots.h"
#include "ui/SetupDlg.h"
#include "ui/SetupDlgCombos.h"

namespace {

// "PnP" for an IRQ list: the lines the lists offer (5, 7, 9, 11, 12, 15).
constexpr int kPnpIrqMask = 0x9AA0;
// "PnP" for a DMA list: the channels the lists offer (0, 1, 3).
constexpr int kPnpDmaMask = 0x0B;

// The IRQ lines or DMA channels a list offers, as a mask.
constexpr int OfferedMask(std::span<const CChoice> choices) {
    int mask = 0;
    for (const CChoice& choice : choices) {
        if (choice.value != CHOICE_PNP && choice.value != CHOICE_DISABLED) {
            mask |= 1 << choice.value;
        }
    }
    return mask;
}

// "PnP" leaves the manager exactly what the user could have picked.
constexpr bool PnpMasksMatchTheLists() {
    for (const CSetupCombo& row : kSetupCombos) {
        if (row.resource == ComboResource::Irq && OfferedMask(row.choices) != kPnpIrqMask) {
            return false;
        }
        if (row.resource == ComboResource::Dma && OfferedMask(row.choices) != kPnpDmaMask) {
            return false;
        }
    }
    return true;
}
static_assert(PnpMasksMatchTheLists());

// The port of the Control device as the repair sets it.
constexpr int kControlMinBase = 0x100;
constexpr int kControlMaxBase = 0x608;
constexpr std::uint8_t kControlAlignment = 8;
constexpr std::uint8_t kControlLength = 8;

void ApplyIoChoice(int choice, CIoPortDescriptor& port, const CIoRange& range) {
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

void ApplyIrqChoice(int choice, CIrqDescriptor& irq) {
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

void ApplyDmaChoice(int choice, CDmaDescriptor& dma) {
    if (choice == -1 || choice == CHOICE_DISABLED) {
        return;  // the DMA lists have no "---"
    }
    if (choice == CHOICE_PNP) {
        dma.SetMask(kPnpDmaMask);
    } else {
        dma.SetChannel(choice);
    }
}

}  // namespace

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

    // Every row sets a descriptor of its own (the table checks it), so their order is free.
    for (const CSetupCombo& row : kSetupCombos) {
        const int choice = CurrentChoice(this->*row.combo);
        CDependentFunction& function = m_devices[row.slot].dependentFunctions[0];
        switch (row.resource) {
            case ComboResource::IoPort:
                ApplyIoChoice(choice, function.ioPorts[row.index], row.io);
                break;
            case ComboResource::Irq:
                ApplyIrqChoice(choice, function.irqs[row.index]);
                break;
            case ComboResource::Dma:
                ApplyDmaChoice(choice, function.dmaChannels[row.index]);
                break;
        }
    }
    RepairControlDevice();
}
