#include <windows.h>
// The common controls' header builds on windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ControlState.h"
#include "framework/Framework.h"
#include "framework/MessageQueue.h"
#include "ui/Resource.h"
#include "win32/tests/HostTestSupport.h"

using win32_testing::CBoxAnswerer;
using win32_testing::CHostTestEnvironment;
using win32_testing::Control;
using win32_testing::NativeEntry;
using win32_testing::NativeText;
using win32_testing::PressKey;
using win32_testing::RunDialog;

namespace {

// Template 102 with the changes a program makes to it and a count of what reaches handlers.
class CAgreementDlg : public CDialog {
public:
    CAgreementDlg() : CDialog(IDD_SETUP_DIALOG) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
        // Entries in an order the sort style would change, with item data.
        const char* const texts[] = {"PnP", "---", "534", "544", "1", "A"};
        const DWORD_PTR data[] = {255, 4095, 0x534, 0x544, 1, 10};
        for (int i = 0; i < 6; ++i) {
            const int at = m_first.InsertString(-1, texts[i]);
            m_first.SetItemData(at, data[i]);
            m_second.SetItemData(m_second.InsertString(-1, texts[i]), data[i]);
            m_third.SetItemData(m_third.InsertString(-1, texts[i]), data[i]);
        }
        m_first.SetCurSel(2);
        m_second.SetCurSel(3);
        m_second.SetWindowText("");  // removes the selection
        m_third.SetCurSel(1);
        m_third.EnableWindow(FALSE);  // keeps the list and the selection
        if (onInit) {
            onInit(*this);
        }
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_WSS_IO, m_first);
        DDX_Control(pDX, IDC_WSS_IRQ, m_second);
        DDX_Control(pDX, IDC_WSS_PLAY_DMA, m_third);
    }
    void OnOK() override {
        ++m_okCount;
        CDialog::OnOK();
    }
    void OnFirstChanged() { m_firstPicks.push_back(m_first.GetCurSel()); }
    void OnSecondChanged() { ++m_secondPicks; }
    void OnThirdChanged() { ++m_thirdPicks; }
    void OnHiddenButton() { ++m_hiddenClicks; }
    HCURSOR OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

    CComboBox m_first;
    CComboBox m_second;
    CComboBox m_third;
    HICON m_hIcon = nullptr;
    std::vector<int> m_firstPicks;
    int m_secondPicks = 0;
    int m_thirdPicks = 0;
    int m_hiddenClicks = 0;
    int m_okCount = 0;
    std::function<void(CAgreementDlg&)> onInit;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAgreementDlg, CDialog)
    ON_WM_QUERYDRAGICON()
    ON_CBN_SELCHANGE(IDC_WSS_IO, OnFirstChanged)
    ON_CBN_SELCHANGE(IDC_WSS_IRQ, OnSecondChanged)
    ON_CBN_SELCHANGE(IDC_WSS_PLAY_DMA, OnThirdChanged)
    ON_BN_CLICKED(IDC_BUTTON1, OnHiddenButton)
END_MESSAGE_MAP()

// The native combo box shows exactly what the framework's does.
void ExpectAgreement(const CComboBox& combo, HWND native) {
    const framework::WindowState* state = combo.GetState();
    ASSERT_NE(state, nullptr);
    ASSERT_EQ(::SendMessageA(native, CB_GETCOUNT, 0, 0), combo.GetCount());
    for (int i = 0; i < combo.GetCount(); ++i) {
        EXPECT_EQ(NativeEntry(native, i), state->entries[static_cast<std::size_t>(i)].text);
        EXPECT_EQ(static_cast<DWORD_PTR>(
                      ::SendMessageA(native, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)),
                  combo.GetItemData(i));
    }
    EXPECT_EQ(::SendMessageA(native, CB_GETCURSEL, 0, 0), combo.GetCurSel());
    EXPECT_EQ(NativeText(native), state->text);
    EXPECT_EQ(::IsWindowEnabled(native) != FALSE, combo.IsWindowEnabled() != FALSE);
}

void EndWithEscape(HWND dialog) {
    PressKey(dialog, Control(dialog, IDOK), VK_ESCAPE);
}

