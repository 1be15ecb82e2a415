// OK's question, the write flow behind the progress dialog, the hidden write and what the
// user is told when a write cannot be made or does not complete.
#include "ui/WriteEepromDlg.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

constexpr const char* kQuestion =
    "Settings are changed. Do you want to write new settings to EEPROM ?";

// The box after a failed byte write, naming the backup of the card made before it.
std::string FailedWriteText(int address, const std::string& backup) {
    return "Couldn't write EEPROM at address " + std::to_string(address) +
           ". The card may now hold an incomplete image.\n\nThe EEPROM as it was before this "
           "program wrote to it is saved in " +
           backup + ". To put it back, run:\nvymcnf write \"" + backup + "\"";
}

// The bytes the card must receive: addresses 0 to n - 1 of image, in order.
std::vector<CByteWrite> WritesOf(const CCardImage& image) {
    std::vector<CByteWrite> writes;
    for (int address = 0; address < image.Length(); ++address) {
        writes.push_back({address, image.Image()[address]});
    }
    return writes;
}

class WriteEepromTest : public SetupDlgTest {
protected:
    void SetUp() override { LoadCard(StandardCard(settings)); }

    // The card as it should read after the user's picks.
    CCardImage Expected(void (*change)(CCardSettings&)) const {
        CCardSettings changed = settings;
        change(changed);
        return StandardCard(changed);
    }

    CCardSettings settings;
};

TEST_F(WriteEepromTest, OkWithNothingChangedAsksNothingAndWritesNothing) {
    host.Enter(IDD_SETUP_DIALOG);
    EXPECT_EQ(Run(), IDOK);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG}));
}

TEST_F(WriteEepromTest, OkAfterAChangeAnsweredNoWritesNothingAndAppliesNothing) {
    Pick(IDC_WSS_IO, "PnP");
    host.Answer(IDNO);
    host.onDestroyed = [&](const framework::WindowState&) {
        // The choices never reached the records.
        EXPECT_EQ(dlg.m_devices[0].dependentFunctions[0].ioPorts[0].minBase, 0x534);
        EXPECT_EQ(dlg.m_devices[0].dependentFunctions[0].ioPorts[0].maxBase, 0x534);
        EXPECT_EQ(dlg.m_imageLength, 0);
    };
    host.Enter(IDD_SETUP_DIALOG);
    EXPECT_EQ(Run(), IDOK);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text, kQuestion);
    EXPECT_EQ(host.MessageBoxes()[0].caption, "Write EEPROM");
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(host.MessageBoxes()[0].ownerId, IDD_SETUP_DIALOG);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteEepromTest, OkAnsweredYesWritesTheImageByteByByteWithAPauseAfterEach) {
    Pick(IDC_WSS_IO, "544");
    Pick(IDC_MIDI1_IRQ, "7");
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    EXPECT_EQ(Run(), IDOK);

    const CCardImage expected = Expected([](CCardSettings& s) {
        s.wssMin = s.wssMax = 0x544;
        s.midi1IrqMask = 0x0080;
    });
    const int n = expected.Length();
    EXPECT_EQ(Writes(), WritesOf(expected));
    EXPECT_EQ(dlg.m_imageLength, n);
    // Bytes from n on are neither written nor erased.
    EXPECT_EQ(card.eeprom[n], 0xFF);

    // One 20 ms pause after every byte, the last included, each right after its write. The
    // pause is the card's: it goes to the device services, where a runner can set the pace.
    ASSERT_EQ(card.sleeps.size(), static_cast<std::size_t>(n));
    ASSERT_EQ(pauses.requestsBeforeSleep.size(), static_cast<std::size_t>(n));
    // Before the first write the card is read whole twice: at start and again right before.
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(card.sleeps[i], 20u);
        EXPECT_EQ(pauses.requestsBeforeSleep[i], static_cast<std::size_t>(2 * 2048 + i + 1));
    }
    EXPECT_EQ(BoxTexts(), (Strings{kQuestion}));
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG, IDD_WRITE_EEPROM}));
}

