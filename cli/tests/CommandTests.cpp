// The commands on a card double: what reaches the card, what is saved, what the user is told
// and the exit status, for the good road and for every way it can go wrong.
#include <csignal>
#include <nlohmann/json.hpp>

#include "cli/tests/CliFixture.h"
#include "driver/CardIdentity.h"
#include "driver/WriteSignals.h"

namespace {

using ByteWrites = std::vector<std::pair<int, int>>;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The factory card with the WSS I/O moved from 0x534 to 0x544 (two bytes) and the checksum
// kept right (one more).
CImageBytes WssAt544() {
    CImageBytes image = FactoryBytes();
    image[66] = 0x44;  // minBase low byte
    image[68] = 0x44;  // maxBase low byte
    FixChecksum(image, 246);
    return image;
}

// Asks for a stop when a given number of bytes is on the card, as Ctrl-C would.
class CInterruptAfter final : public CWriteListener {
public:
    explicit CInterruptAfter(int bytes) : m_bytes(bytes) {}
    void BytesWritten(int written, int /*total*/) override {
        if (written == m_bytes) {
            NoteWriteSignal(SIGINT);
        }
    }

private:
    int m_bytes;
};

// Notes which steps ran, and whether a backup existed when the first byte was written.
class CPhaseLog final : public CWriteListener {
public:
    std::vector<WritePhase> phases;
    int finished = 0;
    void PhaseStarted(WritePhase phase) override { phases.push_back(phase); }
    void Finished() override { ++finished; }
};

TEST_F(VymcnfTest, WriteSendsOnlyTheBytesThatDifferPausingAfterEach) {
    const CImageBytes image = WssAt544();
    const std::string file = WriteFile("wss544.bin", image);
    CPhaseLog log;
    ASSERT_EQ(Run({"write", file}, &log), 0) << err;
    EXPECT_EQ(Writes(), (ByteWrites{{66, 0x44}, {68, 0x44}, {247, image[247]}}));
    EXPECT_EQ(card.sleeps, (std::vector<DWORD>{20, 20, 20}));
    EXPECT_EQ(Card(), image);
    // The card read once before and once after.
    EXPECT_EQ(Reads(), 2 * 2048);
    EXPECT_EQ(log.phases, (std::vector<WritePhase>{WritePhase::Read, WritePhase::Backup,
                                                   WritePhase::Write, WritePhase::Verify}));
    EXPECT_EQ(log.finished, 1);
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(FileBytes(Backups()[0]), FactoryBytes());
    EXPECT_EQ(out, "Saved the card as it was to " + Backups()[0] +
                       "\nWrote 3 bytes to the card and read it back: the card holds " + file +
                       ".\n");
    EXPECT_EQ(err, "");
}

TEST_F(VymcnfTest, WriteAllSendsEveryByte) {
    const std::string file = WriteFile("factory.bin", FactoryBytes());
    ASSERT_EQ(Run({"write", "--all", file}), 0) << err;
    ASSERT_EQ(Writes().size(), 2048u);
    for (int address = 0; address < 2048; ++address) {
        EXPECT_EQ(Writes()[static_cast<std::size_t>(address)].first, address);
    }
    EXPECT_EQ(card.sleeps.size(), 2048u);
    EXPECT_EQ(Backups().size(), 1u);
}

TEST_F(VymcnfTest, WriteOfWhatTheCardHoldsWritesAndSavesNothing) {
    const std::string file = WriteFile("factory.bin", FactoryBytes());
    ASSERT_EQ(Run({"write", file}), 0) << err;
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Backups().empty());
    EXPECT_EQ(out, "The card holds " + file + " already: nothing to write.\n");
}

TEST_F(VymcnfTest, WriteRefusesAFileOfAnotherSizeWithoutTouchingTheCard) {
    CImageBytes shortImage = FactoryBytes();
    shortImage.resize(2047);
    const std::string file = WriteFile("short.bin", shortImage);
    EXPECT_EQ(Run({"write", "--force", file}), 1);
    EXPECT_EQ(err, "vymcnf: " + file +
                       " is 2047 bytes long; an EEPROM image is exactly 2048 bytes. Nothing was "
                       "written.\n");
    EXPECT_EQ(card.openCount, 0);
    CImageBytes longImage = FactoryBytes();
    longImage.resize(4096, 0);
    EXPECT_EQ(Run({"write", WriteFile("long.bin", longImage)}), 1);
    EXPECT_TRUE(Contains(err, "is 4096 bytes long")) << err;
    EXPECT_EQ(Run({"write", PathIn("missing.bin")}), 1);
    EXPECT_TRUE(Contains(err, "couldn't read " + PathIn("missing.bin") + ": ")) << err;
    EXPECT_EQ(card.openCount, 0);
    EXPECT_TRUE(Backups().empty());
}