TEST(Win32Host, ProgramChangesReachTheNativeControlsAndNoHandler) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    bool checked = false;
    const INT_PTR result = RunDialog(
        environment.host, dialog,
        {
            [&](HWND native) {
                ExpectAgreement(dialog.m_first, Control(native, IDC_WSS_IO));
                ExpectAgreement(dialog.m_second, Control(native, IDC_WSS_IRQ));
                ExpectAgreement(dialog.m_third, Control(native, IDC_WSS_PLAY_DMA));
                EXPECT_EQ(dialog.m_first.GetCurSel(), 2);
                EXPECT_EQ(NativeText(Control(native, IDC_WSS_IO)), "534");
                EXPECT_EQ(::SendMessageA(Control(native, IDC_WSS_IRQ), CB_GETCURSEL, 0, 0), CB_ERR);
                EXPECT_EQ(NativeText(Control(native, IDC_WSS_IRQ)), "");
                EXPECT_FALSE(::IsWindowEnabled(Control(native, IDC_WSS_PLAY_DMA)));
                EXPECT_EQ(NativeText(Control(native, IDC_WSS_PLAY_DMA)), "---");
                EXPECT_TRUE(::IsWindowVisible(native));
                EXPECT_FALSE(::IsWindowVisible(Control(native, IDC_READ_PORT)));
                EXPECT_FALSE(::IsWindowVisible(Control(native, IDC_BUTTON1)));
                checked = true;
            },
            [&](HWND native) {
                // Later program changes, made while the dialog is on screen.
                dialog.m_first.SetCurSel(5);
                dialog.m_third.EnableWindow(TRUE);
                dialog.m_third.SetWindowText("");
                dialog.m_second.InsertString(0, "first");
                ExpectAgreement(dialog.m_first, Control(native, IDC_WSS_IO));
                ExpectAgreement(dialog.m_second, Control(native, IDC_WSS_IRQ));
                ExpectAgreement(dialog.m_third, Control(native, IDC_WSS_PLAY_DMA));
                EndWithEscape(native);
            },
        });
    EXPECT_TRUE(checked);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(dialog.m_firstPicks.empty());
    EXPECT_EQ(dialog.m_secondPicks, 0);
    EXPECT_EQ(dialog.m_thirdPicks, 0);
    // The system sent no notification for the program's own selections at all.
    EXPECT_EQ(environment.host.DroppedNotifications(), 0);
}

TEST(Win32Host, AKeyboardPickReachesTheHandlerOnceAndBothAgree) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result = RunDialog(
        environment.host, dialog,
        {
            [&](HWND native) { PressKey(native, Control(native, IDC_WSS_IO), VK_DOWN); },
            [&](HWND native) {
                ASSERT_EQ(dialog.m_firstPicks.size(), 1u);
                EXPECT_EQ(dialog.m_firstPicks[0], 3);  // the handler saw the new selection
                ExpectAgreement(dialog.m_first, Control(native, IDC_WSS_IO));
                EXPECT_EQ(NativeText(Control(native, IDC_WSS_IO)), "544");
                PressKey(native, Control(native, IDC_WSS_IO), VK_UP);
            },
            [&](HWND native) {
                EXPECT_EQ(dialog.m_firstPicks, (std::vector<int>{3, 2}));
                ExpectAgreement(dialog.m_first, Control(native, IDC_WSS_IO));
                EndWithEscape(native);
            },
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_secondPicks, 0);
}

TEST(Win32Host, APickFromTheDroppedListReachesTheHandlerOncePerChange) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result = RunDialog(
        environment.host, dialog,
        {
            [&](HWND native) {
                HWND combo = Control(native, IDC_WSS_IO);
                ::SetFocus(combo);
                ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
            },
            [&](HWND native) { PressKey(native, Control(native, IDC_WSS_IO), VK_DOWN); },
            [&](HWND native) { PressKey(native, Control(native, IDC_WSS_IO), VK_DOWN); },
            [&](HWND native) { PressKey(native, Control(native, IDC_WSS_IO), VK_RETURN); },
            [&](HWND native) {
                HWND combo = Control(native, IDC_WSS_IO);
                EXPECT_FALSE(::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
                // Each move in the open list is a change of the user's; closing it adds none.
                EXPECT_EQ(dialog.m_firstPicks, (std::vector<int>{3, 4}));
                ExpectAgreement(dialog.m_first, combo);
                ::PostMessageA(native, WM_SYSCOMMAND, SC_CLOSE, 0);
            },
        });
    // Windows only closes the list on that Enter; Wine's combo box also presses the default
    // button, so the dialog may have ended with OK.
    EXPECT_TRUE(result == IDCANCEL || result == IDOK) << result;
}

