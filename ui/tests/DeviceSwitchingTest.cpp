// Switching the Codec, MIDI-2 and the Game Port in their records and combo boxes.
#include <cstring>

#include "ui/tests/SetupDlgFixture.h"

namespace {

class DeviceSwitchingTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(FactoryImage()); }
};

TEST_F(DeviceSwitchingTest, CodecOffAndOnWithFixedDefaults) {
    WhileOpen([&] {
        const CLogicalDevice& codec = dlg.m_devices[0];
        dlg.EnableCodec(0, 0);
        EXPECT_EQ(codec.GetDeviceId(), 0x0E63A8A0u);
        EXPECT_EQ(Identifier(codec), "Disabled [CoDec]");
        EXPECT_EQ(codec.identifierData[1], 17);  // the text and its terminator
        EXPECT_EQ(codec.hasDependentFunctions, 0);
        EXPECT_EQ(codec.dependentCount, 2);
        EXPECT_EQ(codec.dependentFunctions[0].ioCount, 0);
        for (CComboBox* combo :
             {&dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_fmIo, &dlg.m_sbProIo}) {
            EXPECT_FALSE(combo->IsWindowEnabled());
            EXPECT_EQ(Text(*combo), "");
            EXPECT_EQ(combo->GetCurSel(), -1);
        }
        EXPECT_EQ(SelectedText(dlg.m_wssIo), "534");  // never touched
        EXPECT_TRUE(dlg.m_wssIo.IsWindowEnabled());

        dlg.EnableCodec(1, 0);
        ExpectCodecOnWithFixedDefaults(dlg);

        dlg.EnableCodec(1, 1);
        for (CComboBox* combo :
             {&dlg.m_wssIrq, &dlg.m_wssPlayDma, &dlg.m_wssRecordDma, &dlg.m_fmIo, &dlg.m_sbProIo}) {
            EXPECT_TRUE(combo->IsWindowEnabled());
            EXPECT_EQ(Text(*combo), "PnP");
        }
        EXPECT_EQ(dlg.m_settingsChanged, 0);  // switching alone changes no setting
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(DeviceSwitchingTest, Midi2OffAndOnSetsItsIrqCountToZeroBothWays) {
    WhileOpen([&] {
        CLogicalDevice& midi2 = dlg.m_devices[3];
        dlg.EnableMidi2(0);
        EXPECT_EQ(midi2.GetDeviceId(), 0x0E63A8A3u);
        EXPECT_EQ(Identifier(midi2), "Disabled [MIDI-2]");
        EXPECT_EQ(midi2.hasDependentFunctions, 0);
        EXPECT_EQ(midi2.dependentFunctions[0].irqCount, 0);
        EXPECT_FALSE(dlg.m_midi2Irq.IsWindowEnabled());
        EXPECT_EQ(Text(dlg.m_midi2Irq), "");

        midi2.dependentFunctions[0].irqCount = 1;  // as an earlier pick may have left it
        dlg.EnableMidi2(1);
        EXPECT_EQ(midi2.GetDeviceId(), 0x0E63A803u);
        EXPECT_EQ(Identifier(midi2), "MIDI-2");
        EXPECT_EQ(midi2.hasDependentFunctions, 1);
        EXPECT_EQ(midi2.dependentCount, 1);
        EXPECT_EQ(midi2.dependentFunctions[0].ioCount, 1);
        EXPECT_EQ(midi2.dependentFunctions[0].irqCount, 0);
        EXPECT_TRUE(dlg.m_midi2Irq.IsWindowEnabled());
        EXPECT_EQ(Text(dlg.m_midi2Irq), "---");
    });
    RunThenCancel();
}

TEST_F(DeviceSwitchingTest, GamePortOnAgainResetsItsCountsAndTouchesNoList) {
    WhileOpen([&] {
        CLogicalDevice& gamePort = dlg.m_devices[1];
        EXPECT_EQ(gamePort.dependentCount, 2);
        dlg.EnableGamePort(1);
        EXPECT_EQ(gamePort.dependentCount, 1);
        EXPECT_EQ(gamePort.dependentFunctions[0].ioCount, 1);
        EXPECT_EQ(Identifier(gamePort), "Game Port");
        dlg.EnableGamePort(0);
        EXPECT_EQ(gamePort.GetDeviceId(), 0x0E63A8A1u);
        EXPECT_EQ(gamePort.dependentCount, 1);  // disabling leaves it
        EXPECT_EQ(SelectedText(dlg.m_gameportIo), "201");
        EXPECT_TRUE(dlg.m_gameportIo.IsWindowEnabled());
    });
    RunThenCancel();
}

TEST_F(DeviceSwitchingTest, SetDeviceEnabledFollowsTheFlagInBothFields) {
    WhileOpen([&] {
        CLogicalDevice& control = dlg.m_devices[2];
        dlg.SetDeviceEnabled(0, 2);
        EXPECT_EQ(control.hasDependentFunctions, 0);
        EXPECT_EQ(control.dependentFunctions[0].ioCount, 0);
        EXPECT_EQ(control.dependentCount, 2);
        dlg.SetDeviceEnabled(7, 2);  // any non-zero value is on
        EXPECT_EQ(control.hasDependentFunctions, 1);
        EXPECT_EQ(control.dependentFunctions[0].ioCount, 1);
        EXPECT_EQ(control.dependentCount, 1);
    });
    RunThenCancel();
}

TEST_F(DeviceSwitchingTest, Midi2OffBeforeItsListIsFilledChangesNoSelection) {
    // As at start on a card with MIDI-2 off: the "---" selection finds no entry.
    CCardSettings settings;
    settings.midi2On = false;
    LoadCard(StandardCard(settings));
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_midi2Irq.GetCount(), 8);
        EXPECT_EQ(dlg.m_midi2Irq.GetCurSel(), -1);
        EXPECT_EQ(Identifier(dlg.m_devices[3]), "Disabled [MIDI-2]");
    });
    RunThenCancel();
}

}  // namespace
