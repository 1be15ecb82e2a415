// The cases against another runner: the settings, the dump's Windows path, the cases that
// cannot hold on Windows, and whole runs of this test program in that mode with the native
// runner standing in for the Windows one (the card served by copying it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/RunProgram.h"
#include "tests/WindowsCaseRunner.h"
#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = VYM_CASES_DIR;
const std::string kRunner = VYM_SCRIPT_RUNNER;

TEST(WindowsCaseSettings, CommandWordsAreSplitAtSpaces) {
    EXPECT_EQ(CommandWords("/usr/bin/timeout  120 wine64 C:\\bin\\r.exe "),
              (std::vector<std::string>{"/usr/bin/timeout", "120", "wine64", "C:\\bin\\r.exe"}));
    EXPECT_TRUE(CommandWords("").empty());
}

TEST(WindowsCaseSettings, TheDumpIsCOnWindows) {
    std::string text = R"({"event":"file","path":"${DRIVE_C}/tt.bin","size":500})"
                       "\n";
    std::string problem;
    ASSERT_TRUE(WindowsExpectedEvents(text, problem)) << problem;
    EXPECT_EQ(nlohmann::json::parse(text)["path"], "c:\\tt.bin");
}

TEST(WindowsCaseSettings, AnotherFileOnDriveCHasNoWindowsPath) {
    std::string text = R"({"event":"file","path":"${DRIVE_C}/other.bin","size":500})";
    std::string problem;
    EXPECT_FALSE(WindowsExpectedEvents(text, problem));
    EXPECT_NE(problem.find("${DRIVE_C}"), std::string::npos) << problem;
}

// A backup the Windows runner names on its c:\ is read from the folder that is c:\ here.
TEST(WindowsCaseSettings, APathOnCIsFoundUnderDriveC) {
    CWindowsRunner windows;
    windows.driveC = "/prefix/drive_c";
    std::filesystem::path local;
    ASSERT_TRUE(LocalPathOfWindowsPath(
        windows, "C:\\users\\me\\AppData\\Roaming\\VYM Card Setup\\backups\\e.bin", local));
    EXPECT_EQ(local, "/prefix/drive_c/users/me/AppData/Roaming/VYM Card Setup/backups/e.bin");
    ASSERT_TRUE(LocalPathOfWindowsPath(windows, "c:\\e.bin", local));
    EXPECT_EQ(local, "/prefix/drive_c/e.bin");
    EXPECT_FALSE(LocalPathOfWindowsPath(windows, "D:\\e.bin", local));
    EXPECT_FALSE(LocalPathOfWindowsPath(windows, "e.bin", local));
    // A stand-in runner of this machine names its own paths.
    ASSERT_TRUE(LocalPathOfWindowsPath(windows, "/tmp/backups/e.bin", local));
    EXPECT_EQ(local, "/tmp/backups/e.bin");
}

TEST(WindowsCaseSettings, NativeOnlyCasesSayWhy) {
    std::string problem;
    EXPECT_FALSE(NativeOnlyReason(kCases, "startup-missing-card", problem).empty());
    EXPECT_TRUE(NativeOnlyReason(kCases, "ok-answer-yes", problem).empty());
    EXPECT_TRUE(problem.empty()) << problem;

    const CTemporaryFolder folder("vymsetup-native-only");
    std::ofstream(folder.PathOf("silent.native-only")) << "\n";
    EXPECT_TRUE(NativeOnlyReason(folder.Folder(), "silent", problem).empty());
    EXPECT_NE(problem.find("silent.native-only"), std::string::npos) << problem;
}

