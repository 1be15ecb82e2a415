// Start-up: the card is read and parsed, and the twelve lists show what it holds.
#include <array>

#include "ui/SetupDlgCombos.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

class ShowSettingsTest : public SetupDlgTest {};

TEST_F(ShowSettingsTest, FactoryCardFillsEveryListInOrderWithTheCardsSelections) {
    LoadCard(FactoryImage());
    WhileOpen([&] {
        EXPECT_EQ(Entries(dlg.m_wssIo),
                  (Strings{"PnP", "---", "534", "544", "554", "564", "574", "584", "594", "5A4",
                           "5B4", "5C4", "5D4", "5E4", "5F4", "604"}));
        EXPECT_EQ(Entries(dlg.m_wssIrq), (Strings{"5", "PnP", "7", "9", "11", "12", "15"}));
        EXPECT_EQ(Entries(dlg.m_wssPlayDma), (Strings{"PnP", "0", "1", "3"}));
        EXPECT_EQ(Entries(dlg.m_wssRecordDma), (Strings{"PnP", "0", "1", "3"}));
        EXPECT_EQ(Entries(dlg.m_midi1Io),
                  (Strings{"PnP", "300", "310", "320", "330", "340", "350", "360"}));
        EXPECT_EQ(Entries(dlg.m_midi1Irq), (Strings{"PnP", "5", "7", "9", "11", "12", "15"}));
        EXPECT_EQ(Entries(dlg.m_digControlIo),
                  (Strings{"PnP", "308", "318", "328", "338", "348", "358", "368"}));
        EXPECT_EQ(Entries(dlg.m_fmIo), (Strings{"PnP", "388"}));
        EXPECT_EQ(Entries(dlg.m_sbProIo), (Strings{"PnP", "220", "240", "260", "280"}));
        EXPECT_EQ(Entries(dlg.m_gameportIo), (Strings{"---", "201"}));
        EXPECT_EQ(Entries(dlg.m_midi2Io),
                  (Strings{"---", "PnP", "300", "310", "320", "330", "340", "350", "360"}));
        EXPECT_EQ(Entries(dlg.m_midi2Irq),
                  (Strings{"---", "PnP", "5", "7", "9", "11", "12", "15"}));

        EXPECT_EQ(ItemData(dlg.m_wssIo).front(), CHOICE_PNP);
        EXPECT_EQ(ItemData(dlg.m_wssIo)[1], CHOICE_DISABLED);
        EXPECT_EQ(ItemData(dlg.m_wssIo)[9], 0x5A4);
        EXPECT_EQ(ItemData(dlg.m_wssIrq), (std::vector<int>{5, 255, 7, 9, 11, 12, 15}));
        EXPECT_EQ(ItemData(dlg.m_midi2Irq), (std::vector<int>{4095, 255, 5, 7, 9, 11, 12, 15}));

        EXPECT_EQ(SelectedText(dlg.m_wssIo), "534");
        EXPECT_EQ(SelectedText(dlg.m_wssIrq), "5");
        EXPECT_EQ(SelectedText(dlg.m_wssPlayDma), "1");
        EXPECT_EQ(SelectedText(dlg.m_wssRecordDma), "0");
        EXPECT_EQ(SelectedText(dlg.m_midi1Io), "300");
        EXPECT_EQ(SelectedText(dlg.m_midi1Irq), "9");
        EXPECT_EQ(SelectedText(dlg.m_digControlIo), "308");
        EXPECT_EQ(SelectedText(dlg.m_fmIo), "388");
        EXPECT_EQ(SelectedText(dlg.m_sbProIo), "220");
        EXPECT_EQ(SelectedText(dlg.m_gameportIo), "201");
        EXPECT_EQ(SelectedText(dlg.m_midi2Io), "330");
        EXPECT_EQ(SelectedText(dlg.m_midi2Irq), "11");
        EXPECT_EQ(Text(dlg.m_midi2Irq), "11");
        EXPECT_EQ(dlg.m_settingsChanged, 0);
        EXPECT_EQ(dlg.m_deviceCount, 6);
        EXPECT_EQ(dlg.m_wholeImageRead, 1);
    });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(ShowSettingsTest, TheWholeEepromIsReadOnceAtStart) {
    LoadCard(FactoryImage());
    WhileOpen([&] {
        ASSERT_EQ(card.requests.size(), 2048u);
        for (int address = 0; address < 2048; ++address) {
            const CDeviceDouble::CRequest& request = card.requests[address];
            EXPECT_EQ(request.code, IOCTL_CNF_READ_BYTE);
            EXPECT_EQ(request.input[0] | (request.input[1] << 8), address);
        }
        EXPECT_TRUE(std::equal(dlg.m_readImage, dlg.m_readImage + 2048, card.eeprom));
        EXPECT_EQ(dlg.m_headerLength, 38);
    });
    RunThenCancel();
    EXPECT_EQ(card.openCount, 1);
}

struct CSelectionCase {
    const char* name;
    CCardSettings settings;
    int controlId;
    const char* expected;
};

CCardSettings With(void (*change)(CCardSettings&)) {
    CCardSettings settings;
    change(settings);
    return settings;
}

class PreselectionTest : public SetupDlgTest,
                         public ::testing::WithParamInterface<CSelectionCase> {};

CComboBox& ComboOf(CSetupDlg& dlg, int id) {
    for (const CSetupCombo& row : kSetupCombos) {
        if (row.controlId == id) {
            return dlg.*row.combo;
        }
    }
    ADD_FAILURE() << "no combo box " << id;
    return dlg.m_midi2Irq;
}

TEST_P(PreselectionTest, SelectsWhatTheCardHolds) {
    const CSelectionCase& c = GetParam();
    LoadCard(StandardCard(c.settings));
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(ComboOf(dlg, c.controlId)), c.expected);
        EXPECT_EQ(dlg.m_settingsChanged, 0);
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

// clang-format off
const CSelectionCase kSelectionCases[] = {
    {"WssFixedInList", With([](CCardSettings& s) { s.wssMin = s.wssMax = 0x534; }), IDC_WSS_IO, "534"},
    {"WssRange", With([](CCardSettings& s) { s.wssMin = 0x534; s.wssMax = 0x604; }), IDC_WSS_IO, "PnP"},
    {"WssFixedNotInList", With([](CCardSettings& s) { s.wssMin = s.wssMax = 0x530; }), IDC_WSS_IO, "---"},
    {"WssIrq5", With([](CCardSettings& s) { s.wssIrqMask = 0x0020; }), IDC_WSS_IRQ, "5"},
    {"WssIrqSeveral", With([](CCardSettings& s) { s.wssIrqMask = 0x0820; }), IDC_WSS_IRQ, "PnP"},
    {"WssIrqNone", With([](CCardSettings& s) { s.wssIrqMask = 0x0000; }), IDC_WSS_IRQ, "PnP"},
    {"WssIrqNotInList", With([](CCardSettings& s) { s.wssIrqMask = 0x0008; }), IDC_WSS_IRQ, "PnP"},
    {"PlayDma1", With([](CCardSettings& s) { s.playDmaMask = 0x02; }), IDC_WSS_PLAY_DMA, "1"},
    {"PlayDmaNotInList", With([](CCardSettings& s) { s.playDmaMask = 0x04; }), IDC_WSS_PLAY_DMA, "PnP"},
    {"PlayDmaNone", With([](CCardSettings& s) { s.playDmaMask = 0x00; }), IDC_WSS_PLAY_DMA, "PnP"},
    {"PlayDmaSeveral", With([](CCardSettings& s) { s.playDmaMask = 0x0B; }), IDC_WSS_PLAY_DMA, "PnP"},
    {"PlayDmaHighBitsIgnored", With([](CCardSettings& s) { s.playDmaMask = 0x11; }), IDC_WSS_PLAY_DMA, "0"},
    {"RecordDma3", With([](CCardSettings& s) { s.recordDmaMask = 0x08; }), IDC_WSS_RECORD_DMA, "3"},
    {"Midi1Range", With([](CCardSettings& s) { s.midi1Min = 0x300; s.midi1Max = 0x330; }), IDC_MIDI1_IO, "PnP"},
    {"Midi1Fixed", With([](CCardSettings& s) { s.midi1Min = s.midi1Max = 0x330; }), IDC_MIDI1_IO, "330"},
    {"Midi1IrqNone", With([](CCardSettings& s) { s.midi1IrqMask = 0; }), IDC_MIDI1_IRQ, "PnP"},
    {"Midi1Irq15", With([](CCardSettings& s) { s.midi1IrqMask = 0x8000; }), IDC_MIDI1_IRQ, "15"},
    {"GamePortFixed", With([](CCardSettings& s) { s.gameMin = s.gameMax = 0x201; }), IDC_GAMEPORT_IO, "201"},
    {"GamePortRange", With([](CCardSettings& s) { s.gameMin = 0x200; s.gameMax = 0x20F; }), IDC_GAMEPORT_IO, "---"},
    {"Midi2IrqNone", With([](CCardSettings& s) { s.midi2IrqMask = 0; }), IDC_MIDI2_IRQ, "---"},
    {"Midi2IrqNotInList", With([](CCardSettings& s) { s.midi2IrqMask = 0x0400; }), IDC_MIDI2_IRQ, "---"},
    {"Midi2IrqSeveral", With([](CCardSettings& s) { s.midi2IrqMask = 0x0280; }), IDC_MIDI2_IRQ, "PnP"},
    {"Midi2NoIrqDescriptor", With([](CCardSettings& s) { s.midi2HasIrq = false; }), IDC_MIDI2_IRQ, "---"},
    {"Midi2Range", With([](CCardSettings& s) { s.midi2Min = 0x300; s.midi2Max = 0x330; }), IDC_MIDI2_IO, "PnP"},
    {"DigControlNotInList", With([](CCardSettings& s) { s.digControlMin = s.digControlMax = 0x300; }), IDC_DIG_CONTROL_IO, "(none)"},
    {"DigControlRange", With([](CCardSettings& s) { s.digControlMin = 0x100; s.digControlMax = 0x608; }), IDC_DIG_CONTROL_IO, "PnP"},
    {"DigControlOff", With([](CCardSettings& s) { s.digControlOn = false; }), IDC_DIG_CONTROL_IO, "(none)"},
    {"FmNotInList", With([](CCardSettings& s) { s.fmMin = s.fmMax = 0x380; }), IDC_FM_IO, "(none)"},
    {"SbProNotInList", With([](CCardSettings& s) { s.sbProMin = s.sbProMax = 0x230; }), IDC_SBPRO_IO, "(none)"},
    {"SbProRange", With([](CCardSettings& s) { s.sbProMin = 0x220; s.sbProMax = 0x280; }), IDC_SBPRO_IO, "PnP"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cards, PreselectionTest, ::testing::ValuesIn(kSelectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShowSettingsTest, CodecOffOnTheCardEmptiesAndDisablesItsListsButFillsThem) {
    CCardSettings settings;
    settings.codecOn = false;
    LoadCard(StandardCard(settings));
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(dlg.m_wssIo), "---");
        EXPECT_TRUE(dlg.m_wssIo.IsWindowEnabled());
        for (CComboBox* combo :
             {&dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_fmIo, &dlg.m_sbProIo}) {
            EXPECT_FALSE(combo->IsWindowEnabled());
            EXPECT_EQ(combo->GetCurSel(), -1);
            EXPECT_EQ(Text(*combo), "");
        }
        EXPECT_EQ(dlg.m_wssIrq.GetCount(), 7);
        EXPECT_EQ(dlg.m_wssPlayDma.GetCount(), 4);
        EXPECT_EQ(dlg.m_wssRecordDma.GetCount(), 4);
        EXPECT_EQ(dlg.m_fmIo.GetCount(), 2);
        EXPECT_EQ(dlg.m_sbProIo.GetCount(), 5);
        EXPECT_EQ(dlg.m_devices[0].GetDeviceId(), 0x0E63A8A0u);
        EXPECT_EQ(dlg.m_devices[0].hasDependentFunctions, 0);
        EXPECT_EQ(dlg.m_settingsChanged, 0);
    });
    RunThenCancel();
}

