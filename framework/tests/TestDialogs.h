#pragma once

#include <functional>
#include <vector>

#include "framework/Framework.h"
#include "framework/testing/ScriptedHost.h"

// Templates and dialog classes the framework's tests run.
namespace test_dialogs {

constexpr int kMainDialog = 500;      // OK, Cancel, a hidden button, two combo boxes, labels
constexpr int kProgressDialog = 501;  // one progress bar, no buttons
constexpr int kIcon = 128;
constexpr int kHiddenButton = 1001;
constexpr int kFirstCombo = 1003;
constexpr int kSecondCombo = 1004;
constexpr int kUnmappedButton = 1005;  // visible push button without a handler
constexpr int kProgress = 1016;

// Registers the test resources for the life of a test.
class ScopedTestResources {
public:
    ScopedTestResources();
    ~ScopedTestResources();

private:
    const CResourceModule* m_previous;
};

// Counts what reaches its handlers; hooks let a test act inside them.
class CBaseTestDlg : public CDialog {
public:
    explicit CBaseTestDlg(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    void OnHiddenButton();
    int m_hiddenClicks = 0;
    std::function<void()> onHiddenButton;

    DECLARE_MESSAGE_MAP()
};

class CTestDlg : public CBaseTestDlg {
public:
    explicit CTestDlg(CWnd* parent = nullptr) : CBaseTestDlg(kMainDialog, parent) {}

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void OnFirstChanged();
    void OnSecondChanged();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR timerId);

    CComboBox m_first;
    CComboBox m_second;
    HICON m_hIcon = nullptr;

    int m_initCount = 0;
    int m_okCount = 0;
    int m_exchanges = 0;
    std::vector<int> m_firstChanges;  // the selection seen by each notification
    int m_secondChanges = 0;
    int m_paints = 0;
    std::vector<UINT_PTR> m_ticks;
    std::vector<std::uint64_t> m_tickTimes;

    std::function<void()> onInit;
    std::function<void()> onFirstChanged;
    std::function<void(UINT_PTR)> onTimer;

    DECLARE_MESSAGE_MAP()
};

class CProgressTestDlg : public CDialog {
public:
    CProgressTestDlg() : CDialog(kProgressDialog) {}
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnTimer(UINT_PTR timerId);

    CProgressCtrl m_progress;
    std::function<void()> onInit;
    std::function<void(UINT_PTR)> onTimer;

    DECLARE_MESSAGE_MAP()
};

}  // namespace test_dialogs
