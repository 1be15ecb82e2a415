#include "tests/WindowsCaseRunner.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "testsupport/FileContents.h"

namespace fs = std::filesystem;

namespace {

// The dump's path in the expected events, and how a Windows runner prints it (JSON-escaped).
constexpr const char* kDriveC = "${DRIVE_C}";
constexpr const char* kDumpOnDriveC = "${DRIVE_C}/tt.bin";
constexpr const char* kWindowsDump = "c:\\\\tt.bin";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> ThisEnvironment() {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        environment.push_back(*variable);
    }
    return environment;
}

// Runs words plus one last argument; the program's exit status, -1 when it did not end normally.
CProgramRun RunCommand(const std::vector<std::string>& words, const std::string& last,
                       const fs::path& work) {
    std::vector<std::string> arguments(words.begin() + 1, words.end());
    arguments.push_back(last);
    return RunProgram(words.front(), arguments, ThisEnvironment(), work.string());
}

std::string WithoutCarriageReturns(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != '\r') {
            result += c;
        }
    }
    return result;
}

}  // namespace

std::vector<std::string> CommandWords(const std::string& command) {
    std::vector<std::string> words;
    std::istringstream in(command);
    for (std::string word; std::getline(in, word, ' ');) {
        if (!word.empty()) {
            words.push_back(word);
        }
    }
    return words;
}

bool WindowsRunnerFromEnvironment(std::optional<CWindowsRunner>& runner, std::string& problem) {
    runner.reset();
    const std::string command = Variable("VYM_WINDOWS_RUNNER");
    if (command.empty()) {
        return true;
    }
    CWindowsRunner settings;
    settings.runner = CommandWords(command);
    settings.serveCard = CommandWords(Variable("VYM_WINDOWS_SERVE_CARD"));
    settings.card = Variable("VYM_WINDOWS_CARD");
    settings.driveC = Variable("VYM_WINDOWS_DRIVE_C");
    const std::string cardFile = Variable("VYM_WINDOWS_CARD_FILE");
    if (!cardFile.empty()) {
        settings.cardFile = true;
        settings.card = cardFile;
    }
    std::string missing;
    if (settings.runner.empty()) {
        missing += " VYM_WINDOWS_RUNNER";
    }
    if (settings.serveCard.empty() && !settings.cardFile) {
        missing += " VYM_WINDOWS_SERVE_CARD";
    }
    if (settings.card.empty()) {
        missing += " VYM_WINDOWS_CARD";
    }
    if (settings.driveC.empty()) {
        missing += " VYM_WINDOWS_DRIVE_C";
    }
    if (!missing.empty()) {
        problem = "the cases run against a Windows runner, but these are not set:" + missing;
        return false;
    }
    runner = settings;
    return true;
}

bool WindowsExpectedEvents(std::string& text, std::string& problem) {
    const std::string dump = kDumpOnDriveC;
    for (std::size_t at = text.find(dump); at != std::string::npos; at = text.find(dump, at)) {
        text.replace(at, dump.size(), kWindowsDump);
    }
    if (text.find(kDriveC) != std::string::npos) {
        problem =
            "the events name a file under ${DRIVE_C} other than the dump, which has no "
            "Windows path here";
        return false;
    }
    return true;
}

bool LocalPathOfWindowsPath(const CWindowsRunner& windows, const std::string& windowsPath,
                            fs::path& local) {
    if (!windowsPath.empty() && windowsPath[0] == '/') {
        local = windowsPath;  // a runner of this machine standing in for a Windows one
        return true;
    }
    if (windowsPath.size() < 3 || (windowsPath[0] != 'c' && windowsPath[0] != 'C') ||
        windowsPath[1] != ':' || windowsPath[2] != '\\') {
        return false;
    }
    std::string rest = windowsPath.substr(3);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    local = windows.driveC / rest;
    return true;
}

std::string NativeOnlyReason(const fs::path& cases, const std::string& name, std::string& problem) {
    const fs::path marker = cases / (name + ".native-only");
    if (!fs::exists(marker)) {
        return "";
    }
    std::string reason = FileText(marker.string());
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        problem = marker.string() + " does not say why the case cannot hold on Windows";
    }
    return reason;
}

namespace {

bool ServeCard(const CWindowsRunner& windows, const fs::path& card, const fs::path& work,
               std::string& problem) {
    const CProgramRun served = RunCommand(windows.serveCard, card.string(), work);
    if (served.exitStatus != 0) {
        problem = "the device does not serve the case's card (exit status " +
                  std::to_string(served.exitStatus) + "): " + served.output + served.errors;
        return false;
    }
    return true;
}

bool CopyCardFile(const CWindowsRunner& windows, const fs::path& card, std::string& problem) {
    std::error_code error;
    fs::copy_file(card, windows.card, fs::copy_options::overwrite_existing, error);
    if (error) {
        problem = "cannot copy the case's card to the card file " + windows.card.string() + ": " +
                  error.message();
        return false;
    }
    return true;
}

}  // namespace

bool RunOnWindows(const CWindowsRunner& windows, const fs::path& card, const fs::path& script,
                  const fs::path& work, CProgramRun& run, std::string& problem) {
    const bool prepared = windows.cardFile ? CopyCardFile(windows, card, problem)
                                           : ServeCard(windows, card, work, problem);
    if (!prepared) {
        return false;
    }
    std::error_code ignored;
    fs::remove(windows.driveC / "tt.bin", ignored);
    run = RunCommand(windows.runner, script.string(), work);
    run.output = WithoutCarriageReturns(run.output);
    return true;
}
