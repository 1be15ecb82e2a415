// What follows a user's pick: devices switched, IRQ clashes warned of, changes tracked.
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

class EditingRulesTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(StandardCard(settings)); }

    void ExpectCodecListsOff() {
        for (CComboBox* combo :
             {&dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_fmIo, &dlg.m_sbProIo}) {
            EXPECT_FALSE(combo->IsWindowEnabled());
            EXPECT_EQ(combo->GetCurSel(), -1);
            EXPECT_EQ(Text(*combo), "");
            EXPECT_GT(combo->GetCount(), 0);
        }
    }

    CCardSettings settings;
};

TEST_F(EditingRulesTest, PickingDashInWssIoSwitchesTheCodecOff) {
    Pick(IDC_WSS_IO, "---");
    WhileOpen([&] {
        const CLogicalDevice& codec = dlg.m_devices[0];
        EXPECT_EQ(codec.GetDeviceId(), 0x0E63A8A0u);
        EXPECT_EQ(Identifier(codec), "Disabled [CoDec]");
        EXPECT_EQ(codec.hasDependentFunctions, 0);
        EXPECT_EQ(codec.dependentCount, 2);  // read with one function: 1 + 1, left alone
        EXPECT_EQ(codec.dependentFunctions[0].ioCount, 0);
        ExpectCodecListsOff();
        EXPECT_TRUE(dlg.m_wssIo.IsWindowEnabled());
        EXPECT_EQ(SelectedText(dlg.m_wssIo), "---");
        EXPECT_EQ(dlg.m_settingsChanged, 1);
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(EditingRulesTest, PickingABaseAfterwardsSwitchesTheCodecOnWithFixedDefaults) {
    Pick(IDC_WSS_IO, "---");
    Pick(IDC_WSS_IO, "534");
    WhileOpen([&] {
        ExpectCodecOnWithFixedDefaults(dlg);
        for (CComboBox* combo :
             {&dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_fmIo, &dlg.m_sbProIo}) {
            EXPECT_TRUE(combo->IsWindowEnabled());
        }
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, PickingPnpAfterwardsSwitchesTheCodecOnWithPnpEverywhere) {
    Pick(IDC_WSS_IO, "---");
    Pick(IDC_WSS_IO, "PnP");
    WhileOpen([&] {
        for (CComboBox* combo :
             {&dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_fmIo, &dlg.m_sbProIo}) {
            EXPECT_EQ(SelectedText(*combo), "PnP");
            EXPECT_TRUE(combo->IsWindowEnabled());
        }
        EXPECT_EQ(dlg.m_devices[0].hasDependentFunctions, 1);
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, AnotherBaseWhileTheCodecIsOnOnlyMarksTheChange) {
    Pick(IDC_WSS_IRQ, "9");
    Pick(IDC_WSS_IO, "604");
    Pick(IDC_WSS_IO, "PnP");
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(dlg.m_wssIrq), "9");
        EXPECT_EQ(SelectedText(dlg.m_wssPlayDma), "1");
        EXPECT_EQ(dlg.m_devices[0].dependentCount, 2);  // not switched: nothing reset
        EXPECT_EQ(dlg.m_settingsChanged, 1);
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, SwitchingOnWithDefaultsPutsIrq5WithoutACheckButOkWarns) {
    settings.midi1IrqMask = 0x0020;  // Midi-1 on IRQ 5
    settings.wssIrqMask = 0x0080;    // WSS on 7
    SetUp();
    Pick(IDC_WSS_IO, "---");
    Pick(IDC_WSS_IO, "544");
    WhileOpen([&] {
        EXPECT_TRUE(host.MessageBoxes().empty());
        EXPECT_EQ(SelectedText(dlg.m_wssIrq), "5");
    });
    host.Enter(IDD_SETUP_DIALOG);  // OK: the check refuses
    WhileOpen([&] { EXPECT_EQ(BoxTexts(), (Strings{"IRQ Overlap on WSS and Midi 1"})); });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(EditingRulesTest, OnlyTheFirstClashIsReported) {
    settings.midi1IrqMask = 0x0200;  // 9
    settings.midi2IrqMask = 0x0200;  // 9: Midi-2 and Midi-1 clash from the card
    SetUp();
    Pick(IDC_WSS_IRQ, "9");
    RunThenCancel();
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "IRQ Overlap on WSS and Midi 2");
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(host.MessageBoxes()[0].caption, "VYM Card Setup");
    EXPECT_EQ(dlg.m_settingsChanged, 0);
}

TEST_F(EditingRulesTest, AClashingPickStaysButIsNoAcceptedChange) {
    Pick(IDC_MIDI1_IRQ, "5");  // WSS is on 5
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(dlg.m_midi1Irq), "5");
        EXPECT_EQ(dlg.m_settingsChanged, 0);
    });
    RunThenCancel();
    EXPECT_EQ(BoxTexts(), (Strings{"IRQ Overlap on WSS and Midi 1"}));
}

TEST_F(EditingRulesTest, PnpDashAndNoSelectionNeverClash) {
    Pick(IDC_WSS_IRQ, "PnP");
    Pick(IDC_MIDI1_IRQ, "PnP");
    Pick(IDC_MIDI2_IRQ, "PnP");
    Pick(IDC_MIDI2_IRQ, "---");
    Pick(IDC_WSS_IO, "---");  // the Codec off: WSS IRQ has no selection
    Pick(IDC_MIDI1_IRQ, "11");
    Pick(IDC_MIDI2_IRQ, "5");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_wssIrq.GetCurSel(), -1);
        EXPECT_EQ(dlg.CheckIrqOverlap(), 1);
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(EditingRulesTest, Midi2AgainstMidi1WarnsYetCountsTheIrqAndTheChange) {
    Pick(IDC_WSS_IRQ, "PnP");
    WhileOpen([&] { dlg.m_settingsChanged = 0; });  // look at the Midi-2 pick alone
    Pick(IDC_MIDI2_IRQ, "9");                       // Midi-1 is on 9
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].irqCount, 1);
        EXPECT_EQ(dlg.m_settingsChanged, 1);
    });
    RunThenCancel();
    EXPECT_EQ(BoxTexts(), (Strings{"IRQ Overlap on Midi 2 and Midi 1"}));
}