TEST_F(VymcnfTest, WriteRefusesAnImageWithoutSixDevicesUnlessForced) {
    CImageBytes blank(2048, 0xFF);
    const std::string file = WriteFile("blank.bin", blank);
    EXPECT_EQ(Run({"write", file}), 1);
    EXPECT_EQ(err, "vymcnf: " + file +
                       " does not look like an image of this card: the image reader finds no "
                       "logical device. Nothing was written; --force writes it all the same.\n");
    EXPECT_EQ(card.openCount, 0);
    // Five devices: the factory card without its Digital Control (offsets 210 to 245).
    CImageBytes five = Splice(FactoryBytes(), 210, 36);
    FixChecksum(five, 210);
    EXPECT_EQ(Run({"write", WriteFile("five.bin", five)}), 1);
    EXPECT_TRUE(Contains(err, "finds 5 logical devices.")) << err;

    ASSERT_EQ(Run({"write", "--force", file}), 0) << err;
    EXPECT_EQ(Card(), blank);
    EXPECT_EQ(FileBytes(Backups()[0]), FactoryBytes());
}

TEST_F(VymcnfTest, ACellThatKeepsAnotherValueFailsTheCheckAndNamesTheBackup) {
    card.StoreOtherValueAt(68, 0x00);
    const std::string file = WriteFile("wss544.bin", WssAt544());
    EXPECT_EQ(Run({"write", file}), 1);
    ASSERT_EQ(Backups().size(), 1u);
    const std::string backup = Backups()[0];
    EXPECT_EQ(err, "vymcnf: the card does not hold " + file +
                       " after writing: 1 byte differs, the first at address 0x044. The card "
                       "may now hold a damaged image. The card as it was before is saved in " +
                       backup + "; to put it back, run: vymcnf write \"" + backup + "\"\n");
    EXPECT_EQ(Writes().size(), 3u);
}

TEST_F(VymcnfTest, AFailedByteWriteStopsTheWriteAndSaysWhatWasWritten) {
    card.FailWriteAt(68, ERROR_WRITE_FAULT);
    const std::string file = WriteFile("wss544.bin", WssAt544());
    EXPECT_EQ(Run({"write", file}), 1);
    EXPECT_EQ(Writes(), (ByteWrites{{66, 0x44}, {68, 0x44}}));  // nothing after the failure
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Contains(err,
                         "vymcnf: couldn't write the card at address 0x044: The system "
                         "cannot write to the specified device. Only 1 of the 3 bytes "
                         "were written (those to write up to address 0x042), so the card "
                         "may now hold an incomplete image. The card as it was before is "
                         "saved in " +
                             Backups()[0]))
        << err;
    EXPECT_EQ(Reads(), 2048);  // no check of a write known to be incomplete
}

TEST_F(VymcnfTest, CtrlCFinishesTheByteInFlightAndStops) {
    CImageBytes image = FactoryBytes();
    for (int address = 300; address < 310; ++address) {
        image[static_cast<std::size_t>(address)] = 0x00;  // erased bytes given a value
    }
    const std::string file = WriteFile("ten.bin", image);
    CInterruptAfter stop(4);
    EXPECT_EQ(Run({"write", file}, &stop), 1);
    EXPECT_EQ(Writes(), (ByteWrites{{300, 0}, {301, 0}, {302, 0}, {303, 0}}));
    EXPECT_EQ(card.sleeps.size(), 4u);  // the fourth byte had its pause too
    ASSERT_EQ(Backups().size(), 1u);
    const std::string backup = Backups()[0];
    EXPECT_EQ(err,
              "vymcnf: stopped. Only 4 of the 10 bytes were written (those to write up to "
              "address 0x12F), so the card may now hold an incomplete image. The card as it "
              "was before is saved in " +
                  backup + "; to put it back, run: vymcnf write \"" + backup + "\"\n");
}

