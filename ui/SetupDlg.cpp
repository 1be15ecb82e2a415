#include "ui/SetupDlg.h"

#include "pnp/ImageReader.h"
#include "pnp/ImageWriter.h"
#include "text/Sentences.h"
#include "ui/MessageText.h"
#include "ui/Resource.h"
#include "ui/SetupDlgCombos.h"
#include "ui/SetupOutcome.h"

namespace {

constexpr int kErrorTextSize = 2048;

}  // namespace

CSetupDlg::CSetupDlg(CWnd* pParent) : CDialog(IDD_SETUP_DIALOG, pParent) {
    // A shared resource icon at the system's icon size: it is never destroyed.
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CSetupDlg::~CSetupDlg() = default;

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (const CSetupCombo& row : kSetupCombos) {
        DDX_Control(pDX, row.controlId, this->*row.combo);
    }
}

// The handlers stand together beside DECLARE_MESSAGE_MAP in SetupDlg.h, in this order.
BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_READ_PORT, OnReadPort)
    ON_BN_CLICKED(IDC_BUTTON1, WriteSettings)
    ON_CBN_SELCHANGE(IDC_WSS_IO, OnWssIoChanged)
    ON_CBN_SELCHANGE(IDC_FM_IO, OnSettingChanged)
    ON_CBN_SELCHANGE(IDC_MIDI2_IO, OnMidi2IoChanged)
    ON_CBN_SELCHANGE(IDC_MIDI2_IRQ, OnMidi2IrqChanged)
    ON_CBN_SELCHANGE(IDC_GAMEPORT_IO, OnGameportIoChanged)
    ON_CBN_SELCHANGE(IDC_WSS_PLAY_DMA, OnSettingChanged)
    ON_CBN_SELCHANGE(IDC_WSS_RECORD_DMA, OnSettingChanged)
    ON_CBN_SELCHANGE(IDC_SBPRO_IO, OnSettingChanged)
    ON_CBN_SELCHANGE(IDC_MIDI1_IO, OnSettingChanged)
    ON_CBN_SELCHANGE(IDC_DIG_CONTROL_IO, OnSettingChanged)
    ON_CBN_SELCHANGE(IDC_MIDI1_IRQ, OnIrqChanged)
    ON_CBN_SELCHANGE(IDC_WSS_IRQ, OnIrqChanged)
END_MESSAGE_MAP()

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_driver.m_pOwner = this;
    if (m_driver.Open() == 0) {
        SetupOutcome().openFailed = 1;
        SetupOutcome().openError = m_lastErrorCode;
        PostQuitMessage(0);  // the user has seen why; the program ends
        return TRUE;
    }
    m_wholeImageRead = m_driver.ReadImage(m_readImage);
    if (LocateDevices() == 0) {
        return TRUE;  // the lists stay empty
    }

    // The order matters: switching the Codec or MIDI-2 off at start disables the lists that
    // are filled after their main I/O list.
    FillWssIo();
    FillWssIrq();
    FillWssPlayDma();
    FillWssRecordDma();
    FillMidi1Io();
    FillMidi1Irq();
    FillDigControlIo();
    FillFmIo();
    FillSbProIo();
    FillGameportIo();
    FillMidi2Io();
    FillMidi2Irq();
    // A card read only in part is refused at OK for that, and its device count says little.
    if (m_wholeImageRead != 0 && m_deviceCount < WRITTEN_LOGICAL_DEVICES) {
        WarnOfMissingDevices();
    }
    return TRUE;
}

const char* CSetupDlg::GetLastErrorText(BOOL showMessage) {
    static char text[kErrorTextSize];
    const DWORD error = m_driver.LastError();
    m_lastErrorCode = error;
    SystemErrorText(error, text, sizeof text);
    if (showMessage) {
        AfxMessageBox(text, MB_OK | MB_ICONINFORMATION, 0);
    }
    return text;
}

int CSetupDlg::LocateDevices() {
    m_deviceCount = ::LocateDevices(m_readImage, m_header, m_headerLength, m_devices);
    if (m_deviceCount == 0) {
        AfxMessageBox("Couldn't find Logical device ID", MB_ICONHAND, 0);
        return 0;
    }
    return 1;
}

void CSetupDlg::WarnOfMissingDevices() {
    // The same test refuses the write after OK; telling it now spares the user edits that
    // cannot be kept.
    CMessageText text;
    text.Append(
        "The EEPROM holds only %d %s where the card has six, so the settings can be looked at "
        "but not written. \"vymcnf info\" shows what the EEPROM holds.",
        static_cast<int>(m_deviceCount), LogicalDevicesWords(m_deviceCount));
    AfxMessageBox(text.Text(), MB_OK | MB_ICONEXCLAMATION, 0);
}

int CSetupDlg::BuildImage() {
    if (::BuildImage(m_header, m_headerLength, m_devices, m_writeImage, m_imageLength) == 0) {
        AfxMessageBox(
            "Couldn't build the EEPROM image: a device identifier or the image is too large, so "
            "nothing was written.",
            MB_ICONHAND, 0);
        m_writeFailure = "the image could not be built";
        return 0;
    }
    return 1;
}

void CSetupDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CSetupDlg::OnQueryDragIcon() {
    return m_hIcon;  // the icon doubles as the cursor
}