TEST_F(ShowSettingsTest, Midi2OffOnTheCardLeavesItsIrqListDisabledEmptyAndFull) {
    CCardSettings settings;
    settings.midi2On = false;
    LoadCard(StandardCard(settings));
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(dlg.m_midi2Io), "---");
        EXPECT_TRUE(dlg.m_midi2Io.IsWindowEnabled());
        EXPECT_FALSE(dlg.m_midi2Irq.IsWindowEnabled());
        EXPECT_EQ(dlg.m_midi2Irq.GetCurSel(), -1);
        EXPECT_EQ(Text(dlg.m_midi2Irq), "");
        EXPECT_EQ(dlg.m_midi2Irq.GetCount(), 8);
        EXPECT_EQ(dlg.m_devices[3].GetDeviceId(), 0x0E63A8A3u);
        EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].irqCount, 0);
    });
    RunThenCancel();
}

TEST_F(ShowSettingsTest, GamePortOffOnTheCardKeepsTheIdentityItWasReadWith) {
    CCardSettings settings;
    settings.gamePortOn = false;
    LoadCard(StandardCard(settings));
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(dlg.m_gameportIo), "---");
        EXPECT_EQ(dlg.m_devices[1].GetDeviceId(), 0x0E63A8A1u);
        EXPECT_EQ(dlg.m_devices[1].hasDependentFunctions, 0);
    });
    RunThenCancel();
}

