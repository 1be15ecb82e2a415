// Whole-program cases: each tests/cases/NAME.script runs through vymsetup-script on a card
// made from NAME.image; the events must be those of NAME.expected.jsonl and the card must end
// as NAME.eeprom describes (unchanged when there is none). With VYM_WINDOWS_RUNNER set they run
// against a Windows build of the runner instead (tests/WindowsCaseRunner.h); with
// VYM_CASE_RUNNER set, against another runner on this machine (node vymsetup-script.js).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "tests/CaseImage.h"
#include "tests/RunProgram.h"
#include "tests/WindowsCaseRunner.h"
#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = VYM_CASES_DIR;
const std::string kRunner = VYM_SCRIPT_RUNNER;

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCases)) {
        if (entry.path().extension() == ".script") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Replace(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

CCaseImage ImageFrom(const fs::path& description, const CCaseImage* initial) {
    CCaseImage image;
    std::string error;
    std::ifstream file(description);
    if (!file) {
        // No description: the factory card, or the initial card unchanged.
        std::istringstream standard(initial ? "image\n" : "factory\n");
        EXPECT_EQ(BuildCaseImage(standard, initial, image, error), 1) << error;
        return image;
    }
    EXPECT_EQ(BuildCaseImage(file, initial, image, error), 1) << description << ": " << error;
    return image;
}

std::string FirstDifference(const std::vector<std::uint8_t>& actual,
                            const std::vector<std::uint8_t>& expected) {
    if (actual.size() != expected.size()) {
        return "size " + std::to_string(actual.size()) + ", expected " +
               std::to_string(expected.size());
    }
    int shown = 0;
    std::ostringstream text;
    for (std::size_t i = 0; i < actual.size() && shown < 8; ++i) {
        if (actual[i] != expected[i]) {
            text << "offset " << i << ": " << int(actual[i]) << ", expected " << int(expected[i])
                 << "; ";
            ++shown;
        }
    }
    return text.str();
}

// The backup event's path in the expected events: a new backup, whose name carries the time.
// The run's path stands in its place once it is known to be a new file in the backup folder;
// the file itself is checked against the card afterwards.
constexpr const char* kBackupPlaceholder = "${BACKUP}";

bool IsBackupPlaceholder(const nlohmann::json& event) {
    return event.is_object() && event.value("event", "") == "backup" &&
           event.value("path", "") == kBackupPlaceholder;
}

class ScriptCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptCase, EventsAndCardAsExpected) {
    const std::string name = GetParam();
    std::optional<CWindowsRunner> windows;
    std::string problem;
    ASSERT_TRUE(WindowsRunnerFromEnvironment(windows, problem)) << problem;
    if (windows) {
        const std::string reason = NativeOnlyReason(kCases, name, problem);
        ASSERT_TRUE(problem.empty()) << problem;
        if (!reason.empty()) {
            GTEST_SKIP() << reason;
        }
    }
    CTemporaryFolder folder("vymsetup-case-" + name + "-", CTemporaryFolder::WhenTestFails::Keep);
    ASSERT_FALSE(folder.Folder().empty()) << "no temporary folder";
    const fs::path work = folder.Folder();
    fs::create_directories(work / "drive-c");
    fs::create_directories(work / "home");
    const fs::path card = work / "eeprom.bin";

    const CCaseImage initial = ImageFrom(kCases / (name + ".image"), nullptr);
    if (initial.present) {
        std::ofstream(card, std::ios::binary)
            .write(reinterpret_cast<const char*>(initial.bytes.data()),
                   static_cast<std::streamsize>(initial.bytes.size()));
    }
    const CCaseImage expectedCard = ImageFrom(kCases / (name + ".eeprom"), &initial);

    const fs::path script = kCases / (name + ".script");
    CProgramRun run;
    if (windows) {
        ASSERT_TRUE(RunOnWindows(*windows, card, script, work, run, problem)) << problem;
    } else {
        const std::vector<std::string> environment = {
            "VYMCNF_EEPROM=" + card.string(),
            "VYMCNF_BACKUPS=" + (work / "backups").string(),
            "VYMCNF_DRIVE_C=" + (work / "drive-c").string(),
            "HOME=" + (work / "home").string(),
            "XDG_DATA_HOME=" + (work / "home").string(),
        };
        // Another build of the runner on this machine's files (the WebAssembly one under Node)
        // can take the native one's place: VYM_CASE_RUNNER holds its command words, and the
        // script's path is added last.
        const char* other = std::getenv("VYM_CASE_RUNNER");
        std::vector<std::string> command = CommandWords(other != nullptr ? other : "");
        if (command.empty()) {
            command.push_back(kRunner);
        }
        std::vector<std::string> arguments(command.begin() + 1, command.end());
        arguments.push_back(script.string());
        run = RunProgram(command.front(), arguments, environment, work.string());
    }

    int expectedStatus = 0;
    std::ifstream(kCases / (name + ".exit")) >> expectedStatus;
    EXPECT_EQ(run.exitStatus, expectedStatus) << run.errors;

    std::string expectedText = FileText((kCases / (name + ".expected.jsonl")).string());
    if (windows) {
        ASSERT_TRUE(WindowsExpectedEvents(expectedText, problem)) << problem;
    } else {
        expectedText = Replace(expectedText, "${DRIVE_C}", (work / "drive-c").string());
    }
    const std::vector<std::string> expected = Lines(expectedText);
    const std::vector<std::string> actual = Lines(run.output);
    // Writes (progress events) before the dump and in all: the dump must hold the card as it
    // was when the dump ran.
    int writesBeforeDump = -1;
    int writes = 0;
    std::vector<fs::path> backups;  // where the backups the run named lie here, in order
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const std::string want = i < expected.size() ? expected[i] : "(nothing)";
        const std::string got = i < actual.size() ? actual[i] : "(nothing)";
        const auto wantJson = nlohmann::json::parse(want, nullptr, false);
        auto gotJson = nlohmann::json::parse(got, nullptr, false);
        if (IsBackupPlaceholder(wantJson) && gotJson.is_object() &&
            gotJson.value("event", "") == "backup" && gotJson["path"].is_string()) {
            const std::string named = gotJson["path"];
            fs::path local = named;
            if (windows) {
                EXPECT_TRUE(LocalPathOfWindowsPath(*windows, named, local))
                    << "event " << i + 1 << ": backup " << named << " is not on c:\\";
            } else {
                EXPECT_EQ(local.parent_path(), work / "backups")
                    << "event " << i + 1 << ": backup outside the backup folder";
            }
            EXPECT_TRUE(std::find(backups.begin(), backups.end(), local) == backups.end())
                << "event " << i + 1 << ": " << named << " named twice";
            backups.push_back(local);
            gotJson["path"] = kBackupPlaceholder;
        }
        ASSERT_FALSE(wantJson.is_discarded() && i < expected.size())
            << "bad expected line " << want;
        if (wantJson.is_discarded() || gotJson.is_discarded() || wantJson != gotJson) {
            ADD_FAILURE() << "event " << i + 1 << "\n  expected: " << want
                          << "\n  actual:   " << got;
            break;
        }
        const std::string event = gotJson.value("event", "");
        writes += event == "progress" ? 1 : 0;
        if (event == "file" && writesBeforeDump < 0) {
            writesBeforeDump = writes;
        }
    }

    // Every backup the run named is a complete card; the first is the card the case started
    // with (a later one holds what an earlier write of the run left).
    for (std::size_t k = 0; k < backups.size(); ++k) {
        const std::vector<std::uint8_t> saved = FileBytes(backups[k].string());
        EXPECT_EQ(saved.size(), 2048u) << backups[k];
        if (k == 0) {
            EXPECT_TRUE(saved == initial.bytes)
                << backups[k]
                << " is not the card before the write: " << FirstDifference(saved, initial.bytes);
        }
    }

    // The card the run leaves, and the dump it wrote.
    const fs::path leftCard = windows ? windows->card : card;
    const fs::path dumpFile = windows ? windows->driveC / "tt.bin" : work / "drive-c" / "tt.bin";
    if (expectedCard.present) {
        EXPECT_TRUE(fs::exists(leftCard));
        const std::vector<std::uint8_t> bytes = FileBytes(leftCard.string());
        EXPECT_TRUE(bytes == expectedCard.bytes) << FirstDifference(bytes, expectedCard.bytes);
        if (writesBeforeDump >= 0 && (writesBeforeDump == 0 || writesBeforeDump == writes)) {
            // The dump holds exactly the first 500 bytes of the card: the one the case started
            // with when nothing was written before the dump, the final one when nothing after.
            const std::vector<std::uint8_t>& card = writesBeforeDump == 0 ? initial.bytes : bytes;
            const std::vector<std::uint8_t> dump = FileBytes(dumpFile.string());
            EXPECT_TRUE(dump == std::vector<std::uint8_t>(card.begin(), card.begin() + 500))
                << "tt.bin: " << dump.size() << " bytes";
        }
    } else {
        EXPECT_FALSE(fs::exists(leftCard)) << "a card file appeared";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