TEST_F(WriteEepromTest, TheProgressBarRunsFromZeroToNMinusOneAgainstARangeOfN) {
    host.Answer(IDYES);
    Pick(IDC_WSS_PLAY_DMA, "3");
    host.Enter(IDD_SETUP_DIALOG);
    Run();
    const int n = dlg.m_imageLength;
    ASSERT_GT(n, 0);
    const auto& steps = host.Progress();
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(n + 1));  // the range, then each position
    EXPECT_EQ(steps[0].controlId, IDC_PROGRESS);
    EXPECT_EQ(steps[0].low, 0);
    EXPECT_EQ(steps[0].high, n);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(steps[i + 1].pos, i);
        EXPECT_EQ(steps[i + 1].high, n);
    }
    // Timer 1 at 100 ms, stopped at its first tick: the loop runs once.
    const auto& timers = host.Timers();
    ASSERT_EQ(timers.size(), 2u);
    EXPECT_TRUE(timers[0].started);
    EXPECT_EQ(timers[0].windowId, IDD_WRITE_EEPROM);
    EXPECT_EQ(timers[0].timerId, WRITE_TIMER_ID);
    EXPECT_EQ(timers[0].milliseconds, 100u);
    EXPECT_FALSE(timers[1].started);
    EXPECT_EQ(timers[1].at, timers[0].at + 100);  // nothing written before the first tick
}

TEST_F(WriteEepromTest, AnIrqClashOnOkWarnsAsksNothingAndKeepsTheDialogOpen) {
    Pick(IDC_MIDI1_IRQ, "5");  // refused as a change, but it stays selected
    Pick(IDC_WSS_IO, "PnP");   // a change all the same
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    WhileOpen([&] { EXPECT_EQ(dlg.m_settingsChanged, 1); });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(BoxTexts(),
              (Strings{"IRQ Overlap on WSS and Midi 1", "IRQ Overlap on WSS and Midi 1"}));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteEepromTest, CancelWritesNothingWhateverChanged) {
    Pick(IDC_WSS_IO, "---");
    host.Answer(IDYES);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteEepromTest, TheHiddenButtonWritesAtOnceEvenUnchangedAndWithAClash) {
    settings.midi1IrqMask = settings.midi2IrqMask = 0x0200;  // Midi-1 and Midi-2 both on 9
    SetUp();
    Click(IDC_BUTTON1);
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_settingsChanged, 0);
        EXPECT_EQ(dlg.m_writeComplete, 1);
    });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(Writes(), WritesOf(StandardCard(settings)));  // the card rewritten as it was
}

TEST_F(WriteEepromTest, AfterTheHiddenWriteOkStillAsksAndWritesAgain) {
    Pick(IDC_SBPRO_IO, "260");
    Click(IDC_BUTTON1);
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    EXPECT_EQ(Run(), IDOK);
    const auto expected =
        WritesOf(Expected([](CCardSettings& s) { s.sbProMin = s.sbProMax = 0x260; }));
    std::vector<CByteWrite> twice = expected;
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(Writes(), twice);
    EXPECT_EQ(BoxTexts(), (Strings{kQuestion}));
}

TEST_F(WriteEepromTest, AFailedByteIsReportedAfterTheLoopAndTheDialogStaysOpen) {
    card.FailWriteAt(100);
    Pick(IDC_WSS_IO, "554");
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_firstFailedWrite, 100);
        EXPECT_EQ(dlg.m_bytesSent, dlg.m_imageLength);  // the loop went on to the end
        EXPECT_EQ(dlg.m_writeComplete, 0);
    });
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);  // OK tries again: it asks again
    EXPECT_EQ(RunThenCancel(), IDCANCEL);

    // Each write saved its own backup, and its box says where.
    const std::vector<std::string> saved = backups.Files();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(BoxTexts(), (Strings{kQuestion, FailedWriteText(100, saved[0]), kQuestion,
                                   FailedWriteText(100, saved[1])}));
    EXPECT_EQ(host.MessageBoxes()[1].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_EQ(host.MessageBoxes()[1].caption, "VYM Card Setup");
    const int n = dlg.m_imageLength;
    EXPECT_EQ(Writes().size(), static_cast<std::size_t>(2 * n));
    EXPECT_EQ(Writes()[n - 1].address, n - 1);
}

TEST_F(WriteEepromTest, TheHiddenWriteReportsAFailedByteToo) {
    card.FailWriteAt(0);
    card.FailWriteAt(7);
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    ASSERT_EQ(backups.Files().size(), 1u);
    EXPECT_EQ(BoxTexts(), (Strings{FailedWriteText(0, backups.Files()[0])}));
}