TEST_F(ShowSettingsTest, AFailedOpenShowsTheSystemTextOnceAndQuitsWithNothingFilled) {
    card.FailOpen(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Run(), -1);  // the quit ended the dialog, not the user
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "The system cannot find the file specified.\r\n");
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(host.MessageBoxes()[0].caption, "VYM Card Setup");
    EXPECT_EQ(host.QuitsPosted(), 1);
    EXPECT_TRUE(card.requests.empty());
    EXPECT_EQ(card.openCount, 1);
    EXPECT_EQ(dlg.m_deviceCount, 0);
}

TEST_F(ShowSettingsTest, OpenFailureLeavesEveryListEmptyWhileTheQuitIsPending) {
    card.FailOpen(ERROR_ACCESS_DENIED);
    int destroyed = 0;
    host.onDestroyed = [&](const framework::WindowState&) {
        ++destroyed;
        for (const CComboBox* combo : {&dlg.m_wssIo, &dlg.m_gameportIo, &dlg.m_midi2Irq}) {
            EXPECT_EQ(combo->GetCount(), 0);
            EXPECT_TRUE(combo->GetSafeHwnd() != nullptr);  // bound: the lists exist, empty
        }
    };
    Run();
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(framework::QuitPending());
    EXPECT_EQ(framework::QuitCode(), 0);
    EXPECT_EQ(std::string(dlg.GetLastErrorText(FALSE)), "Access is denied.\r\n");
    EXPECT_EQ(host.MessageBoxes().size(), 1u);  // asking again without showing shows nothing
}