// Runs cases of this very program in the Windows mode: the "Windows runner" is the native one
// on a card file that the serving command copies the case's card to.
class WindowsCaseRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_work.empty());
        fs::create_directories(m_work / "drive");
        std::ofstream(m_work / "serve.sh") << "#!/bin/sh\ncp \"$1\" " << Served().string() << "\n";
    }

    fs::path Served() const { return m_work / "served.bin"; }

    std::vector<std::string> Settings(const std::string& serveCard) const {
        return {
            "VYM_WINDOWS_RUNNER=/usr/bin/env VYMCNF_EEPROM=" + Served().string() +
                " VYMCNF_DRIVE_C=" + (m_work / "drive").string() + " HOME=" + m_work.string() +
                " " + kRunner,
            "VYM_WINDOWS_SERVE_CARD=" + serveCard,
            "VYM_WINDOWS_CARD=" + Served().string(),
            "VYM_WINDOWS_DRIVE_C=" + (m_work / "drive").string(),
        };
    }
    std::string CopyingServer() const { return "/bin/sh " + (m_work / "serve.sh").string(); }

    // A case made to fail keeps its folder; it is kept inside this test's own, which goes.
    CProgramRun RunCase(const std::string& test, std::vector<std::string> environment) {
        environment.push_back("TMPDIR=" + m_work.string());
        return RunProgram("/proc/self/exe",
                          {"--gtest_filter=Cases/ScriptCase.EventsAndCardAsExpected/" + test},
                          environment, m_work.string());
    }

    const CTemporaryFolder m_folder{"vymsetup-windows"};
    const fs::path m_work = m_folder.Folder();
};

TEST_F(WindowsCaseRun, AWriteIsComparedOnTheServedCard) {
    const CProgramRun run = RunCase("ok_answer_yes", Settings(CopyingServer()));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(Served()));
}

TEST_F(WindowsCaseRun, ACardThatIsNotServedGivesOtherEvents) {
    const CProgramRun run = RunCase("ok_answer_yes", Settings("/bin/true"));
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_NE(run.output.find("event 1\n"), std::string::npos) << run.output;
}

TEST_F(WindowsCaseRun, AServingCommandThatFailsFailsTheCase) {
    const CProgramRun run = RunCase("ok_unchanged", Settings("/bin/false"));
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_NE(run.output.find("the device does not serve the case's card (exit status 1)"),
              std::string::npos)
        << run.output;
}

TEST_F(WindowsCaseRun, ANativeOnlyCaseIsSkippedWithItsReason) {
    std::string problem;
    const std::string reason = NativeOnlyReason(kCases, "startup-wrong-size", problem);
    ASSERT_FALSE(reason.empty());
    const CProgramRun run = RunCase("startup_wrong_size", Settings(CopyingServer()));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("[  SKIPPED ] 1 test"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(reason), std::string::npos) << run.output;
}

// The card-file mode: the runner names its card with --card (VYMCNF_EEPROM names another file,
// which must stay untouched), and the case's card is copied to that file before the run.
TEST_F(WindowsCaseRun, AWriteIsComparedOnTheCardFileTheRunnerNames) {
    const fs::path other = m_work / "other.bin";
    std::ofstream(other) << "not a card";
    const std::vector<std::string> settings = {
        "VYM_WINDOWS_RUNNER=/usr/bin/env VYMCNF_EEPROM=" + other.string() +
            " VYMCNF_DRIVE_C=" + (m_work / "drive").string() + " HOME=" + m_work.string() + " " +
            kRunner + " --card " + Served().string(),
        "VYM_WINDOWS_CARD_FILE=" + Served().string(),
        "VYM_WINDOWS_DRIVE_C=" + (m_work / "drive").string(),
    };
    for (const char* test : {"ok_answer_yes", "ok_unchanged"}) {
        const CProgramRun run = RunCase(test, settings);
        EXPECT_EQ(run.exitStatus, 0) << test << "\n" << run.output;
        EXPECT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
    }
    EXPECT_EQ(FileText(other.string()), "not a card");
}

TEST_F(WindowsCaseRun, ACardFileThatCannotBeMadeFailsTheCase) {
    const std::vector<std::string> settings = {
        Settings(CopyingServer()).front(),
        "VYM_WINDOWS_CARD_FILE=" + (m_work / "no-such-folder/card.bin").string(),
        "VYM_WINDOWS_DRIVE_C=" + (m_work / "drive").string(),
    };
    const CProgramRun run = RunCase("ok_unchanged", settings);
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_NE(run.output.find("cannot copy the case's card to the card file"), std::string::npos)
        << run.output;
}

TEST_F(WindowsCaseRun, IncompleteSettingsFailTheCase) {
    const CProgramRun run = RunCase("ok_unchanged", {Settings(CopyingServer()).front()});
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    EXPECT_NE(run.output.find("not set: VYM_WINDOWS_SERVE_CARD VYM_WINDOWS_CARD "
                              "VYM_WINDOWS_DRIVE_C"),
              std::string::npos)
        << run.output;
}

}  // namespace
