#include "cli/Vymcnf.h"

#include <cstdio>

#include "cli/BackupLookup.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Usage.h"
#include "cli/WriteCommand.h"
#include "driver/CardFileChoice.h"

namespace {

// vymcnf --help and vymcnf help: the general text; vymcnf COMMAND --help and vymcnf help
// COMMAND: that command's own.
void PrintHelp(const CCommandLine& line, CConsole& console) {
    VymcnfCommand topic = line.command;
    if (topic == VymcnfCommand::Help && !line.file.empty()) {
        topic = CommandNamed(line.file.c_str());
    }
    const CCommandHelp* help = topic == VymcnfCommand::Help && line.file.empty() && !line.help
                                   ? nullptr
                                   : CommandHelpOf(topic);
    if (help == nullptr) {
        std::fputs(VYMCNF_USAGE_TEXT, console.out);
        return;
    }
    std::fprintf(console.out, "Usage: %s\n%s\nExamples:\n%s", help->usage, help->text,
                 help->examples);
}

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
    // The commands that read an image find a backup by its bare name; read saves one, and
    // names exactly the file the user gave.
    const std::string image = FindImageFile(line.file);
    switch (line.command) {
        case VymcnfCommand::Info:
            return InfoCommand(image, line.json, console);
        case VymcnfCommand::Read:
            return ReadCommand(line.file, line.force, console);
        case VymcnfCommand::Verify:
            return VerifyCommand(image, console);
        case VymcnfCommand::Backups:
            return BackupsCommand(console);
        case VymcnfCommand::Diff:
            return DiffCommand(line.file, line.secondFile, console);
        case VymcnfCommand::Convert:
            return ConvertCommand(line.file, line.secondFile, line.force, console);
        case VymcnfCommand::Write: {
            CWriteOptions options;
            options.all = line.all;
            options.force = line.force;
            options.dryRun = line.dryRun;
            if (listener != nullptr) {
                return WriteCommand(image, options, console, *listener);
            }
            if (console.errIsTerminal) {
                CProgressBar bar(console.err);
                return WriteCommand(image, options, console, bar);
            }
            CQuietListener quiet;
            return WriteCommand(image, options, console, quiet);
        }
        case VymcnfCommand::Help:
        case VymcnfCommand::None:
            break;
    }
    return VYMCNF_USAGE;
}

}  // namespace

int RunVymcnf(int argc, const char* const* argv, CConsole& console, CWriteListener* listener) {
    const CCommandLine line = ParseCommandLine(argc, argv);
    if (line.help || (line.command == VymcnfCommand::Help && line.error.empty())) {
        PrintHelp(line, console);
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
