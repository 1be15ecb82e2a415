// What follows a user's pick: devices switched with their main I/O list, IRQ clashes warned
// of, and the settings marked as changed.
#include "pnp/DeviceSlots.h"
#include "ui/SetupDlg.h"

namespace {

// "PnP", "---" and no selection are no interrupt: they clash with nothing.
bool IsInterrupt(int choice) {
    return choice != CHOICE_PNP && choice != CHOICE_DISABLED && choice != -1;
}

}  // namespace

int CSetupDlg::CurrentChoice(const CComboBox& combo) {
    const int index = combo.GetCurSel();
    if (index < 0) {
        return -1;
    }
    return static_cast<std::int32_t>(combo.GetItemData(index));
}

int CSetupDlg::CheckIrqOverlap() {
    const int wss = CurrentChoice(m_wssIrq);
    const int midi2 = CurrentChoice(m_midi2Irq);
    const int midi1 = CurrentChoice(m_midi1Irq);

    const char* warning = nullptr;
    if (IsInterrupt(wss) && wss == midi2) {
        warning = "IRQ Overlap on WSS and Midi 2";
    } else if (IsInterrupt(wss) && wss == midi1) {
        warning = "IRQ Overlap on WSS and Midi 1";
    } else if (IsInterrupt(midi2) && midi2 == midi1) {
        warning = "IRQ Overlap on Midi 2 and Midi 1";
    }
    if (warning == nullptr) {
        return 1;
    }
    AfxMessageBox(warning, MB_OK | MB_ICONEXCLAMATION, 0);
    return 0;
}

void CSetupDlg::OnWssIoChanged() {
    UpdateData(TRUE);
    const int choice = CurrentChoice(m_wssIo);
    const bool codecOn = m_devices[SLOT_CODEC].hasDependentFunctions != 0;
    if (choice == CHOICE_DISABLED) {
        EnableCodec(0, 0);
    } else if (!codecOn) {
        EnableCodec(1, choice == CHOICE_PNP ? 1 : 0);
    }
    m_settingsChanged = 1;
}

void CSetupDlg::OnMidi2IoChanged() {
    UpdateData(TRUE);
    const int choice = CurrentChoice(m_midi2Io);
    if (choice == CHOICE_DISABLED) {
        EnableMidi2(0);
    } else if (m_devices[SLOT_MIDI2].hasDependentFunctions == 0) {
        EnableMidi2(1);
    }
    m_settingsChanged = 1;
}

void CSetupDlg::OnGameportIoChanged() {
    UpdateData(TRUE);
    // Switched on again on every pick, which also puts its record back to one function.
    EnableGamePort(CurrentChoice(m_gameportIo) == CHOICE_DISABLED ? 0 : 1);
    m_settingsChanged = 1;
}

void CSetupDlg::OnMidi2IrqChanged() {
    // The writer emits MIDI-2's IRQ only while this count says it has one.
    m_devices[SLOT_MIDI2].dependentFunctions[0].irqCount =
        CurrentChoice(m_midi2Irq) == CHOICE_DISABLED ? 0 : 1;
    OnIrqChanged();
    m_settingsChanged = 1;
}

void CSetupDlg::OnIrqChanged() {
    // After a clash the pick stays, but it does not count as an accepted change.
    if (CheckIrqOverlap() == 1) {
        m_settingsChanged = 1;
    }
}

void CSetupDlg::OnSettingChanged() {
    m_settingsChanged = 1;
}
