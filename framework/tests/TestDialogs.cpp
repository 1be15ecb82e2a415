#include "framework/tests/TestDialogs.h"

#include "framework/Host.h"

namespace test_dialogs {
namespace {

constexpr CDialogItemTemplate kMainItems[] = {
    {IDOK, "BUTTON", "OK", 0x50010001, 185, 185, 50, 14},
    {IDCANCEL, "BUTTON", "Cancel", 0x50010000, 250, 185, 50, 14},
    {kHiddenButton, "BUTTON", "Hidden", 0x40010000, 184, 169, 50, 14},
    {kFirstCombo, "COMBOBOX", "", 0x50210102, 77, 25, 65, 85},
    {kSecondCombo, "COMBOBOX", "", 0x50210102, 77, 45, 65, 74},
    {-1, "BUTTON", "Group", 0x50000007, 7, 10, 145, 100},
    {-1, "STATIC", "Label", 0x50020000, 12, 27, 30, 8},
    {kUnmappedButton, "BUTTON", "Other", 0x50010000, 120, 185, 50, 14},
};

constexpr CDialogItemTemplate kProgressItems[] = {
    {kProgress, "msctls_progress32", "Progress1", 0x50800000, 19, 16, 170, 14},
};

constexpr CDialogTemplate kMain = {kMainDialog, "Main", 0x90C800C0,      0x00040000, 0,         0,
                                   320,         210,    "MS Sans Serif", 8,          kMainItems};
constexpr CDialogTemplate kProgressTemplate = {
    kProgressDialog, "Progress", 0x80C800C0, 0, 0, 0, 204, 50, "MS Sans Serif", 8, kProgressItems};

constexpr const char* kLargeRows[] = {"0F", "F0"};
constexpr const char* kSmallRows[] = {"1"};
constexpr CIconFrame kFrames[] = {{2, 2, kLargeRows}, {1, 1, kSmallRows}};
constexpr std::uint32_t kPalette[16] = {0x000000, 0x800000};
constexpr CIconResource kTestIcon = {kIcon, kFrames, kPalette};

constexpr const CDialogTemplate* kDialogs[] = {&kMain, &kProgressTemplate};
constexpr const CIconResource* kIcons[] = {&kTestIcon};
constexpr CResourceModule kModule = {"Framework Test", kDialogs, kIcons};

}  // namespace

ScopedTestResources::ScopedTestResources() : m_previous(AfxGetResourceModule()) {
    AfxSetResourceModule(&kModule);
}

ScopedTestResources::~ScopedTestResources() {
    AfxSetResourceModule(m_previous);
}

BEGIN_MESSAGE_MAP(CBaseTestDlg, CDialog)
ON_BN_CLICKED(kHiddenButton, OnHiddenButton)
END_MESSAGE_MAP()

void CBaseTestDlg::OnHiddenButton() {
    ++m_hiddenClicks;
    if (onHiddenButton) {
        onHiddenButton();
    }
}

BEGIN_MESSAGE_MAP(CTestDlg, CBaseTestDlg)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_CBN_SELCHANGE(kFirstCombo, OnFirstChanged)
ON_CBN_SELCHANGE(kSecondCombo, OnSecondChanged)
ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ++m_initCount;
    if (onInit) {
        onInit();
    }
    return TRUE;
}

void CTestDlg::OnOK() {
    ++m_okCount;
    CDialog::OnOK();
}

void CTestDlg::DoDataExchange(CDataExchange* pDX) {
    ++m_exchanges;
    DDX_Control(pDX, kSecondCombo, m_second);
    DDX_Control(pDX, kFirstCombo, m_first);
}

void CTestDlg::OnFirstChanged() {
    m_firstChanges.push_back(m_first.GetCurSel());
    if (onFirstChanged) {
        onFirstChanged();
    }
}

void CTestDlg::OnSecondChanged() {
    ++m_secondChanges;
}

// Painted the way the setup dialog paints: the icon centred while minimised.
void CTestDlg::OnPaint() {
    ++m_paints;
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        Default();
    }
}

HCURSOR CTestDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CTestDlg::OnTimer(UINT_PTR timerId) {
    m_ticks.push_back(timerId);
    m_tickTimes.push_back(framework::CurrentHost().NowMs());
    if (onTimer) {
        onTimer(timerId);
    }
}

BEGIN_MESSAGE_MAP(CProgressTestDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CProgressTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (onInit) {
        onInit();
    }
    return TRUE;
}

void CProgressTestDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, kProgress, m_progress);
}

void CProgressTestDlg::OnTimer(UINT_PTR timerId) {
    if (onTimer) {
        onTimer(timerId);
    }
}

}  // namespace test_dialogs
