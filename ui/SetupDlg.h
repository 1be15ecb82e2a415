#pragma once

#include <cstdint>

#include "backup/BackupStore.h"
#include "driver/ConfigDriver.h"
#include "framework/Framework.h"
#include "pnp/LogicalDevice.h"
#include "pnp/ResourceTags.h"
#include "ui/ChoiceLists.h"

class CMessageText;
struct CSetupCombo;

enum class CardKnowledge { ReadAtStart, AfterOwnWrite, Unknown };

// The program's one window: twelve combo boxes over the card's logical devices. It owns the
// channel to the card, the device records and the image buffers for its whole life; nothing
// of it lives on the heap.
class CSetupDlg : public CDialog, public CConfigDriverOwner {
public:
    explicit CSetupDlg(CWnd* pParent = nullptr);
    ~CSetupDlg() override;

    CSetupDlg(const CSetupDlg&) = delete;
    CSetupDlg& operator=(const CSetupDlg&) = delete;

    // Card access and the image model.
    const char* GetLastErrorText(BOOL showMessage) override;
    int LocateDevices();
    int BuildImage();
    // Says at once when the card has too few devices for a write, before the user edits.
    void WarnOfMissingDevices();

    // Showing the card's settings.
    void FillWssIo();
    void FillWssIrq();
    void FillWssPlayDma();
    void FillWssRecordDma();
    void FillMidi1Io();
    void FillMidi1Irq();
    void FillDigControlIo();
    void FillFmIo();
    void FillSbProIo();
    void FillGameportIo();
    void FillMidi2Io();
    void FillMidi2Irq();
    static int IrqMaskToChoice(unsigned mask);
    static int DmaMaskToChoice(unsigned mask);
    void SelectItemByData(CComboBox& combo, int value);

    // Editing rules.
    // The item data of the selected entry, -1 when none is selected.
    static int CurrentChoice(const CComboBox& combo);
    int CheckIrqOverlap();

    // Device switching.
    void SetDeviceEnabled(int enabled, int slot);
    void EnableCodec(int enable, int pnp);
    void EnableMidi2(int enable);
    void EnableGamePort(int enable);

    // Applying the choices and writing the card.
    void ApplyChoices();
    void WriteImageByte(int index);
    // Reads the card again into m_cardBeforeWrite; when it no longer holds what the dialog
    // read at start, asks whether to write over it. 1: go on writing; 0: nothing is written
    // (the user has been told why, or said No).
    int ReadCardBeforeWrite();
    // Saves m_cardBeforeWrite as a backup; when it cannot be saved, asks whether to write
    // without one. 1: go on writing; 0: the user said No.
    int SaveBackupOfCard();
    // Reads the bytes just written back from the card; 1 when it holds them all, 0 after
    // telling the user what differs.
    int VerifyWrittenImage();

    // Diagnostic dump.
    void ShowDeviceResources(int slot, int function);

    // Members in the order the dialog is built from; tests and the progress dialog read them.
    CConfigDriver m_driver;
    CLogicalDevice m_devices[MAX_LOGICAL_DEVICES];
    std::uint8_t m_readImage[EEPROM_SIZE] = {};
    std::uint8_t m_writeImage[EEPROM_SIZE] = {};
    std::uint8_t m_header[EEPROM_SIZE] = {};
    std::int32_t m_headerLength = 0;
    std::int32_t m_imageLength = 0;
    std::int32_t m_settingsChanged = 0;
    CComboBox m_midi2Irq;
    CComboBox m_midi2Io;
    CComboBox m_sbProIo;
    CComboBox m_gameportIo;
    CComboBox m_fmIo;
    CComboBox m_digControlIo;
    CComboBox m_midi1Irq;
    CComboBox m_midi1Io;
    CComboBox m_wssRecordDma;
    CComboBox m_wssPlayDma;
    CComboBox m_wssIrq;
    CComboBox m_wssIo;
    HICON m_hIcon = nullptr;

    // What writing may rely on: a card image read to its end and the six devices the writer
    // emits, and what the last write loop did.
    std::int32_t m_wholeImageRead = 0;
    std::int32_t m_deviceCount = 0;
    std::int32_t m_bytesSent = 0;
    std::int32_t m_firstFailedWrite = -1;  // EEPROM address, -1 while every write succeeded
    std::int32_t m_writeComplete = 0;      // the last WriteSettings wrote and verified the image
    CSavedBackup m_backup;                 // the card right before the last write, saved
    std::uint8_t m_cardBeforeWrite[EEPROM_SIZE] = {};  // read again just before writing
    // What the card holds as far as this dialog knows: the image read at start until it
    // writes, then the card before its last write with that write's bytes, or nothing known
    // after a write that did not complete.
    CardKnowledge m_cardKnown = CardKnowledge::ReadAtStart;
    std::uint8_t m_cardAfterWrite[EEPROM_SIZE] = {};
    const char* m_writeFailure = nullptr;  // why the last write did not complete, in few words
    DWORD m_lastErrorCode = 0;             // the error GetLastErrorText told last

    // The message map's handlers, in its order (SetupDlg.cpp).
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnReadPort();           // "Read Port", hidden: the diagnostic dump
    void WriteSettings();        // "Button1", hidden: writes at once; OK too
    void OnWssIoChanged();       // switches the Codec
    void OnSettingChanged();     // the lists whose picks only count as a change
    void OnMidi2IoChanged();     // switches MIDI-2
    void OnMidi2IrqChanged();    // counts MIDI-2's IRQ, then as OnIrqChanged
    void OnGameportIoChanged();  // switches the Game Port
    void OnIrqChanged();         // warns of clashing IRQs
    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void FillList(CComboBox& combo, std::span<const CChoice> choices);
    // Fills the row's combo box and selects what the card holds; 0 when its device has no
    // dependent functions and the list switches it (the caller then switches it off).
    int FillCombo(const CSetupCombo& row);
    void RepairControlDevice();
    int CanWriteImage();
    void RunWrite();
    void RecordWriteOutcome();
    void ReportWriteResult();
    void AppendBackupPlace(CMessageText& text) const;
    void RememberCardAfterWrite();
};
