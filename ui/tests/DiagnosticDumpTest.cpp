// The hidden dump: the first 500 EEPROM bytes to "c:\tt.bin" and each device's resources.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

using Strings = std::vector<std::string>;

// A card whose first device starts at offset 39, where the dump looks first.
CCardImage DumpCard(const CCardSettings& settings = {}) {
    CCardImage standard = StandardCard(settings);
    CCardImage card;
    card.Header(39);
    std::vector<std::uint8_t> rest(std::begin(standard.Image()) + 36,
                                   std::begin(standard.Image()) + standard.Length() - 2);
    for (std::uint8_t byte : rest) {
        card.Bytes({byte});
    }
    return card.EndTag();
}

// Elsewhere drive C is the folder VYMCNF_DRIVE_C names, so each test gets a fresh one. On
// Windows the dump goes to the real "c:\tt.bin" (the test program needs the right to write
// there); a file already at that place is kept in the temporary folder meanwhile and put back.
class DiagnosticDumpTest : public SetupDlgTest {
protected:
    void SetUp() override {
        m_temporary = std::make_unique<CTemporaryFolder>("vym-dump-");
        m_folder = m_temporary->Folder();
        ASSERT_FALSE(m_folder.empty());
#ifdef _WIN32
        std::error_code error;
        if (std::filesystem::exists(DumpPath(), error)) {
            ASSERT_TRUE(std::filesystem::copy_file(DumpPath(), SavedPath(), error)) << DumpPath();
            ASSERT_TRUE(std::filesystem::remove(DumpPath(), error)) << DumpPath();
            m_saved = true;
        }
#else
        SetProcessVariable("VYMCNF_DRIVE_C", m_folder.c_str());
#endif
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove(DumpPath(), error);  // the dump, or what stood in its way
#ifdef _WIN32
        if (m_saved) {
            EXPECT_TRUE(std::filesystem::copy_file(SavedPath(), DumpPath(), error)) << DumpPath();
        }
#else
        RemoveProcessVariable("VYMCNF_DRIVE_C");
#endif
        m_temporary.reset();
    }

#ifdef _WIN32
    std::string DumpPath() const {
        return "c:\\tt.bin";
    }
    std::string SavedPath() const {
        return m_folder + "\\saved-tt.bin";
    }
#else
    std::string DumpPath() const {
        return m_folder + "/tt.bin";
    }
#endif
    std::vector<std::uint8_t> DumpFile() const {
        return FileBytes(DumpPath());
    }
    Strings Captions() const {
        Strings captions;
        for (const auto& box : host.MessageBoxes()) {
            captions.push_back(box.caption);
        }
        return captions;
    }

    std::unique_ptr<CTemporaryFolder> m_temporary;
    std::string m_folder;
    bool m_saved = false;
};

TEST_F(DiagnosticDumpTest, WritesTheFirst500BytesAndListsSixDevices) {
    LoadCard(DumpCard());
    for (int i = 600; i < 2048; ++i) {
        card.eeprom[i] = static_cast<std::uint8_t>(i);  // beyond the dump
    }
    Click(IDC_READ_PORT);
    RunThenCancel();

    const std::vector<std::uint8_t> file = DumpFile();
    ASSERT_EQ(file.size(), 500u);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), card.eeprom));
    ASSERT_EQ(host.files.size(), 1u);
    EXPECT_EQ(host.files[0].path, DumpPath());
    EXPECT_EQ(host.files[0].size, 500);

    EXPECT_EQ(Captions(),
              (Strings{"Device 1", "Device 2", "Device 3", "Device 4", "Device 5", "Device 6"}));
    EXPECT_EQ(BoxTexts(),
              (Strings{
                  "Port 0, Start: 534, End: 534\n"
                  "Port 1, Start: 388, End: 388\n"
                  "Port 2, Start: 220, End: 220\n"
                  "\n"
                  "DMA 0, Channel: 2\n"
                  "DMA 1, Channel: 1\n"
                  "\n"
                  "Interrupt 0, InterruptMask: 20\n"
                  "\n",
                  "Port 0, Start: 201, End: 201\n\n\n\n",
                  "Port 0, Start: 100, End: 608\n\n\n\n",
                  "Port 0, Start: 300, End: 300\n\n\nInterrupt 0, InterruptMask: 800\n\n",
                  "Port 0, Start: 330, End: 330\n\n\nInterrupt 0, InterruptMask: 200\n\n",
                  "Port 0, Start: 308, End: 308\n\n\n\n",
              }));
    for (const auto& box : host.MessageBoxes()) {
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(box.ownerId, IDD_SETUP_DIALOG);
    }
    // 2048 reads at start, then 500 for the dump, addresses 0 upwards.
    ASSERT_EQ(card.requests.size(), 2548u);
    EXPECT_EQ(card.requests[2048].code, IOCTL_CNF_READ_BYTE);
    EXPECT_EQ(card.requests[2547].input[0] | (card.requests[2547].input[1] << 8), 499);
}

