// The setup dialog itself: construction, its controls, keys, hidden buttons and the icon.
#include "framework/Resources.h"
#include "framework/UserInput.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

class SetupDialogTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(FactoryImage()); }

    void Minimise(int width, int height) {
        host.Do(
            "minimise",
            [width, height](const framework::WindowState& dialog) {
                return framework::SetClientSize(dialog, width, height) &
                       framework::SetMinimized(dialog, true);
            },
            IDD_SETUP_DIALOG);
    }
};

TEST_F(SetupDialogTest, AConstructedDialogHasItsIconAndNothingElseYet) {
    EXPECT_EQ(dlg.m_settingsChanged, 0);
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const CIconResource* icon = framework::IconResourceOf(dlg.m_hIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->id, IDR_MAINFRAME);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.m_wssIo.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(std::all_of(dlg.m_readImage, dlg.m_readImage + 2048, [](int b) { return b == 0; }));
    EXPECT_TRUE(
        std::all_of(dlg.m_writeImage, dlg.m_writeImage + 2048, [](int b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(dlg.m_header, dlg.m_header + 2048, [](int b) { return b == 0; }));
    EXPECT_EQ(dlg.m_firstFailedWrite, -1);
    EXPECT_EQ(dlg.m_driver.m_pOwner, nullptr);  // set when the dialog opens the card
    EXPECT_TRUE(card.requests.empty());
    EXPECT_EQ(card.openCount, 0);
}

TEST_F(SetupDialogTest, RunningShowsTemplate102WithItsIconAndTheFocusOnOk) {
    WhileOpen([&] {
        const framework::WindowState* window = dlg.GetState();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->id, IDD_SETUP_DIALOG);
        EXPECT_EQ(window->text, "VYM Card Setup");
        EXPECT_EQ(window->children.size(), 35u);
        EXPECT_EQ(window->bigIcon, dlg.m_hIcon);
        EXPECT_EQ(window->smallIcon, dlg.m_hIcon);
        EXPECT_EQ(window->focusId, IDOK);
        EXPECT_EQ(dlg.m_driver.m_pOwner, static_cast<CConfigDriverOwner*>(&dlg));
        // Each member combo box is bound to its own control.
        EXPECT_EQ(dlg.m_wssIo.GetState()->id, IDC_WSS_IO);
        EXPECT_EQ(dlg.m_midi2Irq.GetState()->id, IDC_MIDI2_IRQ);
        EXPECT_EQ(dlg.m_digControlIo.GetState()->id, IDC_DIG_CONTROL_IO);
        EXPECT_NE(dlg.m_wssIo.GetState()->style & CBS_SORT, 0u);
    });
    RunThenCancel();
}

TEST_F(SetupDialogTest, EnterIsOkAndEscapeOrTheCloseBoxIsCancel) {
    host.Enter(IDD_SETUP_DIALOG);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_TRUE(host.MessageBoxes().empty());

    CSetupDlg second;
    host.Close(IDD_SETUP_DIALOG);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SetupDialogTest, TheHiddenButtonsExistUnseenAndStillReachTheirHandlers) {
    WhileOpen([&] {
        for (int id : {IDC_READ_PORT, IDC_BUTTON1}) {
            const framework::WindowState* button = host.Control(id);
            ASSERT_NE(button, nullptr);
            EXPECT_FALSE(button->visible);
            EXPECT_FALSE(button->IsFocusable());
        }
    });
    Click(IDC_BUTTON1);
    WhileOpen([&] { EXPECT_EQ(dlg.m_writeComplete, 1); });
    RunThenCancel();
    EXPECT_EQ(Writes().size(), static_cast<std::size_t>(dlg.m_imageLength));
}

TEST_F(SetupDialogTest, SelectItemByDataTakesTheFirstMatchAndKeepsTheSelectionOtherwise) {
    WhileOpen([&] {
        const int extra = dlg.m_fmIo.InsertString(-1, "Again");
        dlg.m_fmIo.SetItemData(extra, 0x388);
        dlg.m_fmIo.SetCurSel(0);
        dlg.SelectItemByData(dlg.m_fmIo, 0x388);
        EXPECT_EQ(dlg.m_fmIo.GetCurSel(), 1);
        dlg.SelectItemByData(dlg.m_fmIo, 0x123);
        EXPECT_EQ(dlg.m_fmIo.GetCurSel(), 1);

        dlg.m_digControlIo.SetCurSel(-1);
        dlg.SelectItemByData(dlg.m_digControlIo, 0x123);
        EXPECT_EQ(dlg.m_digControlIo.GetCurSel(), -1);

        CComboBox unbound;  // no window: no entries
        dlg.SelectItemByData(unbound, 0);
        EXPECT_EQ(unbound.GetCurSel(), -1);
        EXPECT_EQ(dlg.m_settingsChanged, 0);
    });
    RunThenCancel();
}

TEST_F(SetupDialogTest, MinimisedPaintDrawsTheIconCentred) {
    Minimise(101, 50);
    host.Paint(IDD_SETUP_DIALOG);
    RunThenCancel();
    ASSERT_EQ(host.DrawnIcons().size(), 1u);
    EXPECT_EQ(host.DrawnIcons()[0].x, (101 - 32 + 1) / 2);
    EXPECT_EQ(host.DrawnIcons()[0].y, (50 - 32 + 1) / 2);
    EXPECT_EQ(host.DrawnIcons()[0].icon, dlg.m_hIcon);
    EXPECT_EQ(host.IconEraseCount(), 1);
    EXPECT_EQ(host.BeginPaintCount(), 1);
    EXPECT_EQ(host.EndPaintCount(), 1);
    EXPECT_EQ(host.DefaultPaintCount(), 0);
}

TEST_F(SetupDialogTest, AClientAreaSmallerThanTheIconTruncatesTowardZero) {
    Minimise(20, 0);
    host.Paint(IDD_SETUP_DIALOG);
    RunThenCancel();
    ASSERT_EQ(host.DrawnIcons().size(), 1u);
    EXPECT_EQ(host.DrawnIcons()[0].x, -5);   // -11 / 2
    EXPECT_EQ(host.DrawnIcons()[0].y, -15);  // -31 / 2
}

TEST_F(SetupDialogTest, PaintWhileNotMinimisedIsTheDefaultOne) {
    host.Paint(IDD_SETUP_DIALOG);
    RunThenCancel();
    EXPECT_EQ(host.DefaultPaintCount(), 1);
    EXPECT_TRUE(host.DrawnIcons().empty());
    EXPECT_EQ(host.IconEraseCount(), 0);
}

TEST_F(SetupDialogTest, DraggingTheMinimisedWindowShowsTheIcon) {
    WhileOpen([&] {
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg.m_hIcon));
    });
    RunThenCancel();
}

