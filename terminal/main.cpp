// vymsetup: VYM Card Setup in the terminal, on the emulated card (the EEPROM file named on the
// command line or by VYMCNF_EEPROM, or the per-user card made from the factory image).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/CardFileChoice.h"
#include "driver/CardIdentity.h"
#include "driver/StandardStreams.h"
#include "driver/WriteSignals.h"
#include "framework/Framework.h"
#include "terminal/EndOfRun.h"
#include "terminal/TerminalHost.h"
#include "terminal/TerminalSession.h"
#include "ui/SetupOutcome.h"
#include "ui/SetupResources.h"

namespace {

constexpr const char* kUsage =
    "Usage: vymsetup [--card FILE | FILE]\n"
    "       vymsetup --help | --version\n"
    "Sets the I/O ports, IRQs and DMA channels of the VYM sound card by rewriting its\n"
    "configuration EEPROM, in a dialog drawn in the terminal (keyboard and mouse; F1 lists\n"
    "the keys).\n"
    "\n"
    "The card is the emulated one: the 2048-byte EEPROM file FILE (a programmer's raw dump of\n"
    "the chip will do), or else the one VYMCNF_EEPROM names, or else\n"
    "$XDG_DATA_HOME/vymcnf/eeprom.bin (~/.local/share/vymcnf/eeprom.bin), made from the\n"
    "factory image when it is missing. VYMCNF_DRIVE_C names the folder that stands for c:\\\n"
    "(default: the current folder). NO_COLOR set: no colours.\n"
    "\n"
    "  -c, --card FILE   the card is FILE (the same as FILE alone)\n"
    "  --help      show this text\n"
    "  --version   show the version\n";

// Which file the card is, said at the start: a new user learns that the program works on a file
// and where it lies. The home folder is written as ~ to keep the note short.
std::string CardNote() {
    std::string path = CardName();
    if (path.empty()) {
        return {};
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        const std::string prefix = std::string(home) + "/";
        if (path.compare(0, prefix.size(), prefix) == 0) {
            path = "~/" + path.substr(prefix.size());
        }
    }
    return "Card: " + path;
}

// A signal that came during a write let the write and its check finish; the program still
// ends as asked, says so once the screen is gone (after the lines that name the backup), and
// tells it in its status.
int EndAfterSignalDuringWrite(const CTerminalHost& host) {
    const int signalNumber = host.SignalDuringWrite();
    std::fprintf(stderr,
                 "vymsetup: signal %d came during a write; the program ended once the write was "
                 "over.\n",
                 signalNumber);
    return ExitStatusAfterSignal(signalNumber);
}

}  // namespace

int main(int argc, char** argv) {
    // Before anything is opened: a closed standard stream must not become the card's file.
    if (OpenStandardStreams() == 0) {
        return 1;
    }
    if (argc > 1) {
        if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
            std::printf("vymsetup %s\n", VYMSETUP_VERSION);
            return 0;
        }
        const char* cardFile = nullptr;
        char problem[512];
        if (!CardFileArguments(argc, argv, &cardFile, problem, sizeof problem)) {
            std::fprintf(stderr, "vymsetup: %s\nTry 'vymsetup --help'.\n", problem);
            return 2;
        }
        if (cardFile != nullptr && !SelectCardFile(cardFile, problem, sizeof problem)) {
            std::fprintf(stderr, "vymsetup: %s\n", problem);
            return 2;
        }
    }

    AfxSetResourceModule(&SetupResourceModule());

    CTerminalSession session;
    std::string error;
    if (!session.Start(error)) {
        std::fprintf(stderr, "vymsetup: %s\n", error.c_str());
        return 1;
    }
    CTerminalHost host(session);
    CResizeFollowingPause pause(host);
    const bool readOnly = CardFileIsReadOnly() != 0;
    host.SetNote(CardNote() + (readOnly ? " (read-only)" : ""));
    if (readOnly) {
        host.SetMark("Read-only card");
    }
    ResetSetupOutcome();
    const int exitCode = AfxWinMain(host, "vymsetup");
    session.Stop();

    // The screen is gone: what the user needs from it now goes to standard error.
    const CSetupOutcome& outcome = SetupOutcome();
    const CEndOfRunText end = EndOfRunText(
        outcome, CardName(), outcome.openFailed != 0 ? CardOpenProblem(outcome.openError) : "");
    std::fputs(end.text.c_str(), stderr);
    if (host.SignalDuringWrite() != 0) {
        return FinishStandardStreams("vymsetup", EndAfterSignalDuringWrite(host));
    }
    return FinishStandardStreams("vymsetup", exitCode != 0 ? exitCode : end.exitStatus);
}