TEST(Win32Host, TypedTextRemovesTheSelectionInBothWithoutAHandler) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result = RunDialog(environment.host, dialog,
                                     {
                                         [&](HWND native) {
                                             HWND combo = Control(native, IDC_WSS_IO);
                                             ::SetFocus(combo);
                                             HWND edit = ::GetFocus();
                                             ::SendMessageA(edit, EM_SETSEL, 0, -1);
                                             ::PostMessageA(edit, WM_CHAR, '7', 1);
                                         },
                                         [&](HWND native) {
                                             HWND combo = Control(native, IDC_WSS_IO);
                                             EXPECT_EQ(NativeText(combo), "7");
                                             EXPECT_EQ(dialog.m_first.GetCurSel(), CB_ERR);
                                             ExpectAgreement(dialog.m_first, combo);
                                             EXPECT_TRUE(dialog.m_firstPicks.empty());
                                             EndWithEscape(native);
                                         },
                                     });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(Win32Host, ADisabledComboBoxTakesNoPick) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result =
        RunDialog(environment.host, dialog,
                  {
                      [&](HWND native) {
                          // The user cannot reach it: neither focus nor keys get there.
                          HWND combo = Control(native, IDC_WSS_PLAY_DMA);
                          ::PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 1);
                      },
                      [&](HWND native) {
                          EXPECT_EQ(dialog.m_thirdPicks, 0);
                          ExpectAgreement(dialog.m_third, Control(native, IDC_WSS_PLAY_DMA));
                          EndWithEscape(native);
                      },
                  });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(Win32Host, EnterIsOkAndEscapeAndTheCloseBoxAreCancel) {
    {
        CHostTestEnvironment environment;
        CAgreementDlg dialog;
        EXPECT_EQ(RunDialog(environment.host, dialog, {[&](HWND native) {
                                PressKey(native, Control(native, IDC_WSS_IO), VK_RETURN);
                            }}),
                  IDOK);
        EXPECT_EQ(dialog.m_okCount, 1);
    }
    {
        CHostTestEnvironment environment;
        CAgreementDlg dialog;
        EXPECT_EQ(RunDialog(environment.host, dialog, {EndWithEscape}), IDCANCEL);
        EXPECT_EQ(dialog.m_okCount, 0);
    }
    {
        CHostTestEnvironment environment;
        CAgreementDlg dialog;
        EXPECT_EQ(RunDialog(environment.host, dialog, {[&](HWND native) {
                                ::PostMessageA(native, WM_SYSCOMMAND, SC_CLOSE, 0);
                            }}),
                  IDCANCEL);
        EXPECT_EQ(dialog.m_okCount, 0);
    }
    {
        CHostTestEnvironment environment;
        CAgreementDlg dialog;
        EXPECT_EQ(RunDialog(environment.host, dialog, {[&](HWND native) {
                                ::PostMessageA(Control(native, IDOK), BM_CLICK, 0, 0);
                            }}),
                  IDOK);
        EXPECT_EQ(dialog.m_okCount, 1);
    }
}