TEST_F(SetupDialogTest, TheMessageMapRoutesEachListToItsHandler) {
    // A notification as a native control would send it, straight into the map.
    auto notify = [&](int id) {
        dlg.m_settingsChanged = 0;
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), 0);
        return dlg.m_settingsChanged;
    };
    WhileOpen([&] {
        for (int id : {IDC_FM_IO, IDC_WSS_PLAY_DMA, IDC_WSS_RECORD_DMA, IDC_SBPRO_IO, IDC_MIDI1_IO,
                       IDC_DIG_CONTROL_IO, IDC_WSS_IRQ, IDC_MIDI1_IRQ, IDC_WSS_IO, IDC_MIDI2_IO,
                       IDC_GAMEPORT_IO, IDC_MIDI2_IRQ}) {
            EXPECT_EQ(notify(id), 1) << id;
        }
        // A selection change from a control the map does not name does nothing.
        EXPECT_EQ(notify(IDC_READ_PORT), 0);
        dlg.m_wssIo.SetCurSel(1);  // "---" without a notification: nothing switched
        EXPECT_EQ(dlg.m_devices[0].hasDependentFunctions, 1);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WSS_IO, CBN_SELCHANGE), 0);
        EXPECT_EQ(dlg.m_devices[0].hasDependentFunctions, 0);
    });
    RunThenCancel();
}

TEST_F(SetupDialogTest, TheSystemErrorTextIsKeptInOneBufferForEveryCall) {
    card.FailOpen(ERROR_SHARING_VIOLATION);
    Run();
    const char* first = dlg.GetLastErrorText(FALSE);
    EXPECT_STREQ(first,
                 "The process cannot access the file because it is being used by another "
                 "process.\r\n");
    EXPECT_EQ(dlg.GetLastErrorText(FALSE), first);
    EXPECT_EQ(card.unreleasedTexts, 0);  // the system's buffer went back each time
}

}  // namespace
