// Switching the Codec, MIDI-2 and the Game Port on and off: their records' identity and
// enabled state, and the combo boxes that belong to them.
#include "pnp/DeviceIdentities.h"
#include "pnp/DeviceSlots.h"
#include "ui/SetupDlg.h"

namespace {

// The Codec's defaults when the user switches it on with a fixed WSS base.
constexpr int kDefaultWssIrq = 5;
constexpr int kDefaultSbProIo = 0x220;
constexpr int kDefaultRecordDma = 0;
constexpr int kDefaultPlayDma = 1;
constexpr int kDefaultFmIo = 0x388;

}  // namespace

void CSetupDlg::SetDeviceEnabled(int enabled, int slot) {
    const int flag = enabled != 0 ? 1 : 0;
    m_devices[slot].SetEnabled(flag);
    m_devices[slot].dependentFunctions[0].ioCount = flag;
}

void CSetupDlg::EnableCodec(int enable, int pnp) {
    // The five lists that follow the Codec; WSS I/O itself keeps the user's pick.
    CComboBox* const dependents[] = {&m_sbProIo, &m_fmIo, &m_wssRecordDma, &m_wssPlayDma,
                                     &m_wssIrq};
    if (enable == 0) {
        m_devices[SLOT_CODEC].SetDeviceId(IDENTITY_CODEC_DISABLED.id);
        m_devices[SLOT_CODEC].SetIdentifier(IDENTITY_CODEC_DISABLED.text);
        SetDeviceEnabled(0, SLOT_CODEC);
        for (CComboBox* combo : dependents) {
            combo->SetWindowText("");  // also removes the selection
        }
        for (CComboBox* combo : dependents) {
            combo->EnableWindow(FALSE);
        }
        return;
    }

    m_devices[SLOT_CODEC].SetDeviceId(IDENTITY_CODEC.id);
    m_devices[SLOT_CODEC].SetIdentifier(IDENTITY_CODEC.text);
    SetDeviceEnabled(1, SLOT_CODEC);
    for (CComboBox* combo : dependents) {
        combo->EnableWindow(TRUE);
    }
    if (pnp != 0) {
        SelectItemByData(m_wssIrq, CHOICE_PNP);
        SelectItemByData(m_sbProIo, CHOICE_PNP);
        SelectItemByData(m_wssRecordDma, CHOICE_PNP);
        SelectItemByData(m_wssPlayDma, CHOICE_PNP);
        SelectItemByData(m_fmIo, CHOICE_PNP);
    } else {
        SelectItemByData(m_wssIrq, kDefaultWssIrq);
        SelectItemByData(m_sbProIo, kDefaultSbProIo);
        SelectItemByData(m_wssRecordDma, kDefaultRecordDma);
        SelectItemByData(m_wssPlayDma, kDefaultPlayDma);
        SelectItemByData(m_fmIo, kDefaultFmIo);
    }
}

void CSetupDlg::EnableMidi2(int enable) {
    SelectItemByData(m_midi2Irq, CHOICE_DISABLED);
    // Midi-2 IRQ now shows "---" (or nothing): the record must agree, or a switched-on MIDI-2
    // would be written with the IRQ 0 that "---" stands for.
    m_devices[SLOT_MIDI2].dependentFunctions[0].irqCount = 0;
    if (enable != 0) {
        m_devices[SLOT_MIDI2].SetIdentifier(IDENTITY_MIDI2.text);
        m_devices[SLOT_MIDI2].SetDeviceId(IDENTITY_MIDI2.id);
        SetDeviceEnabled(1, SLOT_MIDI2);
        m_midi2Irq.EnableWindow(TRUE);
    } else {
        m_devices[SLOT_MIDI2].SetIdentifier(IDENTITY_MIDI2_DISABLED.text);
        m_devices[SLOT_MIDI2].SetDeviceId(IDENTITY_MIDI2_DISABLED.id);
        SetDeviceEnabled(0, SLOT_MIDI2);
        m_midi2Irq.SetWindowText("");
        m_midi2Irq.EnableWindow(FALSE);
    }
}

void CSetupDlg::EnableGamePort(int enable) {
    if (enable != 0) {
        m_devices[SLOT_GAME_PORT].SetIdentifier(IDENTITY_GAME_PORT.text);
        m_devices[SLOT_GAME_PORT].SetDeviceId(IDENTITY_GAME_PORT.id);
        SetDeviceEnabled(1, SLOT_GAME_PORT);
    } else {
        m_devices[SLOT_GAME_PORT].SetIdentifier(IDENTITY_GAME_PORT_DISABLED.text);
        m_devices[SLOT_GAME_PORT].SetDeviceId(IDENTITY_GAME_PORT_DISABLED.id);
        SetDeviceEnabled(0, SLOT_GAME_PORT);
    }
}