TEST_F(ShowSettingsTest, AnImageWithoutDevicesSaysSoAndLeavesEveryListEmpty) {
    CEepromBytes blank;
    blank.fill(0xFF);
    blank[10] = 0x15;  // in the header: never taken as a device
    LoadCard(blank);
    WhileOpen([&] {
        for (CComboBox* combo :
             {&dlg.m_wssIo, &dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_midi1Io,
              &dlg.m_midi1Irq, &dlg.m_digControlIo, &dlg.m_fmIo, &dlg.m_sbProIo, &dlg.m_gameportIo,
              &dlg.m_midi2Io, &dlg.m_midi2Irq}) {
            EXPECT_EQ(combo->GetCount(), 0);
            EXPECT_TRUE(combo->IsWindowEnabled());
        }
    });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Couldn't find Logical device ID");
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_ICONHAND));
}

TEST_F(ShowSettingsTest, AMalformedDeviceSaysSoAndLeavesEveryListEmpty) {
    CCardImage image;
    image.Header().Device(0x0E63A800, "Codec").StartDependent().Bytes({0x23, 0x20, 0x00, 0x01});
    LoadCard(image.EndDependent().EndTag());
    WhileOpen([&] { EXPECT_EQ(dlg.m_wssIo.GetCount(), 0); });
    RunThenCancel();
    EXPECT_EQ(BoxTexts(), (Strings{"Couldn't find Logical device ID"}));
}

