// The twelve choices carried into the records just before the image is built.
#include <array>
#include <initializer_list>

#include "ui/tests/SetupDlgFixture.h"

namespace {

using Bytes8 = std::array<std::uint8_t, 8>;

class ApplyChoicesTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(StandardCard(settings)); }

    CDependentFunction& Function(int slot) { return dlg.m_devices[slot].dependentFunctions[0]; }
    // The bytes the writer emitted at offset, from the last image built.
    std::vector<std::uint8_t> Written(int offset, int count) const {
        return {dlg.m_writeImage + offset, dlg.m_writeImage + offset + count};
    }

    // The user picks entry in each control; applying the choices then leaves the I/O
    // descriptor ioPorts[port] of the device in slot with the bytes expected.
    struct CIoPick {
        int control;
        const char* entry;
        int slot;
        int port;
        Bytes8 expected;
    };
    void ExpectIoPicksApplied(std::initializer_list<CIoPick> picks) {
        for (const CIoPick& pick : picks) {
            Pick(pick.control, pick.entry);
        }
        WhileOpen([&] {
            dlg.ApplyChoices();
            for (const CIoPick& pick : picks) {
                EXPECT_EQ(Function(pick.slot).ioPorts[pick.port].Bytes(), pick.expected)
                    << "control " << pick.control << ", " << pick.entry;
            }
        });
        RunThenCancel();
    }

    CCardSettings settings;
};

// Offsets in the image of a standard card (header of 36 bytes).
constexpr int kCodecFunction = 36 + 15;         // 0x31 of the Codec
constexpr int kWssPort = kCodecFunction + 11;   // after two DMA and one IRQ descriptor
constexpr int kGamePort = kCodecFunction + 36;  // the Game Port's ID descriptor

TEST_F(ApplyChoicesTest, WssPnpStoresTheRangeAndTheWriterEmitsIt) {
    Pick(IDC_WSS_IO, "PnP");
    Click(IDC_BUTTON1);
    WhileOpen([&] {
        const CIoPortDescriptor& port = Function(0).ioPorts[0];
        EXPECT_EQ(port.minBase, 0x104);
        EXPECT_EQ(port.maxBase, 0x604);
        EXPECT_EQ(port.alignment, 4);
        EXPECT_EQ(port.length, 4);
        EXPECT_EQ(Written(kWssPort, 8),
                  (std::vector<std::uint8_t>{0x47, 0x01, 0x04, 0x01, 0x04, 0x06, 0x04, 0x04}));
    });
    RunThenCancel();
}

TEST_F(ApplyChoicesTest, WssDashKeepsTheBasesAndSetsAlignmentAndLength) {
    WhileOpen([&] {
        Function(0).ioPorts[0].alignment = 1;
        Function(0).ioPorts[0].length = 16;
    });
    Pick(IDC_WSS_IO, "---");
    WhileOpen([&] {
        dlg.ApplyChoices();
        const CIoPortDescriptor& port = Function(0).ioPorts[0];
        EXPECT_EQ(port.minBase, 0x534);
        EXPECT_EQ(port.maxBase, 0x534);
        EXPECT_EQ(port.alignment, 4);
        EXPECT_EQ(port.length, 4);
        EXPECT_EQ(dlg.BuildImage(), 1);
        // A disabled Codec leaves only its ID and identifier: the Game Port follows at once.
        EXPECT_EQ(dlg.m_writeImage[36 + 6 + 3 + 17], 0x15);
    });
    RunThenCancel();
}

TEST_F(ApplyChoicesTest, FixedBasesGoToBothBases) {
    ExpectIoPicksApplied({
        {IDC_WSS_IO, "5F4", 0, 0, {0x47, 1, 0xF4, 5, 0xF4, 5, 4, 4}},
        {IDC_FM_IO, "388", 0, 1, {0x47, 1, 0x88, 3, 0x88, 3, 8, 4}},
        {IDC_MIDI1_IO, "310", 4, 0, {0x47, 1, 0x10, 3, 0x10, 3, 8, 2}},
        {IDC_MIDI2_IO, "360", 3, 0, {0x47, 1, 0x60, 3, 0x60, 3, 8, 2}},
        {IDC_DIG_CONTROL_IO, "338", 5, 0, {0x47, 1, 0x38, 3, 0x38, 3, 8, 8}},
    });
}