TEST_F(VymcnfTest, CtrlCBeforeTheFirstByteWritesNothing) {
    class CStopAtBackup final : public CWriteListener {
    public:
        void PhaseStarted(WritePhase phase) override {
            if (phase == WritePhase::Backup) {
                NoteWriteSignal(SIGINT);
            }
        }
    } stopAtBackup;
    EXPECT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}, &stopAtBackup), 1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Contains(err, "vymcnf: stopped. Nothing was written; the card is as it was."))
        << err;
}

TEST_F(VymcnfTest, ACtrlCFromBeforeTheWriteIsForgotten) {
    NoteWriteSignal(SIGINT);
    EXPECT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}), 0) << err;
    EXPECT_EQ(Writes().size(), 3u);
}

#ifndef _WIN32
// A hang-up or a termination request in the middle of a write is taken as Ctrl-C is: the byte
// in flight is finished, and the user learns what is on the card and where the backup is. (On
// Windows these are no signals a console program is sent.)
TEST_F(VymcnfTest, HangUpAndTerminationStopBetweenBytesAsCtrlCDoes) {
    for (const int signalNumber : {SIGHUP, SIGTERM}) {
        LoadCard(FactoryBytes());
        class CSignalAfterTwo final : public CWriteListener {
        public:
            explicit CSignalAfterTwo(int signalNumber) : m_signal(signalNumber) {}
            void BytesWritten(int written, int /*total*/) override {
                if (written == 2) {
                    std::raise(m_signal);  // the real signal, through the handler in place
                }
            }

        private:
            int m_signal;
        } stop(signalNumber);
        const std::size_t before = Writes().size();
        EXPECT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}, &stop), 1) << signalNumber;
        const ByteWrites writes = Writes();
        EXPECT_EQ(ByteWrites(writes.begin() + static_cast<std::ptrdiff_t>(before), writes.end()),
                  (ByteWrites{{66, 0x44}, {68, 0x44}}))
            << signalNumber;
        EXPECT_TRUE(Contains(err, "vymcnf: stopped. Only 2 of the 3 bytes were written")) << err;
        EXPECT_TRUE(Contains(err, "vymcnf write \"" + Backups()[0] + "\"")) << err;
    }
}

#endif

// The backup's name must be out before the card changes; when the output takes nothing, the
// card is left as it was and the name goes to standard error instead.
TEST_F(VymcnfTest, AnOutputThatFailsStopsTheWriteBeforeItBegins) {
    EXPECT_EQ(RunWithFailingOutput({"write", WriteFile("wss544.bin", WssAt544())}), 1);
    EXPECT_TRUE(Writes().empty());
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Contains(err, "vymcnf: couldn't write to standard output")) << err;
    EXPECT_TRUE(Contains(
        err, ", so nothing was written. The card as it was is saved in " + Backups()[0] + "\n"))
        << err;
#ifndef _WIN32
    EXPECT_TRUE(Contains(err, "standard output: Bad file descriptor, so")) << err;
#endif
}

TEST_F(VymcnfTest, ABackupThatCannotBeSavedStopsTheWriteBeforeItBegins) {
    WriteFile("blocker", {1});
    const std::string folder = PathIn("blocker") + "/backups";
    SetBackupFolder(folder);
    EXPECT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}), 1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Contains(err, "vymcnf: couldn't save a backup of the card in " + folder + ": "))
        << err;
    EXPECT_TRUE(Contains(err,
                         " (VYMCNF_BACKUPS names another folder for backups.) Nothing was "
                         "written.\n"))
        << err;
}

TEST_F(VymcnfTest, AMissingCardIsToldInPlainWordsNamingItsFile) {
    const std::string missing = PathIn("no-card.bin");
    NameCardFile(missing);
    card.FailOpen(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Run({"info"}), 1);
#ifdef _WIN32
    // The driver's device has a name and the system's text, no file to look at.
    EXPECT_EQ(err,
              "vymcnf: couldn't open the card: \\\\.\\VymCnf: The system cannot find the file "
              "specified.\n");
#else
    EXPECT_EQ(err, "vymcnf: couldn't open the card: " + missing + " does not exist.\n");
#endif
    EXPECT_EQ(Run({"read", PathIn("card.bin")}), 1);
    EXPECT_FALSE(std::filesystem::exists(PathIn("card.bin")));
    EXPECT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}), 1);
    EXPECT_TRUE(Contains(err, "couldn't open the card")) << err;
    EXPECT_EQ(Run({"verify", WriteFile("factory.bin", FactoryBytes())}), 1);
    EXPECT_TRUE(Backups().empty());
}

