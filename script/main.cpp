// vymsetup-script: runs VYM Card Setup unattended, user actions from a script, what the
// program shows as JSON Lines on standard output.
#include <cstdio>
#include <cstring>

#include "driver/CardFileChoice.h"
#include "driver/StandardStreams.h"
#include "script/ScriptRunner.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr const char* kUsage =
    "Usage: vymsetup-script [SCRIPT]\n"
    "       vymsetup-script --card FILE [SCRIPT]\n"
    "Runs VYM Card Setup with no screen. User actions come from SCRIPT (standard input when\n"
    "none is named, or when it is -); what the program shows goes to standard output as JSON\n"
    "Lines, one event a line.\n"
    "\n"
    "Script commands, one a line (# starts a comment line; quote words holding spaces):\n"
    "  pick CONTROL ENTRY   pick ENTRY (its text, e.g. 534, PnP, ---) in a combo box\n"
    "  click CONTROL        click a push button (OK, Cancel, \"Read Port\", Button1)\n"
    "  answer Yes|No        the answer to the next question a message box asks\n"
    "  show                 one combo event for each of the twelve combo boxes\n"
    "  pace off             skip the 20 ms pause after each written byte\n"
    "CONTROL is a control ID (1003) or a name (\"WSS I/O\", OK).\n"
    "\n"
    "Backups: before each write the card as it was is saved to a new file,\n"
    "eeprom-YYYYMMDD-HHMMSSZ.bin (the time in UTC), in the folder VYMCNF_BACKUPS names;\n"
    "without it in "
#ifdef _WIN32
    "%APPDATA%\\VYM Card Setup\\backups (a backups folder beside the program without\n"
    "APPDATA). "
#else
    "$XDG_STATE_HOME/vymcnf/backups (~/.local/state/vymcnf/backups).\n"
#endif
    "vymcnf backups lists them; vymcnf write BACKUP puts one back on the card.\n"
    "\n"
    "Environment: VYMCNF_BACKUPS the folder for backups; VYMCNF_EEPROM the emulated card's\n"
    "EEPROM file (--card wins over it); VYMCNF_DRIVE_C the folder that stands for c:\\\n"
    "(default: the current folder).\n"
    "\n"
    "Exit status, the first that applies:\n"
    "  2  a malformed script line, or bad usage\n"
    "  1  the card could not be opened, or a write was asked for and did not complete (a\n"
    "     failed write or read-back, a backup declined, a card without six devices, a\n"
    "     read-only card); also an internal failure\n"
    "  3  a line was refused (a disabled control, an entry the list does not hold)\n"
    "  0  otherwise\n"
    "A signal N during a write (SIGINT, SIGTERM, SIGHUP) lets the write and its check run to\n"
    "their end, then stops the run with status 128 + N, before all of the above.\n"
    "\n"
    "  -c, --card FILE   the card is the 2048-byte EEPROM image FILE (on Windows instead of\n"
    "                    the card's driver)\n"
    "  --help      show this text\n"
    "  --version   show the version\n";

int UsageError(const char* message, const char* argument = "") {
    std::fprintf(stderr, "vymsetup-script: %s%s\nTry 'vymsetup-script --help'.\n", message,
                 argument);
    return RUN_MALFORMED_SCRIPT;
}

int Run(int argc, char** argv) {
#ifdef _WIN32
    // Events end in a line feed alone on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const char* scriptPath = nullptr;
    const char* cardFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const int cardWords = CardOptionAt(argc, argv, i, &cardFile);
        if (cardWords < 0) {
            return UsageError(CARD_OPTION_WITHOUT_FILE);
        }
        if (cardWords > 0) {
            i += cardWords - 1;
            continue;
        }
        if (std::strcmp(argument, "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argument, "--version") == 0) {
            std::fputs("vymsetup-script " VYM_VERSION "\n", stdout);
            return 0;
        }
        if (argument[0] == '-' && std::strcmp(argument, "-") != 0) {
            return UsageError("unknown option ", argument);
        }
        if (scriptPath != nullptr) {
            return UsageError("only one SCRIPT can be given");
        }
        scriptPath = argument;
    }
    char problem[512];
    if (cardFile != nullptr && !SelectCardFile(cardFile, problem, sizeof problem)) {
        return UsageError(problem);
    }
    CFileTextSink events(stdout);
    if (scriptPath == nullptr || std::strcmp(scriptPath, "-") == 0) {
        CFileLineSource script(stdin);
        return RunScript(script, events);
    }
    std::FILE* file = std::fopen(scriptPath, "rb");
    if (file == nullptr) {
        return UsageError("cannot open the script ", scriptPath);
    }
    CFileLineSource script(file);
    const int status = RunScript(script, events);
    std::fclose(file);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Before anything is opened: a closed standard stream must not become the card's file, nor
    // the card be read as the script.
    if (OpenStandardStreams() == 0) {
        return RUN_INTERNAL_FAILURE;
    }
    return FinishStandardStreams("vymsetup-script", Run(argc, argv));
}
