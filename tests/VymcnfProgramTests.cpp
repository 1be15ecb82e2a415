// vymcnf as a command on the emulated card, next to the setup program: a card saved and put
// back, a backup the setup dialog made restored, a check that fails, a missing card, and Ctrl-C
// in the middle of a paced write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "pnp/FactoryImage.h"
#include "tests/RunProgram.h"
#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kVymcnf = VYM_VYMCNF;
const std::string kRunner = VYM_SCRIPT_RUNNER;

using Bytes = std::vector<std::uint8_t>;

class VymcnfProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Folder().empty()) << "no temporary folder";
        fs::create_directories(m_work / "home");
        WriteBytes(Card(), Factory());
    }

    static Bytes Factory() { return Bytes(FactoryImage().begin(), FactoryImage().end()); }
    std::string Card() const { return (m_work / "eeprom.bin").string(); }
    std::string In(const std::string& name) const { return (m_work / name).string(); }
    // Where both programs keep backups for this user when nothing says otherwise.
    fs::path DefaultBackups() const { return m_work / "home/.local/state/vymcnf/backups"; }

    static void WriteBytes(const std::string& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<std::string> Environment() const {
        return {"VYMCNF_EEPROM=" + Card(), "HOME=" + (m_work / "home").string(),
                "XDG_DATA_HOME=" + (m_work / "home/data").string()};
    }
    CProgramRun Vymcnf(const std::vector<std::string>& arguments) {
        return RunProgram(kVymcnf, arguments, Environment(), m_work.string());
    }
    CProgramRun RunSetupScript(const std::string& script) {
        std::ofstream(In("run.script")) << script;
        return RunProgram(kRunner, {In("run.script")}, Environment(), m_work.string());
    }

    std::vector<fs::path> Backups() const {
        std::vector<fs::path> files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(DefaultBackups(), error)) {
            files.push_back(entry.path());
        }
        return files;
    }

    CTemporaryFolder m_folder{"vymcnf-program-", CTemporaryFolder::WhenTestFails::Keep};
    fs::path m_work{m_folder.Folder()};
};

TEST_F(VymcnfProgram, ACardSavedWithReadGoesBackWithWrite) {
    const CProgramRun read = Vymcnf({"read", In("saved.bin")});
    ASSERT_EQ(read.exitStatus, 0) << read.errors;
    EXPECT_EQ(FileBytes(In("saved.bin")), Factory());

    Bytes other = Factory();
    other[66] = 0x44;  // the card changed meanwhile (a WSS I/O byte and beyond the image)
    other[1000] = 0x00;
    WriteBytes(Card(), other);
    const CProgramRun write = Vymcnf({"write", In("saved.bin")});
    ASSERT_EQ(write.exitStatus, 0) << write.errors;
    EXPECT_EQ(FileBytes(Card()), Factory());
    EXPECT_NE(write.output.find("Wrote 2 bytes to the card and read it back: the card holds " +
                                In("saved.bin") + ".\n"),
              std::string::npos)
        << write.output;
    EXPECT_EQ(write.errors, "");  // no progress bar where nobody watches
    // The card as it was before the write is the backup.
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(FileBytes(Backups()[0].string()), other);

    EXPECT_EQ(Vymcnf({"verify", In("saved.bin")}).exitStatus, 0);
}

TEST_F(VymcnfProgram, TheBackupASetupDialogWriteMadePutsTheCardBack) {
    const CProgramRun setup =
        RunSetupScript("pace off\npick \"Midi-1 IRQ\" 7\nanswer Yes\nclick OK\n");
    ASSERT_EQ(setup.exitStatus, 0) << setup.errors;
    ASSERT_NE(FileBytes(Card()), Factory());
    ASSERT_EQ(Backups().size(), 1u);
    const std::string backup = Backups()[0].string();

    const CProgramRun listed = Vymcnf({"backups"});
    ASSERT_EQ(listed.exitStatus, 0) << listed.errors;
    EXPECT_NE(listed.output.find(Backups()[0].filename().string() +
                                 ": logical devices 6, checksum valid\n"),
              std::string::npos)
        << listed.output;
    EXPECT_NE(listed.output.find("\"Midi Port\": I/O 0x300; IRQ 9\n"), std::string::npos);

    const CProgramRun restore = Vymcnf({"write", backup});
    ASSERT_EQ(restore.exitStatus, 0) << restore.errors;
    EXPECT_EQ(FileBytes(Card()), Factory());
    // The restore saved the card it overwrote too: the setup dialog's settings are not lost
    // either.
    EXPECT_EQ(Backups().size(), 2u);
}

TEST_F(VymcnfProgram, ACardThatDiffersFailsItsCheck) {
    Bytes other = Factory();
    other[100] ^= 0xFF;
    other[2000] ^= 0xFF;
    WriteBytes(In("other.bin"), other);
    const CProgramRun verify = Vymcnf({"verify", In("other.bin")});
    EXPECT_EQ(verify.exitStatus, 1);
    EXPECT_EQ(verify.errors, "vymcnf: the card differs from " + In("other.bin") +
                                 ": 2 bytes differ, the first at address 0x064.\n");
    EXPECT_EQ(FileBytes(Card()), Factory());
}

