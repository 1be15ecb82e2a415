#include "cli/Vymcnf.h"

#include <cstdio>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Usage.h"
#include "cli/WriteCommand.h"
#include "driver/CardFileChoice.h"

namespace {

// The card file of one run; an in-process caller (a test) gets its earlier choice back after it.
class CCardFileForRun {
public:
    CCardFileForRun() : m_earlier(SelectedCardFile()) {}
    ~CCardFileForRun() { SelectCardFile(m_earlier, nullptr, 0); }
    CCardFileForRun(const CCardFileForRun&) = delete;
    CCardFileForRun& operator=(const CCardFileForRun&) = delete;

private:
    const char* m_earlier;
};

int RunCommand(const CCommandLine& line, CConsole& console, CWriteListener* listener) {
    switch (line.command) {
        case VymcnfCommand::Info:
            return InfoCommand(line.file, line.json, console);
        case VymcnfCommand::Read:
            return ReadCommand(line.file, line.force, console);
        case VymcnfCommand::Verify:
            return VerifyCommand(line.file, console);
        case VymcnfCommand::Backups:
            return BackupsCommand(console);
        case VymcnfCommand::Convert:
            return ConvertCommand(line.file, line.output, line.force, console);
        case VymcnfCommand::Write: {
            CWriteOptions options;
            options.all = line.all;
            options.force = line.force;
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

}  // namespace

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
    CCardFileForRun cardFile;
    if (!line.card.empty()) {
        char problem[512];
        if (SelectCardFile(line.card.c_str(), problem, sizeof problem) == 0) {
            std::fprintf(console.err, "vymcnf: %s\n", problem);
            return VYMCNF_USAGE;
        }
    }
    return RunCommand(line, console, listener);
}