TEST_F(EditingRulesTest, Midi2IrqDashClearsTheIrqCountAndAValueSetsIt) {
    Pick(IDC_MIDI2_IRQ, "---");
    WhileOpen([&] { EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].irqCount, 0); });
    Pick(IDC_MIDI2_IRQ, "15");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].irqCount, 1);
        EXPECT_EQ(dlg.m_settingsChanged, 1);
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, Midi2IoDashSwitchesMidi2OffAndABaseOnAgain) {
    Pick(IDC_MIDI2_IO, "---");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[3].GetDeviceId(), 0x0E63A8A3u);
        EXPECT_EQ(dlg.m_devices[3].hasDependentFunctions, 0);
        EXPECT_FALSE(dlg.m_midi2Irq.IsWindowEnabled());
        EXPECT_EQ(Text(dlg.m_midi2Irq), "");
        EXPECT_EQ(dlg.m_midi2Irq.GetCurSel(), -1);
    });
    Pick(IDC_MIDI2_IO, "330");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[3].GetDeviceId(), 0x0E63A803u);
        EXPECT_EQ(dlg.m_devices[3].hasDependentFunctions, 1);
        EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].ioCount, 1);
        EXPECT_TRUE(dlg.m_midi2Irq.IsWindowEnabled());
        EXPECT_EQ(SelectedText(dlg.m_midi2Irq), "---");
        // "---" is what Midi-2 IRQ shows: the record agrees, so no IRQ 0 gets written.
        EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].irqCount, 0);
        EXPECT_EQ(dlg.m_settingsChanged, 1);
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, Midi2PicksWhileOnDoNotSwitchIt) {
    Pick(IDC_MIDI2_IO, "PnP");
    WhileOpen([&] {
        EXPECT_EQ(SelectedText(dlg.m_midi2Irq), "11");
        EXPECT_EQ(dlg.m_devices[3].dependentCount, 2);
        EXPECT_EQ(dlg.m_devices[3].dependentFunctions[0].irqCount, 1);
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, EveryGameportPickSwitchesTheGamePortAgain) {
    Pick(IDC_GAMEPORT_IO, "201");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[1].dependentCount, 1);  // was 2 after reading
        EXPECT_EQ(dlg.m_devices[1].dependentFunctions[0].ioCount, 1);
        EXPECT_EQ(dlg.m_settingsChanged, 1);
    });
    Pick(IDC_GAMEPORT_IO, "---");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[1].GetDeviceId(), 0x0E63A8A1u);
        EXPECT_EQ(dlg.m_devices[1].hasDependentFunctions, 0);
        EXPECT_EQ(dlg.m_devices[1].dependentFunctions[0].ioCount, 0);
        EXPECT_EQ(Identifier(dlg.m_devices[1]), "Disabled [Game Port]");
    });
    RunThenCancel();
}

TEST_F(EditingRulesTest, TheSixPlainListsMarkTheChangeAndTouchNoRecord) {
    CLogicalDevice before[6];  // the records as read, to compare with after the picks
    WhileOpen([&] {
        for (int slot = 0; slot < 6; ++slot) {
            before[slot] = dlg.m_devices[slot];
        }
    });
    Pick(IDC_WSS_PLAY_DMA, "3");
    Pick(IDC_WSS_RECORD_DMA, "PnP");
    Pick(IDC_MIDI1_IO, "360");
    Pick(IDC_DIG_CONTROL_IO, "368");
    Pick(IDC_FM_IO, "PnP");
    Pick(IDC_SBPRO_IO, "280");
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_settingsChanged, 1);
        for (int slot = 0; slot < 6; ++slot) {
            const CLogicalDevice& now = dlg.m_devices[slot];
            EXPECT_EQ(now.GetDeviceId(), before[slot].GetDeviceId());
            EXPECT_EQ(now.dependentCount, before[slot].dependentCount);
            const CDependentFunction& f = now.dependentFunctions[0];
            const CDependentFunction& g = before[slot].dependentFunctions[0];
            for (int i = 0; i < MAX_IO_PORTS; ++i) {
                EXPECT_EQ(f.ioPorts[i].Bytes(), g.ioPorts[i].Bytes()) << slot << " port " << i;
            }
            EXPECT_EQ(f.dmaChannels[0].Bytes(), g.dmaChannels[0].Bytes());
            EXPECT_EQ(f.dmaChannels[1].Bytes(), g.dmaChannels[1].Bytes());
            EXPECT_EQ(f.irqs[0].Bytes(), g.irqs[0].Bytes());
        }
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(EditingRulesTest, ProgramSelectionsRunNoHandler) {
    WhileOpen([&] {
        dlg.SelectItemByData(dlg.m_wssIo, CHOICE_DISABLED);
        dlg.SelectItemByData(dlg.m_midi1Irq, 5);  // would clash with WSS IRQ 5
        EXPECT_EQ(dlg.m_settingsChanged, 0);
        EXPECT_EQ(dlg.m_devices[0].hasDependentFunctions, 1);
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

}  // namespace