TEST_F(VymcnfTest, ReadSavesTheWholeCardAndKeepsAnExistingFileUnlessForced) {
    card.eeprom[2047] = 0x5A;
    const std::string file = PathIn("card.bin");
    ASSERT_EQ(Run({"read", file}), 0) << err;
    EXPECT_EQ(FileBytes(file), Card());
    EXPECT_EQ(out, "Saved the card's 2048 bytes to " + file + ".\n");
    card.eeprom[0] = 0x00;
    EXPECT_EQ(Run({"read", file}), 1);
    EXPECT_EQ(err,
              "vymcnf: " + file + " exists already; --force replaces it. Nothing was saved.\n");
    EXPECT_NE(FileBytes(file), Card());
    ASSERT_EQ(Run({"read", "--force", file}), 0) << err;
    EXPECT_EQ(FileBytes(file), Card());
}

TEST_F(VymcnfTest, ReadOfACardThatFailsSavesNothing) {
    card.FailReadAt(1000);
    EXPECT_EQ(Run({"read", PathIn("card.bin")}), 1);
    EXPECT_EQ(err,
              "vymcnf: couldn't read the card at address 0x3E8: The system cannot read from the "
              "specified device. Nothing was saved.\n");
    EXPECT_FALSE(std::filesystem::exists(PathIn("card.bin")));
}

TEST_F(VymcnfTest, AnImageThatCannotBeTakenOrSavedIsNamedWithWhatWasLeftUndone) {
    const std::string shortFile = WriteFile("short.bin", CImageBytes(100, 0xFF));
    const std::string tooShort =
        shortFile + " is 100 bytes long; an EEPROM image is exactly 2048 bytes.";
    const std::string output = PathIn("out.bin");
    EXPECT_EQ(Run({"convert", shortFile, output}), 1);
    EXPECT_EQ(err, "vymcnf: " + tooShort + " Nothing was saved.\n");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(Run({"write", shortFile}), 1);
    EXPECT_EQ(err, "vymcnf: " + tooShort + " Nothing was written.\n");
    // Commands that change nothing say only what is wrong with the file.
    EXPECT_EQ(Run({"verify", shortFile}), 1);
    EXPECT_EQ(err, "vymcnf: " + tooShort + "\n");
    EXPECT_EQ(Run({"info", shortFile}), 1);
    EXPECT_EQ(err, "vymcnf: " + tooShort + "\n");

    const std::string factory = WriteFile("factory.bin", FactoryBytes());
    const std::string taken = WriteFile("taken.bin", CImageBytes(2048, 0));
    EXPECT_EQ(Run({"convert", factory, taken}), 1);
    EXPECT_EQ(err,
              "vymcnf: " + taken + " exists already; --force replaces it. Nothing was saved.\n");
    EXPECT_EQ(FileBytes(taken), CImageBytes(2048, 0));
    const std::string nowhere = PathIn("no-such-folder/out.bin");
    EXPECT_EQ(Run({"convert", factory, nowhere}), 1);
    EXPECT_TRUE(err.starts_with("vymcnf: couldn't save " + nowhere + ": ")) << err;
    EXPECT_TRUE(err.ends_with(".\n") && !err.ends_with("..\n")) << err;
}