TEST(Win32Host, AHiddenButtonsCommandStillReachesItsHandler) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result =
        RunDialog(environment.host, dialog,
                  {
                      [&](HWND native) {
                          HWND hidden = Control(native, IDC_BUTTON1);
                          ASSERT_FALSE(::IsWindowVisible(hidden));
                          ::SendMessageA(native, WM_COMMAND, MAKEWPARAM(IDC_BUTTON1, BN_CLICKED),
                                         reinterpret_cast<LPARAM>(hidden));
                          EXPECT_EQ(dialog.m_hiddenClicks, 1);
                          EndWithEscape(native);
                      },
                  });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(Win32Host, TheIconIsTheWindowsBigAndSmallIconAndTheDragIcon) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result = RunDialog(
        environment.host, dialog,
        {
            [&](HWND native) {
                ASSERT_NE(dialog.m_hIcon, nullptr);
                ICONINFO info = {};
                ASSERT_TRUE(::GetIconInfo(dialog.m_hIcon, &info)) << "a real icon";
                BITMAP bitmap = {};
                ::GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap,
                             &bitmap);
                EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXICON));
                ::DeleteObject(info.hbmColor);
                ::DeleteObject(info.hbmMask);
                EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(native, WM_GETICON, ICON_BIG, 0)),
                          dialog.m_hIcon);
                EXPECT_EQ(
                    reinterpret_cast<HICON>(::SendMessageA(native, WM_GETICON, ICON_SMALL, 0)),
                    dialog.m_hIcon);
                EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(native, WM_QUERYDRAGICON, 0, 0)),
                          dialog.m_hIcon);
                EndWithEscape(native);
            },
        });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(Win32Host, MinimisingIsSeenByTheFramework) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    const INT_PTR result =
        RunDialog(environment.host, dialog,
                  {
                      [&](HWND native) {
                          EXPECT_FALSE(dialog.IsIconic());
                          ::ShowWindow(native, SW_MINIMIZE);
                          EXPECT_EQ(dialog.IsIconic() != FALSE, ::IsIconic(native) != FALSE);
                          ::ShowWindow(native, SW_RESTORE);
                          EXPECT_FALSE(dialog.IsIconic());
                          EndWithEscape(native);
                      },
                  });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(Win32Host, MessageBoxesShowTheirTypeAndGiveTheAnswer) {
    CHostTestEnvironment environment;
    CBoxAnswerer boxes(environment.host);
    boxes.answers = {IDYES};
    CAgreementDlg dialog;
    std::vector<int> results;
    const INT_PTR result = RunDialog(
        environment.host, dialog,
        {
            [&](HWND native) {
                results.push_back(AfxMessageBox("Information", MB_OK | MB_ICONINFORMATION));
                results.push_back(
                    dialog.MessageBox("Question?", "Asking", MB_YESNO | MB_ICONQUESTION));
                results.push_back(
                    dialog.MessageBox("Again?", "Asking", MB_YESNO | MB_ICONQUESTION));
                results.push_back(AfxMessageBox("Warning", MB_OK | MB_ICONEXCLAMATION));
                EndWithEscape(native);
            },
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(results, (std::vector<int>{IDOK, IDYES, IDNO, IDOK}));
    ASSERT_EQ(boxes.boxes.size(), 4u);
    EXPECT_EQ(boxes.boxes[0].text, "Information");
    EXPECT_EQ(boxes.boxes[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.boxes[1].caption, "Asking");
    EXPECT_EQ(boxes.boxes[1].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes.boxes[3].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    for (const auto& box : boxes.boxes) {
        EXPECT_TRUE(box.ownedByDialog) << box.text;
    }
}

TEST(Win32Host, ADialogIsShownOnceWhenItRuns) {
    CHostTestEnvironment environment;
    CBoxAnswerer boxes(environment.host);
    CAgreementDlg dialog;
    EXPECT_EQ(RunDialog(environment.host, dialog, {EndWithEscape}), IDCANCEL);
    EXPECT_EQ(boxes.dialogShows, 1);
}

TEST(Win32Host, AQuitPostedByTheInitialisationEndsTheDialogUnshown) {
    CHostTestEnvironment environment;
    CBoxAnswerer boxes(environment.host);
    CAgreementDlg dialog;
    dialog.onInit = [](CAgreementDlg&) { ::PostQuitMessage(0); };
    const INT_PTR result = RunDialog(environment.host, dialog, {});
    EXPECT_EQ(result, -1);
    EXPECT_EQ(boxes.dialogShows, 0);
    EXPECT_TRUE(framework::QuitPending());
    EXPECT_EQ(framework::QuitCode(), 0);
    // A dialog started while the quit is pending ends at once as well.
    CAgreementDlg second;
    EXPECT_EQ(RunDialog(environment.host, second, {}), -1);
    EXPECT_EQ(boxes.dialogShows, 0);
}

// Template 129's progress bar, written on its own timer while the dialog runs.
class CProgressDlg : public CDialog {
public:
    CProgressDlg() : CDialog(IDD_WRITE_EEPROM) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 100);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_PROGRESS, m_progress); }
    void OnTimer(UINT_PTR timerId) {
        ++m_ticks;
        KillTimer(timerId);
        HWND self = GetSafeHwnd();
        HWND bar = m_progress.GetSafeHwnd();
        m_shownAtTick = ::IsWindowVisible(self) != FALSE;
        m_ownerDisabled = owner != nullptr && !::IsWindowEnabled(owner);
        m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 40));
        PBRANGE range = {};
        ::SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        m_rangeAgrees = range.iLow == 0 && range.iHigh == 40;
        for (int i = 0; i < 40; ++i) {
            m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(i), 0);
            if (::SendMessageA(bar, PBM_GETPOS, 0, 0) != i) {
                ++m_positionsDisagreeing;
            }
        }
        CDialog::OnOK();
    }

    CProgressCtrl m_progress;
    HWND owner = nullptr;
    int m_ticks = 0;
    bool m_shownAtTick = false;
    bool m_ownerDisabled = false;
    bool m_rangeAgrees = false;
    int m_positionsDisagreeing = -1 + 1;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Win32Host, ANestedProgressDialogRunsOnItsTimerOverItsDisabledOwner) {
    CHostTestEnvironment environment;
    CAgreementDlg dialog;
    CProgressDlg progress;
    INT_PTR nested = 0;
    const INT_PTR result = RunDialog(environment.host, dialog,
                                     {
                                         [&](HWND native) {
                                             progress.owner = native;
                                             nested = progress.DoModal();
                                             EXPECT_TRUE(::IsWindowEnabled(native))
                                                 << "the owner is enabled again";
                                             EXPECT_TRUE(dialog.IsWindowEnabled());
                                             EndWithEscape(native);
                                         },
                                     });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(nested, IDOK);
    EXPECT_EQ(progress.m_ticks, 1);
    EXPECT_TRUE(progress.m_shownAtTick);
    EXPECT_TRUE(progress.m_ownerDisabled);
    EXPECT_TRUE(progress.m_rangeAgrees);
    EXPECT_EQ(progress.m_positionsDisagreeing, 0);
}

}  // namespace
