#pragma once

// Resource and control IDs of the program's dialogs and icon.
constexpr int IDD_SETUP_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;  // the program's icon
constexpr int IDD_WRITE_EEPROM = 129;

constexpr int IDC_READ_PORT = 1001;  // hidden: diagnostic dump
constexpr int IDC_WSS_IO = 1003;
constexpr int IDC_WSS_IRQ = 1004;
constexpr int IDC_WSS_PLAY_DMA = 1005;
constexpr int IDC_WSS_RECORD_DMA = 1006;
constexpr int IDC_MIDI1_IO = 1007;
constexpr int IDC_MIDI1_IRQ = 1008;
constexpr int IDC_DIG_CONTROL_IO = 1009;
constexpr int IDC_FM_IO = 1010;
constexpr int IDC_SBPRO_IO = 1011;
constexpr int IDC_GAMEPORT_IO = 1012;
constexpr int IDC_MIDI2_IO = 1013;
constexpr int IDC_MIDI2_IRQ = 1014;
constexpr int IDC_BUTTON1 = 1015;  // hidden: write at once
constexpr int IDC_PROGRESS = 1016;