TEST_F(VymcnfTest, VerifyIsDoneOnlyWhenTheCardHoldsTheFile) {
    const std::string same = WriteFile("factory.bin", FactoryBytes());
    EXPECT_EQ(Run({"verify", same}), 0);
    EXPECT_EQ(out, "The card holds " + same + ".\n");
    const std::string other = WriteFile("wss544.bin", WssAt544());
    EXPECT_EQ(Run({"verify", other}), 1);
    EXPECT_EQ(err, "vymcnf: the card differs from " + other +
                       ": 3 bytes differ, the first at address 0x042.\n");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(VymcnfTest, InfoOfTheCardAsJsonShowsIdentifiersInTheProgramsForm) {
    ASSERT_EQ(Run({"info", "--json"}), 0) << err;
    const nlohmann::json info = nlohmann::json::parse(out);
    EXPECT_EQ(info["source"], "card");
    EXPECT_EQ(info["headerLength"], 38);
    EXPECT_EQ(info["checksum"]["state"], "valid");
    ASSERT_EQ(info["devices"].size(), 6u);
    EXPECT_EQ(info["devices"][0]["id"], "0x0E63A800");
    EXPECT_EQ(info["devices"][0]["identifier"], "Codec");
    EXPECT_EQ(info["devices"][2]["dependentFunctions"][0]["io"][0]["maxBase"], 0x608);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(VymcnfTest, InfoOfAFileReadsNoCard) {
    ASSERT_EQ(Run({"info", WriteFile("factory.bin", FactoryBytes())}), 0) << err;
    EXPECT_TRUE(Contains(out, "Slot Digital Control: 0x0E63A804 \"Digital Control\" at 0x0D2"))
        << out;
    EXPECT_EQ(card.openCount, 0);
}

TEST_F(VymcnfTest, BackupsAreListedNewestFirstWithWhatInfoSays) {
    EXPECT_EQ(Run({"backups"}), 0);
    EXPECT_EQ(out, "No backups in " + BackupFolder() + ".\n");
    std::filesystem::create_directories(BackupFolder());
    WriteFile("backups/eeprom-20240101-101010.bin", FactoryBytes());
    WriteFile("backups/eeprom-20240101-101010-2.bin", WssAt544());
    WriteFile("backups/eeprom-20231231-000000.bin", {1, 2, 3});
    WriteFile("backups/notes.txt", {1});
    ASSERT_EQ(Run({"backups"}), 0) << err;
    const std::size_t newest = out.find("eeprom-20240101-101010-2.bin: logical devices 6");
    const std::size_t next = out.find("eeprom-20240101-101010.bin: logical devices 6");
    const std::size_t oldest = out.find("eeprom-20231231-000000.bin: not usable");
    EXPECT_TRUE(Contains(out, "Backups in " + BackupFolder() + ", newest first:\n")) << out;
    ASSERT_NE(newest, std::string::npos) << out;
    ASSERT_NE(next, std::string::npos) << out;
    ASSERT_NE(oldest, std::string::npos) << out;
    EXPECT_LT(newest, next);
    EXPECT_LT(next, oldest);
    EXPECT_TRUE(Contains(out,
                         "  0x0E63A800 \"Codec\": I/O 0x544, 0x388, 0x220; IRQ 5; DMA 1; "
                         "DMA 0\n"))
        << out;
    EXPECT_FALSE(Contains(out, "notes.txt"));
}

TEST_F(VymcnfTest, UsageErrorsAreStatusTwoAndTouchNothing) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(err, "vymcnf: no command given\nTry 'vymcnf --help'.\n");
    EXPECT_EQ(Run({"erase"}), 2);
    EXPECT_EQ(Run({"write"}), 2);
    EXPECT_EQ(Run({"info", "--all"}), 2);
    EXPECT_EQ(card.openCount, 0);
    EXPECT_EQ(Run({"write", "--help"}), 0);
    EXPECT_TRUE(Contains(out, "Usage: vymcnf write [--all] [--force] [--dry-run] FILE\n")) << out;
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out.rfind("vymcnf ", 0), 0u);
}

}  // namespace

namespace {

// Runs the rest of a test in folder, and goes back to where it was at the end.
class CInFolder {
public:
    explicit CInFolder(const std::string& folder) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CInFolder() { std::filesystem::current_path(m_previous); }
    CInFolder(const CInFolder&) = delete;
    CInFolder& operator=(const CInFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

// The emulated card's file names the card; on Windows the card is the driver's device.
#ifndef _WIN32
TEST_F(VymcnfTest, TheCardIsNamedByItsFile) {
    const std::string file = PathIn("my card.bin");
    NameCardFile(file);
    LoadCard(FactoryBytes());
    ASSERT_EQ(Run({"info"}), 0) << err;
    EXPECT_EQ(out.rfind("EEPROM of the card " + file + "\n", 0), 0u) << out;
    EXPECT_FALSE(Contains(out, "VymCnf")) << out;
}
#endif

TEST_F(VymcnfTest, ABackupIsFoundByItsBareNameUnlessTheCurrentFolderHoldsThatFile) {
    LoadCard(FactoryBytes());
    ASSERT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}), 0) << err;
    ASSERT_EQ(Backups().size(), 1u);
    const std::string backup = Backups()[0];
    const std::string name = std::filesystem::path(backup).filename().string();

