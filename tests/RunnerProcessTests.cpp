// The runner as a command: its options, where the script comes from, where the dump lands,
// and the real pause after each written byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "pnp/FactoryImage.h"
#include "tests/RunProgram.h"
#include "testsupport/TemporaryFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kRunner = VYM_SCRIPT_RUNNER;

class RunnerCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Folder().empty()) << "no temporary folder";
        std::ofstream(Card(), std::ios::binary)
            .write(reinterpret_cast<const char*>(FactoryImage().data()), EEPROM_SIZE);
    }

    fs::path Card() const { return m_work / "eeprom.bin"; }
    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = m_work / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::vector<std::string> Environment(bool withDrive = true) const {
        std::vector<std::string> environment = {"VYMCNF_EEPROM=" + Card().string(),
                                                "HOME=" + m_work.string()};
        if (withDrive) {
            environment.push_back("VYMCNF_DRIVE_C=" + (m_work / "drive").string());
        }
        return environment;
    }
    CProgramRun Run(const std::vector<std::string>& arguments, const std::string& input = "",
                    bool withDrive = true) {
        return RunProgram(kRunner, arguments, Environment(withDrive), m_work.string(), input);
    }
    std::vector<nlohmann::json> Events(const CProgramRun& run) {
        std::vector<nlohmann::json> events;
        std::istringstream lines(run.output);
        for (std::string line; std::getline(lines, line);) {
            events.push_back(nlohmann::json::parse(line, nullptr, false));
            EXPECT_FALSE(events.back().is_discarded()) << line;
        }
        return events;
    }

    CTemporaryFolder m_folder{"vymsetup-runner-", CTemporaryFolder::WhenTestFails::Keep};
    fs::path m_work{m_folder.Folder()};
};

TEST_F(RunnerCommand, HelpAndVersionPrintAndRunNothing) {
    const CProgramRun help = Run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("Usage: vymsetup-script [SCRIPT]"), std::string::npos);
    EXPECT_NE(help.output.find("pace off"), std::string::npos);
    // Where the backups go and how to name another folder, and what each status means.
    for (const char* part :
         {"VYMCNF_BACKUPS", "$XDG_STATE_HOME/vymcnf/backups", "vymcnf write BACKUP",
          "  3  a line was refused", "  1  the card could not be opened"}) {
        EXPECT_NE(help.output.find(part), std::string::npos) << part;
    }
    const CProgramRun version = Run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output.rfind("vymsetup-script ", 0), 0u) << version.output;
    EXPECT_EQ(version.output.find("\"event\""), std::string::npos);
}

// --card without its FILE, or with an Intel HEX one, is a usage error that runs nothing.
TEST_F(RunnerCommand, ACardOptionWithoutAUsableFileRunsNothing) {
    const std::string script = Write("ok.script", "click OK\n");
    const CProgramRun missing = Run({script, "--card"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.errors,
              "vymsetup-script: --card needs a FILE\nTry 'vymsetup-script --help'.\n");
    const std::string hex = (m_work / "chip.hex").string();
    const CProgramRun refused = Run({"-c", hex, script});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_NE(refused.errors.find("vymcnf convert " + hex), std::string::npos) << refused.errors;
    EXPECT_TRUE(missing.output.empty() && refused.output.empty());
}

TEST_F(RunnerCommand, UsageErrorsExitTwoWithAMessageAndRunNothing) {
    const std::string script = Write("ok.script", "click OK\n");
    const std::vector<std::vector<std::string>> usages = {
        {"--frobnicate"}, {"-x"}, {script, script}, {(m_work / "absent.script").string()}};
    for (const auto& arguments : usages) {
        const CProgramRun run = Run(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments[0];
        EXPECT_TRUE(run.output.empty()) << run.output;
        EXPECT_NE(run.errors.find("vymsetup-script: "), std::string::npos);
    }
}

TEST_F(RunnerCommand, ScriptFromStandardInputWithWindowsLineEnds) {
    const std::string input = Write(
        "input.script", "\xEF\xBB\xBF# from a Windows editor\r\npace off\r\nclick \"Cancel\"\r\n");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"-"}}) {
        const CProgramRun run = Run(arguments, input);
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_EQ(run.output, "{\"event\":\"end\",\"result\":\"Cancel\"}\n");
    }
}

