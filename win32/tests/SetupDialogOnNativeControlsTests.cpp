#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/ConfigDriver.h"
#include "driver/testing/DeviceDouble.h"
#include "pnp/FactoryImage.h"
#include "ui/Resource.h"
#include "ui/SetupDlg.h"
#include "win32/tests/HostTestSupport.h"

using win32_testing::CBoxAnswerer;
using win32_testing::CHostTestEnvironment;
using win32_testing::Control;
using win32_testing::NativeText;
using win32_testing::PressKey;
using win32_testing::RunDialog;

namespace {

struct CComboView {
    int id;
    CComboBox CSetupDlg::*member;
    const char* factoryText;  // what the factory card selects
};

const CComboView kCombos[] = {
    {IDC_WSS_IO, &CSetupDlg::m_wssIo, "534"},
    {IDC_WSS_IRQ, &CSetupDlg::m_wssIrq, "5"},
    {IDC_WSS_PLAY_DMA, &CSetupDlg::m_wssPlayDma, "1"},
    {IDC_WSS_RECORD_DMA, &CSetupDlg::m_wssRecordDma, "0"},
    {IDC_MIDI1_IO, &CSetupDlg::m_midi1Io, "300"},
    {IDC_MIDI1_IRQ, &CSetupDlg::m_midi1Irq, "9"},
    {IDC_DIG_CONTROL_IO, &CSetupDlg::m_digControlIo, "308"},
    {IDC_FM_IO, &CSetupDlg::m_fmIo, "388"},
    {IDC_SBPRO_IO, &CSetupDlg::m_sbProIo, "220"},
    {IDC_GAMEPORT_IO, &CSetupDlg::m_gameportIo, "201"},
    {IDC_MIDI2_IO, &CSetupDlg::m_midi2Io, "330"},
    {IDC_MIDI2_IRQ, &CSetupDlg::m_midi2Irq, "11"},
};

// The combo boxes that belong to the Codec besides WSS I/O.
const int kCodecCombos[] = {IDC_WSS_IRQ, IDC_WSS_PLAY_DMA, IDC_WSS_RECORD_DMA, IDC_FM_IO,
                            IDC_SBPRO_IO};

// Every native combo box shows exactly the framework's state: entries, item data, selection,
// text and enabled.
void ExpectAllAgree(CSetupDlg& dialog, HWND native) {
    for (const CComboView& view : kCombos) {
        const CComboBox& combo = dialog.*view.member;
        HWND control = Control(native, view.id);
        ASSERT_EQ(::SendMessageA(control, CB_GETCOUNT, 0, 0), combo.GetCount()) << view.id;
        for (int i = 0; i < combo.GetCount(); ++i) {
            char text[64] = {};
            ::SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(text));
            char expected[64] = {};
            combo.GetLBText(i, expected, sizeof expected);
            EXPECT_STREQ(text, expected) << view.id;
            EXPECT_EQ(static_cast<DWORD_PTR>(
                          ::SendMessageA(control, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)),
                      combo.GetItemData(i))
                << view.id;
        }
        EXPECT_EQ(::SendMessageA(control, CB_GETCURSEL, 0, 0), combo.GetCurSel()) << view.id;
        char shown[64] = {};
        combo.GetWindowText(shown, sizeof shown);
        EXPECT_EQ(NativeText(control), shown) << view.id;
        EXPECT_EQ(::IsWindowEnabled(control) != FALSE, combo.IsWindowEnabled() != FALSE) << view.id;
    }
}

class SetupDialogOnNativeControls : public ::testing::Test {
protected:
    SetupDialogOnNativeControls() {
        std::memcpy(card.eeprom, FactoryImage().data(), sizeof card.eeprom);
    }

    CHostTestEnvironment environment;
    CDeviceDouble card;
};

TEST_F(SetupDialogOnNativeControls, TheCardsSettingsShowInTheNativeComboBoxes) {
    CSetupDlg dialog;
    const INT_PTR result = RunDialog(
        environment.host, dialog,
        {
            [&](HWND native) {
                ExpectAllAgree(dialog, native);
                for (const CComboView& view : kCombos) {
                    EXPECT_EQ(NativeText(Control(native, view.id)), view.factoryText) << view.id;
                }
                EXPECT_EQ(dialog.m_settingsChanged, 0);
                EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(native, WM_GETICON, ICON_BIG, 0)),
                          dialog.m_hIcon);
                PressKey(native, Control(native, IDOK), VK_ESCAPE);
            },
        });
    EXPECT_EQ(result, IDCANCEL);
    for (const auto& request : card.requests) {
        EXPECT_EQ(request.code, IOCTL_CNF_READ_BYTE) << "Cancel writes nothing";
    }
}