TEST_F(VymcnfProgram, AMissingCardIsAFailureThatCreatesNothing) {
    fs::remove(Card());
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"info"}, {"read", In("saved.bin")}, {"verify", In("x.bin")}}) {
        const CProgramRun run = Vymcnf(command);
        EXPECT_EQ(run.exitStatus, 1) << command[0];
    }
    WriteBytes(In("image.bin"), Factory());
    const CProgramRun write = Vymcnf({"write", In("image.bin")});
    EXPECT_EQ(write.exitStatus, 1);
    EXPECT_EQ(write.errors, "vymcnf: couldn't open the card: " + Card() +
                                " does not exist. Nothing was written.\n");
    EXPECT_FALSE(fs::exists(Card()));
    EXPECT_FALSE(fs::exists(In("saved.bin")));
    EXPECT_TRUE(Backups().empty());
}

TEST_F(VymcnfProgram, UsageHelpAndVersion) {
    const CProgramRun none = Vymcnf({});
    EXPECT_EQ(none.exitStatus, 2);
    EXPECT_EQ(none.errors, "vymcnf: no command given\nTry 'vymcnf --help'.\n");
    const CProgramRun help = Vymcnf({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    for (const char* part : {"info [FILE]", "read FILE", "write FILE", "verify FILE", "backups",
                             "--json", "--force", "--all", "VYMCNF_BACKUPS", "Exit status"}) {
        EXPECT_NE(help.output.find(part), std::string::npos) << part;
    }
    const CProgramRun version = Vymcnf({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_TRUE(std::regex_match(version.output, std::regex("vymcnf [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.output;
}

// --card names the card whatever VYMCNF_EEPROM says; read, write (with its backup), verify and
// info all work on that file, and the messages name it.
TEST_F(VymcnfProgram, TheCardOptionWinsOverTheEnvironment) {
    Bytes dump = Factory();
    dump[66] = 0x44;
    WriteBytes(In("dump.bin"), dump);

    const CProgramRun read = Vymcnf({"--card", In("dump.bin"), "read", In("saved.bin")});
    ASSERT_EQ(read.exitStatus, 0) << read.errors;
    EXPECT_EQ(FileBytes(In("saved.bin")), dump);

    WriteBytes(In("image.bin"), Factory());
    const CProgramRun write = Vymcnf({"write", "-c", In("dump.bin"), In("image.bin")});
    ASSERT_EQ(write.exitStatus, 0) << write.errors;
    EXPECT_EQ(FileBytes(In("dump.bin")), Factory());
    EXPECT_EQ(FileBytes(Card()), Factory());  // VYMCNF_EEPROM's card untouched
    ASSERT_EQ(Backups().size(), 1u);          // the backup goes where backups go
    EXPECT_EQ(FileBytes(Backups()[0].string()), dump);
    EXPECT_EQ(Vymcnf({"verify", "--card=" + In("dump.bin"), In("image.bin")}).exitStatus, 0);

    const CProgramRun info = Vymcnf({"info", "--card", In("dump.bin")});
    ASSERT_EQ(info.exitStatus, 0) << info.errors;
    EXPECT_NE(info.output.find(In("dump.bin")), std::string::npos) << info.output;

    fs::remove(In("dump.bin"));
    const CProgramRun missing = Vymcnf({"--card", In("dump.bin"), "read", In("none.bin")});
    EXPECT_EQ(missing.exitStatus, 1);
#ifdef _WIN32
    const std::string why = ": The system cannot find the file specified";
#else
    const std::string why = " does not exist";
#endif
    EXPECT_EQ(missing.errors,
              "vymcnf: couldn't open the card: " + In("dump.bin") + why + ". Nothing was saved.\n");
    EXPECT_FALSE(fs::exists(In("dump.bin")));
    EXPECT_FALSE(fs::exists(In("none.bin")));
}

// A HEX file as the card is refused before anything is opened, with the command that makes
// the raw image the card needs; that command works.
TEST_F(VymcnfProgram, AHexCardFileIsRefusedWithTheCommandThatConvertsIt) {
    ASSERT_EQ(Vymcnf({"read", In("dump.hex")}).exitStatus, 0);
    const CProgramRun refused = Vymcnf({"--card", In("dump.hex"), "info"});
    EXPECT_EQ(refused.exitStatus, 2);
    const std::string command = "vymcnf convert " + In("dump.hex") + " " + In("dump.bin");
    EXPECT_NE(refused.errors.find(command), std::string::npos) << refused.errors;
    EXPECT_FALSE(fs::exists(In("dump.bin")));

    const CProgramRun convert = Vymcnf({"convert", In("dump.hex"), In("dump.bin")});
    ASSERT_EQ(convert.exitStatus, 0) << convert.errors;
    EXPECT_EQ(FileBytes(In("dump.bin")), Factory());
    EXPECT_EQ(Vymcnf({"--card", In("dump.bin"), "verify", In("dump.hex")}).exitStatus, 0);
    // An existing file is kept unless --force.
    EXPECT_EQ(Vymcnf({"convert", In("dump.hex"), In("dump.bin")}).exitStatus, 1);
    EXPECT_EQ(Vymcnf({"convert", "--force", In("dump.bin"), In("dump.bin")}).exitStatus, 0);
}

// read FILE.hex saves Intel HEX, 16 bytes a record; write, verify and info read it back, and a
// HEX file with gaps fills them with 0xFF and says how many.
TEST_F(VymcnfProgram, IntelHexFilesRoundTripThroughTheCard) {
    const CProgramRun read = Vymcnf({"read", In("card.hex")});
    ASSERT_EQ(read.exitStatus, 0) << read.errors;
    std::ifstream text(In("card.hex"));
    std::string line;
    std::string last;
    int records = 0;
    while (std::getline(text, line)) {
        last = line;
        ++records;
        if (records <= 128) {
            EXPECT_EQ(line.size(), 43u) << line;
            EXPECT_EQ(line.substr(0, 3), ":10") << line;
        }
    }
    EXPECT_EQ(records, 129);
    EXPECT_EQ(last, ":00000001FF");

    Bytes other = Factory();
    other[66] = 0x44;
    WriteBytes(Card(), other);
    const CProgramRun write = Vymcnf({"write", In("card.hex")});
    ASSERT_EQ(write.exitStatus, 0) << write.errors;
    EXPECT_EQ(FileBytes(Card()), Factory());
    EXPECT_EQ(Vymcnf({"verify", In("card.hex")}).exitStatus, 0);
    EXPECT_EQ(Vymcnf({"info", In("card.hex")}).exitStatus, 0);

    // Only the first 32 bytes: the rest is 0xFF, which the card does not hold.
    std::ifstream whole(In("card.hex"));
    std::string first, second;
    std::getline(whole, first);
    std::getline(whole, second);
    std::ofstream(In("short.hex")) << first << "\n" << second << "\n:00000001FF\n";
    const CProgramRun verify = Vymcnf({"verify", In("short.hex")});
    EXPECT_EQ(verify.exitStatus, 1);
    EXPECT_NE(verify.errors.find(In("short.hex") +
                                 ": 2016 bytes that no record gives are taken as 0xFF."),
              std::string::npos)
        << verify.errors;

    std::ofstream(In("bad.hex")) << first << "\n:0100000000FE\n:00000001FF\n";
    const CProgramRun bad = Vymcnf({"write", In("bad.hex")});
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_EQ(bad.errors, "vymcnf: " + In("bad.hex") +
                              " line 2: checksum mismatch; the file is not a usable Intel HEX "
                              "image. Nothing was written.\n");
    EXPECT_EQ(FileBytes(Card()), Factory());
}

TEST_F(VymcnfProgram, CtrlCStopsAPacedWriteBetweenTwoBytes) {
    Bytes image(2048, 0x00);
    WriteBytes(In("zeros.bin"), image);
    const std::string out = In("out.txt");
    const std::string err = In("err.txt");
    std::vector<std::string> arguments = {kVymcnf, "write", "--force", In("zeros.bin")};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment = Environment();
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, kVymcnf.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Once the backup is there the bytes go out, 20 ms apart: a few of them, then Ctrl-C.
    for (int waited = 0; Backups().empty() && waited < 500; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of stopping";
    EXPECT_EQ(WEXITSTATUS(status), 1);

    const std::string errors = FileText(err);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(errors, match,
                                  std::regex("stopped\\. Only ([0-9]+) of the ([0-9]+) bytes were "
                                             "written")))
        << errors;
    const Bytes factory = Factory();
    const int written = std::stoi(match[1]);
    EXPECT_EQ(std::stoi(match[2]), 2048 - std::count(factory.begin(), factory.end(), 0));
    EXPECT_GT(written, 0);
    EXPECT_LT(written, std::stoi(match[2]));
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_NE(errors.find("The card as it was before is saved in " + Backups()[0].string()),
              std::string::npos);
    // Every address of the plan up to the last one written holds the new byte; from there on
    // the card is as it was.
    const Bytes card = FileBytes(Card());
    int changed = 0;
    for (int address = 0; address < 2048; ++address) {
        if (factory[static_cast<std::size_t>(address)] == 0) {
            continue;  // not in the plan: already 0
        }
        const bool isNew = card[static_cast<std::size_t>(address)] == 0;
        if (changed < written) {
            EXPECT_TRUE(isNew) << "address " << address;
            ++changed;
        } else {
            EXPECT_EQ(card[static_cast<std::size_t>(address)],
                      factory[static_cast<std::size_t>(address)])
                << "address " << address;
        }
    }
}

}  // namespace
