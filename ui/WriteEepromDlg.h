#pragma once

#include "framework/Framework.h"

class CSetupDlg;

constexpr UINT_PTR WRITE_TIMER_ID = 1;
constexpr UINT WRITE_TIMER_PERIOD_MS = 100;

// The small modal dialog that sends the setup dialog's write image to the card, one byte at a
// time behind a progress bar. The loop starts at the first timer tick, when the dialog is on
// screen, and runs to its end inside that one tick.
class CWriteEepromDlg : public CDialog {
public:
    explicit CWriteEepromDlg(CWnd* pParent = nullptr);
    ~CWriteEepromDlg() override;

    CWriteEepromDlg(const CWriteEepromDlg&) = delete;
    CWriteEepromDlg& operator=(const CWriteEepromDlg&) = delete;

    void OnTimer(UINT_PTR timerId);

    CSetupDlg* m_pSetupDlg = nullptr;  // set by the creator before DoModal
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