TEST_F(SetupDialogOnNativeControls, MinimisedTheDialogPaintsItsIconAndNormallyItDoesNot) {
    CSetupDlg dialog;
    int drawnWhenRestored = -1;
    int drawnWhenMinimised = -1;
    const INT_PTR result =
        RunDialog(environment.host, dialog,
                  {
                      [&](HWND native) {
                          ::RedrawWindow(native, nullptr, nullptr,
                                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                          drawnWhenRestored = environment.host.IconsDrawn();
                          ::ShowWindow(native, SW_MINIMIZE);
                          // Current systems do not paint a minimised window's client area on their
                          // own; the message is what older ones sent.
                          ::SendMessageA(native, WM_PAINT, 0, 0);
                          drawnWhenMinimised = environment.host.IconsDrawn();
                          ::ShowWindow(native, SW_RESTORE);
                          PressKey(native, Control(native, IDOK), VK_ESCAPE);
                      },
                  });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(drawnWhenRestored, 0);
    EXPECT_EQ(drawnWhenMinimised, 1);
}

TEST_F(SetupDialogOnNativeControls, SwitchingTheCodecAtTheNativeControlsFollowsInBoth) {
    CSetupDlg dialog;
    const INT_PTR result =
        RunDialog(environment.host, dialog,
                  {
                      // 534 -> "---": the user switches the Codec off.
                      [&](HWND native) { PressKey(native, Control(native, IDC_WSS_IO), VK_UP); },
                      [&](HWND native) {
                          EXPECT_EQ(NativeText(Control(native, IDC_WSS_IO)), "---");
                          EXPECT_EQ(dialog.m_settingsChanged, 1);
                          for (int id : kCodecCombos) {
                              HWND control = Control(native, id);
                              EXPECT_FALSE(::IsWindowEnabled(control)) << id;
                              EXPECT_EQ(NativeText(control), "") << id;
                              EXPECT_EQ(::SendMessageA(control, CB_GETCURSEL, 0, 0), CB_ERR) << id;
                          }
                          ExpectAllAgree(dialog, native);
                          PressKey(native, Control(native, IDC_WSS_IO), VK_DOWN);
                      },
                      // "---" -> 534: on again with the fixed defaults.
                      [&](HWND native) {
                          const char* const defaults[] = {"5", "1", "0", "388", "220"};
                          for (int i = 0; i < 5; ++i) {
                              HWND control = Control(native, kCodecCombos[i]);
                              EXPECT_TRUE(::IsWindowEnabled(control)) << kCodecCombos[i];
                              EXPECT_EQ(NativeText(control), defaults[i]) << kCodecCombos[i];
                          }
                          ExpectAllAgree(dialog, native);
                          PressKey(native, Control(native, IDOK), VK_ESCAPE);
                      },
                  });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(SetupDialogOnNativeControls, OkAfterAChangeAsksAndWritesBehindTheNativeProgressBar) {
    CBoxAnswerer boxes(environment.host);
    boxes.answers = {IDYES};
    CSetupDlg dialog;
    const INT_PTR result =
        RunDialog(environment.host, dialog,
                  {
                      [&](HWND native) { PressKey(native, Control(native, IDC_WSS_IO), VK_UP); },
                      [&](HWND native) { PressKey(native, Control(native, IDOK), VK_RETURN); },
                  });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Settings are changed. Do you want to write new settings to EEPROM ?");
    EXPECT_EQ(boxes.boxes[0].caption, "Write EEPROM");
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    ASSERT_GT(dialog.m_imageLength, 0);
    std::vector<int> written;
    for (const auto& request : card.requests) {
        if (request.code == IOCTL_CNF_WRITE_BYTE) {
            written.push_back(request.input[0] | (request.input[1] << 8));
            EXPECT_EQ(request.input[2], dialog.m_writeImage[written.back()]);
        }
    }
    ASSERT_EQ(static_cast<int>(written.size()), dialog.m_imageLength);
    for (int i = 0; i < dialog.m_imageLength; ++i) {
        EXPECT_EQ(written[static_cast<std::size_t>(i)], i) << "addresses 0 upwards";
    }
    EXPECT_EQ(0, std::memcmp(card.eeprom, dialog.m_writeImage,
                             static_cast<std::size_t>(dialog.m_imageLength)));
    EXPECT_EQ(0, std::memcmp(card.eeprom + dialog.m_imageLength,
                             FactoryImage().data() + dialog.m_imageLength,
                             sizeof card.eeprom - static_cast<std::size_t>(dialog.m_imageLength)))
        << "bytes past the image are left alone";
}

TEST_F(SetupDialogOnNativeControls, WithoutTheDriverOneInformationBoxAndTheDialogIsNeverShown) {
    CBoxAnswerer boxes(environment.host);
    card.FailOpen(ERROR_FILE_NOT_FOUND);
    char expected[2048];
    SystemErrorText(ERROR_FILE_NOT_FOUND, expected, sizeof expected);
    CSetupDlg dialog;
    const INT_PTR result = RunDialog(environment.host, dialog, {});
    EXPECT_EQ(result, -1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.boxes[0].text, expected);
    EXPECT_NE(boxes.boxes[0].text, "");
    EXPECT_EQ(boxes.boxes[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.dialogShows, 0);
    EXPECT_EQ(dialog.m_wssIo.GetCount(), 0);
    EXPECT_TRUE(card.requests.empty());
}

}  // namespace
