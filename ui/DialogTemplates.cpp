#include "ui/DialogTemplates.h"

#include "ui/Resource.h"

namespace {

using namespace template_style;

// Push buttons and left-aligned text have no style bits of their own.
constexpr std::uint32_t kHiddenButton = kChild | kTabStop;
constexpr std::uint32_t kButton = kHiddenButton | kVisible;
constexpr std::uint32_t kDefaultButton = kButton | kDefPushButton;
// A drop-down list with an editable text field; entries go in at the end all the same.
constexpr std::uint32_t kCombo = kChild | kVisible | kVScroll | kTabStop | kDropDown | kSort;
constexpr std::uint32_t kGroupFrame = kChild | kVisible | kGroupBox;
constexpr std::uint32_t kLabel = kChild | kVisible | kGroup;  // starts a group
constexpr std::uint32_t kProgressBar = kChild | kVisible | kBorder;
// No minimise or maximise box.
constexpr std::uint32_t kDialogFrame = kPopup | kCaption | kSysMenu | kModalFrame | kSetFont;
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
    {kNoId, "BUTTON", "Windows Sound System", kGroupFrame, 7, 10, 145, 100},
    {IDC_MIDI1_IO, "COMBOBOX", "", kCombo, 77, 127, 65, 54},
    {IDC_MIDI1_IRQ, "COMBOBOX", "", kCombo, 77, 147, 65, 56},
    {kNoId, "BUTTON", "Midi-1 / Synth", kGroupFrame, 7, 117, 145, 50},
    {kNoId, "STATIC", "WSS I/O", kLabel, 12, 27, 30, 8},
    {kNoId, "STATIC", "WSS IRQ", kLabel, 12, 47, 32, 8},
    {kNoId, "STATIC", "WSS Play DMA", kLabel, 12, 68, 51, 8},
    {kNoId, "STATIC", "WSS Record DMA", kLabel, 12, 86, 61, 8},
    {kNoId, "STATIC", "Midi-1 I/O", kLabel, 12, 132, 32, 8},
    {kNoId, "STATIC", "Midi-1 IRQ", kLabel, 12, 148, 34, 8},
    {kNoId, "BUTTON", "Digital Control", kGroupFrame, 7, 171, 145, 30},
    {IDC_DIG_CONTROL_IO, "COMBOBOX", "", kCombo, 77, 181, 65, 56},
    {kNoId, "STATIC", "Dig. Control I/O", kLabel, 12, 183, 50, 8},
    {kNoId, "BUTTON", "FM Synth", kGroupFrame, 160, 10, 145, 30},
    {IDC_FM_IO, "COMBOBOX", "", kCombo, 230, 20, 65, 58},
    {kNoId, "STATIC", "FM I/O", kLabel, 165, 22, 24, 8},
    {kNoId, "BUTTON", "SB Pro", kGroupFrame, 160, 44, 145, 30},
    {IDC_SBPRO_IO, "COMBOBOX", "", kCombo, 230, 54, 65, 57},
    {kNoId, "STATIC", "SB Pro I/O", kLabel, 165, 56, 36, 8},
    {kNoId, "BUTTON", "Gameport", kGroupFrame, 160, 80, 145, 30},
    {IDC_GAMEPORT_IO, "COMBOBOX", "", kCombo, 230, 90, 65, 56},
    {kNoId, "STATIC", "Gameport I/O", kLabel, 165, 92, 44, 8},
    {IDC_MIDI2_IO, "COMBOBOX", "", kCombo, 230, 127, 65, 59},
    {IDC_MIDI2_IRQ, "COMBOBOX", "", kCombo, 230, 147, 65, 56},
    {kNoId, "BUTTON", "Midi-2", kGroupFrame, 160, 117, 145, 50},
    {kNoId, "STATIC", "Midi-2 I/O", kLabel, 165, 132, 32, 8},
    {kNoId, "STATIC", "Midi-2 IRQ", kLabel, 165, 148, 34, 8},
    {IDC_BUTTON1, "BUTTON", "Button1", kHiddenButton, 246, 169, 50, 14},
};

constexpr CDialogItemTemplate kWriteEepromItems[] = {
    {IDC_PROGRESS, "msctls_progress32", "Progress1", kProgressBar, 19, 16, 170, 14},
};

constexpr CDialogTemplate kSetupDialog = {
    IDD_SETUP_DIALOG,
    "VYM Card Setup",
    kDialogFrame | kVisible,
    kAppWindow,
    0,
    0,
    320,
    210,
    "MS Sans Serif",
    8,
    kSetupItems,
};

constexpr CDialogTemplate kWriteEepromDialog = {
    IDD_WRITE_EEPROM,  "Write EEPROM Data", kDialogFrame, 0, 0, 0, 204, 50, "MS Sans Serif", 8,
    kWriteEepromItems,
};

}  // namespace

const CDialogTemplate& SetupDialogTemplate() {
    return kSetupDialog;
}
const CDialogTemplate& WriteEepromDialogTemplate() {
    return kWriteEepromDialog;
}