TEST_F(ShowSettingsTest, AReadFailureStillShowsWhatWasReadWithoutAMessage) {
    LoadCard(FactoryImage());
    card.FailReadAt(1000);  // past the devices
    WhileOpen([&] {
        EXPECT_EQ(card.requests.size(), 1001u);
        EXPECT_EQ(dlg.m_wholeImageRead, 0);
        EXPECT_EQ(SelectedText(dlg.m_wssIo), "534");
        // The bytes from the failed address on stay as construction left them.
        EXPECT_EQ(dlg.m_readImage[999], 0xFF);
        EXPECT_EQ(dlg.m_readImage[1000], 0x00);
        EXPECT_EQ(dlg.m_readImage[2047], 0x00);
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(ShowSettingsTest, FewerThanSixDevicesAreShownWithOnlyTheWarning) {
    CCardImage image;
    image.Header()
        .Device(0x0E63A800, "Codec")
        .StartDependent()
        .Dma(0x02)
        .Dma(0x01)
        .Irq(0x0080)
        .Io(0x544, 0x544, 4, 4)
        .Io(0x388, 0x388, 8, 4)
        .Io(0x240, 0x240, 0x20, 0x10)
        .EndDependent();
    LoadCard(image.EndTag());
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_deviceCount, 1);
        EXPECT_EQ(SelectedText(dlg.m_wssIo), "544");
        EXPECT_EQ(SelectedText(dlg.m_wssIrq), "7");
        EXPECT_EQ(SelectedText(dlg.m_sbProIo), "240");
        // Records the reader never reached hold bases of 0, which no entry carries.
        EXPECT_EQ(SelectedText(dlg.m_gameportIo), "---");
        EXPECT_EQ(SelectedText(dlg.m_midi1Io), "PnP");
        EXPECT_EQ(SelectedText(dlg.m_midi1Irq), "PnP");
    });
    RunThenCancel();
    // The settings are shown all the same; the one word is the warning that they cannot be
    // written.
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_NE(host.MessageBoxes()[0].text.find("holds only 1 logical device"), std::string::npos);
}

TEST(MaskChoiceTest, IrqMaskGivesNoneOneLineOrPnp) {
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x0000), CHOICE_DISABLED);
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x0001), 0);
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x0020), 5);
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x8000), 15);
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x8001), CHOICE_PNP);
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x9AA0), CHOICE_PNP);
    EXPECT_EQ(CSetupDlg::IrqMaskToChoice(0x10000), CHOICE_DISABLED);  // only 16 lines exist
}

TEST(MaskChoiceTest, DmaMaskLooksAtChannelsZeroToThreeOnly) {
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0x00), CHOICE_PNP);
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0x01), 0);
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0x08), 3);
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0x0B), CHOICE_PNP);
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0x11), 0);
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0xF0), CHOICE_PNP);
    EXPECT_EQ(CSetupDlg::DmaMaskToChoice(0x24), 2);
}

}  // namespace
