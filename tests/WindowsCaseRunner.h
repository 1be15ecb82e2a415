#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/RunProgram.h"

// The whole-program cases can run against a Windows build of the runner (for instance
// vymsetup-script.exe under Wine on the emulated card driver) instead of the native one. The
// environment says how; without VYM_WINDOWS_RUNNER the cases run natively.
//
//   VYM_WINDOWS_RUNNER      the command that runs a script: words separated by spaces, the
//                           first the path of a program; the script's path is added last
//   VYM_WINDOWS_SERVE_CARD  the command that makes the device serve a copy of a card file (its
//                           path is added last) from now on; exit status 0 when it does
//   VYM_WINDOWS_CARD        where that copy lies on this machine: the card the case leaves
//   VYM_WINDOWS_DRIVE_C     the folder on this machine that is the runner's c:\, where the
//                           dump's c:\tt.bin lands
//
// Or, for a runner that works on a card file of its own (vymsetup-script.exe --card FILE, no
// driver), instead of the serving command and the served card:
//   VYM_WINDOWS_CARD_FILE   FILE as this machine names it: the case's card is copied there
//                           before each case, and it is the card the case leaves
struct CWindowsRunner {
    std::vector<std::string> runner;
    std::vector<std::string> serveCard;
    std::filesystem::path card;
    std::filesystem::path driveC;
    bool cardFile = false;  // the card is a file that a copy prepares, not a served device
};

// Reads the settings above from the environment. Returns false with problem set when they are
// incomplete; runner stays empty when the cases are to run natively.
bool WindowsRunnerFromEnvironment(std::optional<CWindowsRunner>& runner, std::string& problem);

// A command's words: split at spaces, empty words dropped (there is no quoting).
std::vector<std::string> CommandWords(const std::string& command);

// The expected events as a Windows runner prints them: the dump's ${DRIVE_C}/tt.bin is c:\tt.bin
// there. Returns false with problem set when the text names another file under ${DRIVE_C},
// which has no Windows spelling yet.
bool WindowsExpectedEvents(std::string& text, std::string& problem);

// Where a path the Windows runner printed (a backup's, say) lies on this machine: a path on
// its c:\ is found under the folder that is c:\ here (a full path of this machine, from a
// runner that stands in for a Windows one, as it is). Returns false when it is on another
// drive or not a full path.
bool LocalPathOfWindowsPath(const CWindowsRunner& windows, const std::string& windowsPath,
                            std::filesystem::path& local);

// Why case NAME cannot hold on Windows (its NAME.native-only file); empty when it can. A
// native-only file without a reason is a problem.
std::string NativeOnlyReason(const std::filesystem::path& cases, const std::string& name,
                             std::string& problem);

// Makes the device serve card (the case's initial card file), or copies it to the card file,
// removes any dump an earlier
// case left, and runs script through the Windows runner with this process's environment. The
// run's output has its Windows line ends made Unix ones. Returns false with problem set when
// the card could not be served.
bool RunOnWindows(const CWindowsRunner& windows, const std::filesystem::path& card,
                  const std::filesystem::path& script, const std::filesystem::path& work,
                  CProgramRun& run, std::string& problem);
