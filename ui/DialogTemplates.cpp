#include "ui/DialogTemplates.h"

#include "ui/Resource.h"

namespace {

constexpr std::uint32_t kDefaultButton = 0x50010001;  // visible default push button, tab stop
constexpr std::uint32_t kButton = 0x50010000;         // visible push button, tab stop
constexpr std::uint32_t kHiddenButton = 0x40010000;   // push button, tab stop, not visible
constexpr std::uint32_t kCombo = 0x50210102;          // drop-down, sorted style, scroll, tab stop
constexpr std::uint32_t kGroupBox = 0x50000007;
constexpr std::uint32_t kLabel = 0x50020000;  // left-aligned text starting a group
constexpr int kNoId = -1;

// In template order, which is also the tab order. Combo box heights include the dropped list.
constexpr CDialogItemTemplate kSetupItems[] = {
    {1, "BUTTON", "OK", kDefaultButton, 185, 185, 50, 14},
    {2, "BUTTON", "Cancel", kButton, 250, 185, 50, 14},
    {IDC_READ_PORT, "BUTTON", "Read Port", kHiddenButton, 184, 169, 50, 14},
    {IDC_WSS_IO, "COMBOBOX", "", kCombo, 77, 25, 65, 85},
    {IDC_WSS_IRQ, "COMBOBOX", "", kCombo, 77, 45, 65, 74},
    {IDC_WSS_PLAY_DMA, "COMBOBOX", "", kCombo, 77, 66, 65, 62},
    {IDC_WSS_RECORD_DMA, "COMBOBOX", "", kCombo, 77, 85, 65, 73},
    {kNoId, "BUTTON", "Windows Sound System", kGroupBox, 7, 10, 145, 100},
    {IDC_MIDI1_IO, "COMBOBOX", "", kCombo, 77, 127, 65, 54},
    {IDC_MIDI1_IRQ, "COMBOBOX", "", kCombo, 77, 147, 65, 56},
    {kNoId, "BUTTON", "Midi-1 / Synth", kGroupBox, 7, 117, 145, 50},
    {kNoId, "STATIC", "WSS I/O", kLabel, 12, 27, 30, 8},
    {kNoId, "STATIC", "WSS IRQ", kLabel, 12, 47, 32, 8},
    {kNoId, "STATIC", "WSS Play DMA", kLabel, 12, 68, 51, 8},
    {kNoId, "STATIC", "WSS Record DMA", kLabel, 12, 86, 61, 8},
    {kNoId, "STATIC", "Midi-1 I/O", kLabel, 12, 132, 32, 8},
    {kNoId, "STATIC", "Midi-1 IRQ", kLabel, 12, 148, 34, 8},
    {kNoId, "BUTTON", "Digital Control", kGroupBox, 7, 171, 145, 30},
    {IDC_DIG_CONTROL_IO, "COMBOBOX", "", kCombo, 77, 181, 65, 56},
    {kNoId, "STATIC", "Dig. Control I/O", kLabel, 12, 183, 50, 8},
    {kNoId, "BUTTON", "FM Synth", kGroupBox, 160, 10, 145, 30},
    {IDC_FM_IO, "COMBOBOX", "", kCombo, 230, 20, 65, 58},
    {kNoId, "STATIC", "FM I/O", kLabel, 165, 22, 24, 8},
    {kNoId, "BUTTON", "SB Pro", kGroupBox, 160, 44, 145, 30},
    {IDC_SBPRO_IO, "COMBOBOX", "", kCombo, 230, 54, 65, 57},
    {kNoId, "STATIC", "SB Pro I/O", kLabel, 165, 56, 36, 8},
    {kNoId, "BUTTON", "Gameport", kGroupBox, 160, 80, 145, 30},
    {IDC_GAMEPORT_IO, "COMBOBOX", "", kCombo, 230, 90, 65, 56},
    {kNoId, "STATIC", "Gameport I/O", kLabel, 165, 92, 44, 8},
    {IDC_MIDI2_IO, "COMBOBOX", "", kCombo, 230, 127, 65, 59},
    {IDC_MIDI2_IRQ, "COMBOBOX", "", kCombo, 230, 147, 65, 56},
    {kNoId, "BUTTON", "Midi-2", kGroupBox, 160, 117, 145, 50},
    {kNoId, "STATIC", "Midi-2 I/O", kLabel, 165, 132, 32, 8},
    {kNoId, "STATIC", "Midi-2 IRQ", kLabel, 165, 148, 34, 8},
    {IDC_BUTTON1, "BUTTON", "Button1", kHiddenButton, 246, 169, 50, 14},
};

constexpr CDialogItemTemplate kWriteEepromItems[] = {
    {IDC_PROGRESS, "msctls_progress32", "Progress1", 0x50800000, 19, 16, 170, 14},
};

constexpr CDialogTemplate kSetupDialog = {
    IDD_SETUP_DIALOG, "VYM Card Setup", 0x90C800C0, 0x00040000, 0, 0, 320, 210, "MS Sans Serif", 8,
    kSetupItems,
};

// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
constexpr CDialogTemplate kWriteEepromDialog = {
    IDD_WRITE_EEPROM,  "Write EEPROM Data", 0x80C800C0, 0, 0, 0, 204, 50, "MS Sans Serif", 8,
    kWriteEepromItems,
};

}  // namespace

const CDialogTemplate& SetupDialogTemplate() {
    return kSetupDialog;
}
const CDialogTemplate& WriteEepromDialogTemplate() {
    return kWriteEepromDialog;
}
