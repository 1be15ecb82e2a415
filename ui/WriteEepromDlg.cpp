#include "ui/WriteEepromDlg.h"

#include "ui/Resource.h"
#include "ui/SetupDlg.h"

CWriteEepromDlg::CWriteEepromDlg(CWnd* pParent) : CDialog(IDD_WRITE_EEPROM, pParent) {}

CWriteEepromDlg::~CWriteEepromDlg() = default;

void CWriteEepromDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BEGIN_MESSAGE_MAP(CWriteEepromDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CWriteEepromDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(WRITE_TIMER_ID, WRITE_TIMER_PERIOD_MS, nullptr);
    return TRUE;
}

void CWriteEepromDlg::OnTimer(UINT_PTR /*timerId*/) {
    if (m_pSetupDlg == nullptr) {
        KillTimer(WRITE_TIMER_ID);
        CDialog::OnCancel();  // nobody to write for
        return;
    }
    const int count = m_pSetupDlg->m_imageLength;
    m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, count));
    KillTimer(WRITE_TIMER_ID);  // the whole loop runs in this one tick
    for (int i = 0; i < count; ++i) {
        m_pSetupDlg->WriteImageByte(i);
        m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(i), 0);
    }
    CDialog::OnOK();
}