TEST_F(WriteEepromTest, NothingIsWrittenOverAPartlyReadCard) {
    card.FailReadAt(2047);
    Pick(IDC_WSS_IO, "PnP");
    Click(IDC_BUTTON1);
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    WhileOpen([&] {
        // Refused before anything was applied or built.
        EXPECT_EQ(dlg.m_devices[0].dependentFunctions[0].ioPorts[0].maxBase, 0x534);
        EXPECT_EQ(dlg.m_imageLength, 0);
    });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    const std::string refusal = "Couldn't read the whole EEPROM, so nothing was written.";
    EXPECT_EQ(BoxTexts(), (Strings{refusal, kQuestion, refusal}));
    EXPECT_EQ(host.MessageBoxes()[0].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG}));
}

TEST_F(WriteEepromTest, NothingIsWrittenOverACardWithFewerThanSixDevices) {
    CCardImage image;
    image.Header().Device(0x0E63A801, "Game Port").StartDependent().Io(0x201, 0x201, 1, 1);
    LoadCard(image.EndDependent().EndTag());
    Click(IDC_BUTTON1);
    Pick(IDC_GAMEPORT_IO, "---");
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    const std::string refusal =
        "Couldn't find six logical devices in the EEPROM, so nothing was written.";
    const std::string warning =
        "The EEPROM holds only 1 logical device where the card has six, so the settings can be "
        "looked at but not written. \"vymcnf info\" shows what the EEPROM holds.";
    EXPECT_EQ(BoxTexts(), (Strings{warning, refusal, kQuestion, refusal}));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteEepromTest, NothingIsWrittenWhenNoDeviceWasFound) {
    CEepromBytes blank;
    blank.fill(0);
    LoadCard(blank);
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(
        BoxTexts(),
        (Strings{"Couldn't find Logical device ID",
                 "Couldn't find six logical devices in the EEPROM, so nothing was written."}));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteEepromTest, AnImageTheWriterRefusesIsNotWritten) {
    CEepromBytes bytes = std::to_array(StandardCard(settings).Image());
    // The Game Port's identifier claims 200 characters: more than a record can hold.
    const int gamePort = 36 + 15 + 36;
    ASSERT_EQ(bytes[gamePort], 0x15);
    bytes[gamePort + 7] = 200;
    LoadCard(bytes);
    Click(IDC_BUTTON1);
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(BoxTexts(), (Strings{"Couldn't build the EEPROM image: a device identifier or the "
                                   "image is too large, so nothing was written."}));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(host.DialogsCreated(), (std::vector<int>{IDD_SETUP_DIALOG}));
}

TEST_F(WriteEepromTest, AProgressDialogClosedBeforeItsFirstTickLeavesTheSetupDialogOpen) {
    Pick(IDC_WSS_IO, "PnP");
    host.Answer(IDYES);
    host.Enter(IDD_SETUP_DIALOG);
    host.Escape(IDD_WRITE_EEPROM);  // within the first 100 ms
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_bytesSent, 0);
        EXPECT_EQ(dlg.m_writeComplete, 0);
    });
    EXPECT_EQ(RunThenCancel(), IDCANCEL);
    EXPECT_EQ(BoxTexts(),
              (Strings{kQuestion, "Writing was stopped before it began, so nothing was written."}));
    EXPECT_EQ(host.MessageBoxes()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(WriteEepromTest, WriteImageByteSendsOnlyBytesOfTheBuiltImage) {
    WhileOpen([&] {
        dlg.m_imageLength = 2;
        dlg.m_writeImage[0] = 0xAB;
        dlg.m_writeImage[1] = 0xCD;
        dlg.WriteImageByte(-1);
        dlg.WriteImageByte(2);
        dlg.WriteImageByte(1);
        dlg.WriteImageByte(0);
    });
    RunThenCancel();
    EXPECT_EQ(Writes(), (std::vector<CByteWrite>{{1, 0xCD}, {0, 0xAB}}));
    EXPECT_EQ(card.sleeps, (std::vector<DWORD>{20, 20}));
    EXPECT_EQ(pauses.requestsBeforeSleep, (std::vector<std::size_t>{2048 + 1, 2048 + 2}));
}

}  // namespace