    // From a folder without that file, the bare name is the backup: verify, info and write.
    std::filesystem::create_directory(PathIn("elsewhere"));
    CInFolder elsewhere(PathIn("elsewhere"));
    EXPECT_EQ(Run({"verify", name}), 1);
    EXPECT_TRUE(Contains(err, "the card differs from " + backup + ":")) << err;
    EXPECT_EQ(Run({"info", name}), 0) << err;
    EXPECT_EQ(out.rfind("EEPROM of " + backup + "\n", 0), 0u) << out;
    EXPECT_EQ(Run({"write", name}), 0) << err;
    EXPECT_EQ(Card(), FactoryBytes());

    // A file of that name in the current folder wins: the user named it.
    WriteFile("elsewhere/" + name, WssAt544());
    EXPECT_EQ(Run({"verify", name}), 1);
    EXPECT_TRUE(Contains(err, "the card differs from " + name + ":")) << err;
    // A name with a folder in it is never looked up elsewhere.
    EXPECT_EQ(Run({"verify", "./no/" + name}), 1);
    EXPECT_TRUE(Contains(err, "couldn't read ./no/" + name)) << err;
}

TEST_F(VymcnfTest, BackupsAreListedByTheirFullPaths) {
    LoadCard(FactoryBytes());
    ASSERT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}), 0) << err;
    ASSERT_EQ(Run({"backups"}), 0) << err;
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Contains(out, "\n" + Backups()[0] + ": logical devices 6")) << out;
}

TEST_F(VymcnfTest, AReadOnlyCardIsReadButItsWriteRefusedBeforeTheBackup) {
    const std::string file = PathIn("dump.bin");
    NameCardFile(file);
    LoadCard(FactoryBytes());
    card.readOnly = true;
    EXPECT_EQ(Run({"info"}), 0) << err;
    EXPECT_EQ(Run({"verify", WriteFile("factory.bin", FactoryBytes())}), 0) << err;
    EXPECT_EQ(Run({"read", PathIn("saved.bin")}), 0) << err;
    EXPECT_EQ(Run({"write", WriteFile("wss544.bin", WssAt544())}), 1);
    EXPECT_EQ(err, "vymcnf: the card " + CardName() +
                       " may be read but not written (it is read-only to you). Nothing was "
                       "written.\n");
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Backups().empty());
}

TEST_F(VymcnfTest, HelpGivesEachCommandItsOwnTextWithExamples) {
    for (const char* command : {"info", "read", "write", "verify", "diff", "backups", "help"}) {
        ASSERT_EQ(Run({"help", command}), 0) << command;
        const std::string viaHelp = out;
        EXPECT_EQ(viaHelp.rfind(std::string("Usage: vymcnf ") + command, 0), 0u) << viaHelp;
        EXPECT_TRUE(Contains(viaHelp, "\nExamples:\n  vymcnf ")) << viaHelp;
        if (std::string(command) != "help") {
            ASSERT_EQ(Run({command, "--help"}), 0) << command;
            EXPECT_EQ(out, viaHelp) << command;
        }
    }
    // Restoring a backup is shown where a user looks for it.
    ASSERT_EQ(Run({"help", "write"}), 0);
    EXPECT_TRUE(Contains(out, "  vymcnf write eeprom-20261208-154741Z.bin  put that backup back"))
        << out;
    // Without a command, the general text, which names the help command.
    ASSERT_EQ(Run({"help"}), 0);
    EXPECT_EQ(out.rfind("Usage: vymcnf COMMAND [OPTION]... [FILE]\n", 0), 0u) << out;
    EXPECT_TRUE(Contains(out, "help [COMMAND]")) << out;
    EXPECT_EQ(Run({"help", "erase"}), 2);
    EXPECT_EQ(err, "vymcnf: help: no command erase\nTry 'vymcnf --help'.\n");
    EXPECT_EQ(Run({"help", "write", "read"}), 2);
    EXPECT_EQ(card.openCount, 0);
}

}  // namespace
