#include "cli/Vymcnf.h"

#include <cstdio>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Usage.h"
#include "cli/WriteCommand.h"

int RunVymcnf(int argc, const char* const* argv, CConsole& console, CWriteListener* listener) {
    const CCommandLine line = ParseCommandLine(argc, argv);
    if (line.help) {
        std::fputs(VYMCNF_USAGE_TEXT, console.out);
        return VYMCNF_DONE;
    }
    if (line.version) {
        std::fputs("vymcnf " VYM_VERSION "\n", console.out);
        return VYMCNF_DONE;
    }
    if (!line.error.empty()) {
        std::fprintf(console.err, "vymcnf: %s\nTry 'vymcnf --help'.\n", line.error.c_str());
        return VYMCNF_USAGE;
    }
    switch (line.command) {
        case VymcnfCommand::Info:
            return InfoCommand(line.file, line.json, console);
        case VymcnfCommand::Read:
            return ReadCommand(line.file, line.force, console);
        case VymcnfCommand::Verify:
            return VerifyCommand(line.file, console);
        case VymcnfCommand::Backups:
            return BackupsCommand(console);
        case VymcnfCommand::Diff:
            return DiffCommand(line.file, line.secondFile, console);
        case VymcnfCommand::Write: {
            CWriteOptions options;
            options.all = line.all;
            options.force = line.force;
            options.dryRun = line.dryRun;
            if (listener != nullptr) {
                return WriteCommand(line.file, options, console, *listener);
            }
            if (console.errIsTerminal) {
                CProgressBar bar(console.err);
                return WriteCommand(line.file, options, console, bar);
            }
            CQuietListener quiet;
            return WriteCommand(line.file, options, console, quiet);
        }
        case VymcnfCommand::None:
            break;
    }
    return VYMCNF_USAGE;
}