TEST_F(RunnerCommand, EmptyScriptClosesTheDialogAsCancel) {
    const CProgramRun run = Run({Write("empty.script", "")});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, "{\"event\":\"end\",\"result\":\"Cancel\"}\n");
}

TEST_F(RunnerCommand, DumpLandsInTheCurrentFolderWhenNoDriveIsNamed) {
    const CProgramRun run = Run({Write("dump.script", "pace off\nclick 1001\n")}, "", false);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    const std::vector<nlohmann::json> events = Events(run);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0]["event"], "file");
    const fs::path dump = m_work / "tt.bin";
    ASSERT_TRUE(fs::exists(dump));
    // The path the runner tells is where the file is, seen from the runner's folder.
    fs::path told = events[0]["path"].get<std::string>();
    if (told.is_relative()) {
        told = m_work / told;
    }
    EXPECT_TRUE(fs::exists(told) && fs::equivalent(told, dump)) << events[0].dump();
    EXPECT_EQ(fs::file_size(dump), 500u);
}

TEST_F(RunnerCommand, DumpIntoAFolderThatDoesNotExistIsSkippedAndTheListingGoesOn) {
    std::vector<std::string> environment = Environment(false);
    environment.push_back("VYMCNF_DRIVE_C=" + (m_work / "no" / "such").string());
    const CProgramRun run = RunProgram(kRunner, {Write("dump.script", "pace off\nclick 1001\n")},
                                       environment, m_work.string());
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    const std::vector<nlohmann::json> events = Events(run);
    ASSERT_EQ(events.size(), 7u);  // six device boxes and the end, no file
    EXPECT_EQ(events[0]["caption"], "Device 1");
    EXPECT_EQ(events[6]["event"], "end");
}

TEST_F(RunnerCommand, EventsThatCannotBeWrittenAreAnInternalFailure) {
    const CProgramRun run = RunProgram(kRunner, {Write("show.script", "pace off\nshow\n")},
                                       Environment(), m_work.string(), "", "/dev/full");
    EXPECT_EQ(run.exitStatus, 1);
}

TEST_F(RunnerCommand, ScriptThatCannotBeReadToItsEndIsAnInternalFailure) {
    fs::create_directories(m_work / "folder.script");
    const CProgramRun run = Run({(m_work / "folder.script").string()});
    EXPECT_EQ(run.exitStatus, 1);
    // The dialog was still closed as Cancel does, writing nothing.
    EXPECT_EQ(run.output, "{\"event\":\"end\",\"result\":\"Cancel\"}\n");
}

TEST_F(RunnerCommand, WritingPausesTwentyMillisecondsAfterEachByteUnlessPacingIsOff) {
    const std::string script = "pick \"WSS I/O\" 544\nanswer Yes\nclick OK\n";
    const CProgramRun paced = Run({Write("paced.script", script)});
    ASSERT_EQ(paced.exitStatus, 0) << paced.errors;
    const std::vector<nlohmann::json> events = Events(paced);
    ASSERT_EQ(events.size(), 4u);
    ASSERT_EQ(events[2]["event"], "progress");
    const int bytes = events[2]["written"].get<int>();
    EXPECT_GT(bytes, 200);
    EXPECT_GE(paced.seconds, bytes * 0.020) << "a paced write of " << bytes << " bytes";

    const CProgramRun fast = Run({Write("fast.script", "pace off\n" + script)});
    ASSERT_EQ(fast.exitStatus, 0);
    // The same events, each write's backup a file of its own.
    std::vector<nlohmann::json> fastEvents = Events(fast);
    ASSERT_EQ(fastEvents.size(), events.size());
    EXPECT_NE(fastEvents[1]["path"], events[1]["path"]);
    fastEvents[1]["path"] = events[1]["path"];
    EXPECT_EQ(fastEvents, events);
    // Not a timing test: only that the pause is really skipped, with a wide margin.
    EXPECT_LT(fast.seconds, bytes * 0.020 / 2);
}

}  // namespace