TEST_F(ApplyChoicesTest, PnpRangesOfEveryIoList) {
    ExpectIoPicksApplied({
        {IDC_FM_IO, "PnP", 0, 1, {0x47, 1, 0, 1, 0xF8, 3, 8, 4}},
        {IDC_SBPRO_IO, "PnP", 0, 2, {0x47, 1, 0, 1, 0xF0, 3, 0x20, 0x10}},
        {IDC_MIDI1_IO, "PnP", 4, 0, {0x47, 1, 0, 1, 0xF8, 3, 8, 2}},
        {IDC_MIDI2_IO, "PnP", 3, 0, {0x47, 1, 0, 1, 0xF8, 3, 8, 2}},
        {IDC_DIG_CONTROL_IO, "PnP", 5, 0, {0x47, 1, 0, 1, 8, 6, 8, 8}},
    });
}

TEST_F(ApplyChoicesTest, DmaChoicesSetMaskAndFlags) {
    WhileOpen([&] {
        Function(0).dmaChannels[0].flags = 0x3A;  // whatever the card held
        Function(0).dmaChannels[1].flags = 0x00;
    });
    Pick(IDC_WSS_PLAY_DMA, "1");
    Pick(IDC_WSS_RECORD_DMA, "PnP");
    WhileOpen([&] {
        dlg.ApplyChoices();
        EXPECT_EQ(Function(0).dmaChannels[0].mask, 0x02);
        EXPECT_EQ(Function(0).dmaChannels[0].flags, 0x28);
        EXPECT_EQ(Function(0).dmaChannels[1].mask, 0x0B);
        EXPECT_EQ(Function(0).dmaChannels[1].flags, 0x28);
    });
    RunThenCancel();
}

TEST_F(ApplyChoicesTest, IrqChoicesSetLinesOrThePnpMask) {
    Pick(IDC_WSS_IRQ, "PnP");
    Pick(IDC_MIDI1_IRQ, "7");
    Pick(IDC_MIDI2_IRQ, "PnP");
    WhileOpen([&] {
        dlg.ApplyChoices();
        EXPECT_EQ(Function(0).irqs[0].Bytes(), (std::array<std::uint8_t, 3>{0x22, 0xA0, 0x9A}));
        EXPECT_EQ(Function(4).irqs[0].mask, 0x0080);
        EXPECT_EQ(Function(3).irqs[0].mask, 0x9AA0);
    });
    Pick(IDC_WSS_IRQ, "5");
    WhileOpen([&] {
        dlg.ApplyChoices();
        EXPECT_EQ(Function(0).irqs[0].Bytes(), (std::array<std::uint8_t, 3>{0x22, 0x20, 0x00}));
    });
    RunThenCancel();
}

TEST_F(ApplyChoicesTest, Midi2IrqDashStoresIrq0ButTheWriterLeavesItOut) {
    Pick(IDC_MIDI2_IRQ, "---");
    Click(IDC_BUTTON1);
    WhileOpen([&] {
        EXPECT_EQ(Function(3).irqs[0].mask, 0x0001);
        EXPECT_EQ(Function(3).irqCount, 0);
    });
    RunThenCancel();
    CCardSettings written = settings;
    written.midi2HasIrq = false;
    const CCardImage expected = StandardCard(written);
    ASSERT_EQ(dlg.m_imageLength, expected.Length());
    EXPECT_TRUE(std::equal(dlg.m_writeImage, dlg.m_writeImage + expected.Length(),
                           std::begin(expected.Image())));
}

TEST_F(ApplyChoicesTest, Midi2SwitchedOffAndOnIsWrittenWithoutAnIrq) {
    Pick(IDC_MIDI2_IO, "---");
    Pick(IDC_MIDI2_IO, "300");
    Click(IDC_BUTTON1);
    RunThenCancel();
    CCardSettings written = settings;
    written.midi2HasIrq = false;
    const CCardImage expected = StandardCard(written);
    ASSERT_EQ(dlg.m_imageLength, expected.Length());
    EXPECT_TRUE(std::equal(dlg.m_writeImage, dlg.m_writeImage + expected.Length(),
                           std::begin(expected.Image())));
}