TEST_F(DiagnosticDumpTest, TheExampleDeviceGivesSevenLines) {
    CCardImage card39;
    card39.Header(39)
        .Device(0x0E63A800, "Codec")
        .StartDependent()
        .Io(0x530, 0x530, 4, 4)
        .Dma(0x02)
        .Dma(0x01)
        .Irq(0x0400)
        .EndDependent();
    for (int k = 1; k < 6; ++k) {
        card39.Device(0x0E63A800 + k, "Other").StartDependent().Irq(0x0800).EndDependent();
    }
    LoadCard(card39.EndTag());
    Click(IDC_READ_PORT);
    RunThenCancel();
    ASSERT_EQ(host.MessageBoxes().size(), 6u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "Port 0, Start: 530, End: 530\n\nDMA 0, Channel: 2\nDMA 1, Channel: 1\n\n"
              "Interrupt 0, InterruptMask: 400\n\n");
    // An IRQ only: not called disabled.
    EXPECT_EQ(host.MessageBoxes()[1].text, "\n\nInterrupt 0, InterruptMask: 800\n\n");
}

TEST_F(DiagnosticDumpTest, ADeviceWithoutResourcesIsCalledDisabled) {
    CCardSettings settings;
    settings.codecOn = false;
    settings.digControlOn = false;
    LoadCard(DumpCard(settings));
    Click(IDC_READ_PORT);
    RunThenCancel();
    ASSERT_EQ(host.MessageBoxes().size(), 6u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Device disabled\n");
    EXPECT_EQ(host.MessageBoxes()[0].caption, "Device 1");
}

TEST_F(DiagnosticDumpTest, ADeviceTagBefore39IsNeverTheFirstDevice) {
    LoadCard(StandardCard());  // the Codec at 36: the dump starts with the Game Port
    Click(IDC_READ_PORT);
    RunThenCancel();
    ASSERT_EQ(host.MessageBoxes().size(), 6u);
    EXPECT_EQ(host.MessageBoxes()[0].text, "Port 0, Start: 201, End: 201\n\n\n\n");
}

TEST_F(DiagnosticDumpTest, ARejectedSixthDeviceShowsNoBoxAtAll) {
    // Start-up reads six devices from offset 36. The dump starts one device later, so its
    // sixth device is what follows the last one: bytes that are no device at all.
    CCardImage standard = StandardCard();
    CCardImage card36;
    for (int i = 0; i < standard.Length() - 2; ++i) {
        card36.Bytes({standard.Image()[i]});
    }
    // An identifier string of one character, then a dependent function opening with a fixed
    // I/O descriptor (0x4B), which the parser rejects.
    card36.Bytes(
        {0x79, 0x00, 0x00, 0x00, 0x00, 0x00, 0x82, 0x01, 0x00, 'x', 0x31, 0x00, 0x4B, 0x01, 0x02});
    LoadCard(card36);
    Click(IDC_READ_PORT);
    WhileOpen([&] { EXPECT_EQ(dlg.m_deviceCount, 6); });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(DumpFile().size(), 500u);  // the file was written all the same
}

TEST_F(DiagnosticDumpTest, DevicesThatDoNotFitInTheDumpShowNoBox) {
    CCardImage farCard;
    farCard.Header(450);  // the six devices run past offset 499
    CCardImage standard = StandardCard();
    for (int i = 36; i < standard.Length() - 2; ++i) {
        farCard.Bytes({standard.Image()[i]});
    }
    LoadCard(farCard.EndTag());
    Click(IDC_READ_PORT);
    WhileOpen([&] { EXPECT_EQ(dlg.m_deviceCount, 6); });
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(DumpFile().size(), 500u);
}

TEST_F(DiagnosticDumpTest, NoDeviceInTheDumpShowsNoBox) {
    CCardImage farCard;
    farCard.Header(600);
    CCardImage standard = StandardCard();
    for (int i = 36; i < standard.Length() - 2; ++i) {
        farCard.Bytes({standard.Image()[i]});
    }
    LoadCard(farCard.EndTag());
    Click(IDC_READ_PORT);
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(DiagnosticDumpTest, AFileThatCannotBeCreatedIsSkippedAndTheListingGoesOn) {
#ifdef _WIN32
    // A folder where the file should go: the file cannot be created.
    std::error_code error;
    ASSERT_TRUE(std::filesystem::create_directory(DumpPath(), error)) << DumpPath();
#else
    SetProcessVariable("VYMCNF_DRIVE_C", (m_folder + "/missing/folder").c_str());
#endif
    LoadCard(DumpCard());
    Click(IDC_READ_PORT);
    RunThenCancel();
    EXPECT_TRUE(host.files.empty());
    EXPECT_EQ(host.MessageBoxes().size(), 6u);
}

#ifndef _WIN32
// Whatever stands at the dump's name but a file of its own is left alone, and no file is told
// of: a link planted there (its target keeps its bytes), and the card's own file by that name.
TEST_F(DiagnosticDumpTest, ALinkAtTheDumpsNameIsLeftAloneAndTheListingGoesOn) {
    const std::string target = m_folder + "/notes.txt";
    std::ofstream(target) << "notes";
    std::filesystem::create_symlink(target, DumpPath());
    LoadCard(DumpCard());
    Click(IDC_READ_PORT);
    RunThenCancel();
    EXPECT_TRUE(host.files.empty());
    EXPECT_EQ(host.MessageBoxes().size(), 6u);
    EXPECT_TRUE(std::filesystem::is_symlink(DumpPath()));
    EXPECT_EQ(FileText(target), "notes");
}

TEST_F(DiagnosticDumpTest, TheCardsOwnFileAtTheDumpsNameIsLeftAlone) {
    std::ofstream(DumpPath()) << "the card";
    CScopedVariables variables;
    variables.Set("VYMCNF_EEPROM", DumpPath());
    LoadCard(DumpCard());
    Click(IDC_READ_PORT);
    RunThenCancel();
    EXPECT_TRUE(host.files.empty());
    EXPECT_EQ(host.MessageBoxes().size(), 6u);
    EXPECT_EQ(FileText(DumpPath()), "the card");
}
#endif

TEST_F(DiagnosticDumpTest, TheDumpChangesNothingTheDialogShowsOrWrites) {
    LoadCard(DumpCard());
    Pick(IDC_WSS_IO, "PnP");
    Pick(IDC_MIDI2_IO, "---");  // switched off in the records, on on the card
    Click(IDC_READ_PORT);
    WhileOpen([&] {
        EXPECT_EQ(dlg.m_settingsChanged, 1);
        EXPECT_EQ(SelectedText(dlg.m_wssIo), "PnP");
        EXPECT_EQ(Text(dlg.m_midi2Irq), "");
        EXPECT_TRUE(std::equal(dlg.m_readImage, dlg.m_readImage + 2048, card.eeprom));
        EXPECT_EQ(dlg.m_imageLength, 0);
        EXPECT_EQ(dlg.m_devices[0].dependentCount, 2);  // as read at start, not counted again
        EXPECT_EQ(dlg.m_devices[3].hasDependentFunctions, 0);
        EXPECT_EQ(dlg.m_devices[3].GetDeviceId(), 0x0E63A8A3u);
    });
    RunThenCancel();
    EXPECT_EQ(host.MessageBoxes().size(), 6u);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DiagnosticDumpTest, AWriteAfterTheDumpBuildsOnTheDialogsRecords) {
    // The first device at 38: the dump lists the card from its second device on.
    LoadCard(FactoryImage());
    std::size_t imageEnd = FactoryImage().size();
    while (FactoryImage()[imageEnd - 1] == 0xFF) {
        card.eeprom[--imageEnd] = 0x00;  // a cleared rather than an erased tail
    }
    Click(IDC_READ_PORT);
    Click(IDC_BUTTON1);
    RunThenCancel();
    ASSERT_EQ(host.MessageBoxes().size(), 6u);  // the listing, and no complaint after it
    const std::vector<CByteWrite> writes = Writes();
    ASSERT_EQ(writes.size(), imageEnd);  // the factory image, rebuilt as it was
    for (const CByteWrite& write : writes) {
        EXPECT_EQ(write.value, FactoryImage()[write.address]) << write.address;
    }
}

TEST_F(DiagnosticDumpTest, FailedReadsAreNotReportedAndLeaveZeros) {
    LoadCard(DumpCard());
    Click(IDC_READ_PORT);
    WhileOpen([&] { card.FailReadAt(5); });  // only the dump's read fails, not the start's
    Click(IDC_READ_PORT);
    RunThenCancel();
    const std::vector<std::uint8_t> file = DumpFile();
    ASSERT_EQ(file.size(), 500u);
    EXPECT_EQ(file[5], 0x00);
    EXPECT_EQ(file[4], card.eeprom[4]);
    EXPECT_EQ(host.MessageBoxes().size(), 12u);  // two listings, no complaint
}

}  // namespace