TEST_F(ApplyChoicesTest, GameportStoresItsOneBaseOrKeepsTheBases) {
    WhileOpen([&] {
        Function(1).ioPorts[0].alignment = 0;
        Function(1).ioPorts[0].length = 0;
        Function(1).ioPorts[0].SetMinBase(0x200);
    });
    Pick(IDC_GAMEPORT_IO, "201");
    WhileOpen([&] {
        dlg.ApplyChoices();
        EXPECT_EQ(Function(1).ioPorts[0].Bytes(), (Bytes8{0x47, 1, 1, 2, 1, 2, 1, 1}));
        Function(1).ioPorts[0].SetMinBase(0x200);
        Function(1).ioPorts[0].alignment = 0;
    });
    Pick(IDC_GAMEPORT_IO, "---");
    WhileOpen([&] {
        dlg.ApplyChoices();
        EXPECT_EQ(Function(1).ioPorts[0].Bytes(), (Bytes8{0x47, 1, 0, 2, 1, 2, 1, 1}));
        EXPECT_EQ(dlg.BuildImage(), 1);
        // The Game Port off: its ID and identifier, then the Control device.
        EXPECT_EQ(dlg.m_writeImage[kGamePort + 6 + 3 + 21], 0x15);
    });
    RunThenCancel();
}

TEST_F(ApplyChoicesTest, ListsWithoutASelectionLeaveTheirDescriptorsAlone) {
    settings.digControlMin = settings.digControlMax = 0x300;  // not in its list: no selection
    SetUp();
    WhileOpen([&] {
        Function(5).ioPorts[0].alignment = 1;
        Function(5).ioPorts[0].length = 3;
    });
    Pick(IDC_WSS_IO, "---");  // the Codec's five lists lose their selection
    WhileOpen([&] {
        CDependentFunction before = Function(0);
        dlg.ApplyChoices();
        EXPECT_EQ(Function(5).ioPorts[0].Bytes(), (Bytes8{0x47, 1, 0, 3, 0, 3, 1, 3}));
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(Function(0).ioPorts[i].Bytes(), before.ioPorts[i].Bytes());
        }
        EXPECT_EQ(Function(0).irqs[0].Bytes(), before.irqs[0].Bytes());
        EXPECT_EQ(Function(0).dmaChannels[0].Bytes(), before.dmaChannels[0].Bytes());
        EXPECT_EQ(Function(0).dmaChannels[1].Bytes(), before.dmaChannels[1].Bytes());
    });
    RunThenCancel();
}

TEST_F(ApplyChoicesTest, AnUnconfiguredControlDeviceIsRepairedOnce) {
    settings.controlId = 0x0E63A8AA;
    settings.controlOn = false;
    SetUp();
    Click(IDC_BUTTON1);
    WhileOpen([&] {
        const CLogicalDevice& control = dlg.m_devices[2];
        EXPECT_EQ(control.GetDeviceId(), 0x0E63A810u);
        EXPECT_EQ(Identifier(control), "Control");
        EXPECT_EQ(control.hasDependentFunctions, 1);
        EXPECT_EQ(control.dependentCount, 1);
        EXPECT_EQ(Function(2).ioCount, 1);
        EXPECT_EQ(Function(2).ioPorts[0].Bytes(), (Bytes8{0x47, 1, 0, 1, 8, 6, 8, 8}));

        // Where the Control device's function starts: after the Game Port and its ID and name.
        const int control0 = kGamePort + 6 + 3 + 10 + 11;
        EXPECT_EQ(dlg.m_writeImage[control0], 0x15);
        EXPECT_EQ(Written(control0 + 6 + 3 + 8, 11),
                  (std::vector<std::uint8_t>{0x31, 0x00, 0x47, 0x01, 0x00, 0x01, 0x08, 0x06, 0x08,
                                             0x08, 0x38}));

        // A second run finds a repaired device and changes nothing.
        CLogicalDevice before = control;
        dlg.ApplyChoices();
        EXPECT_EQ(control.dependentCount, before.dependentCount);
        EXPECT_EQ(Function(2).ioPorts[0].Bytes(), before.dependentFunctions[0].ioPorts[0].Bytes());
    });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(ApplyChoicesTest, AControlDeviceWithAnyOtherIdIsLeftAsRead) {
    settings.controlId = 0x0E63A8AB;
    settings.controlMin = 0x200;
    settings.controlMax = 0x200;
    SetUp();
    Click(IDC_BUTTON1);
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_devices[2].GetDeviceId(), 0x0E63A8ABu);
        EXPECT_EQ(Function(2).ioPorts[0].Bytes(), (Bytes8{0x47, 1, 0, 2, 0, 2, 8, 8}));
    });
    RunThenCancel();
    EXPECT_EQ(Writes().size(), static_cast<std::size_t>(StandardCard(settings).Length()));
}

}  // namespace
