#include "cli/CommandLine.h"

#include <cstring>

#include "driver/CardFileChoice.h"

namespace {

struct CCommandSpelling {
    const char* name;
    VymcnfCommand command;
};

constexpr CCommandSpelling kCommands[] = {
    {"info", VymcnfCommand::Info},       {"read", VymcnfCommand::Read},
    {"write", VymcnfCommand::Write},     {"verify", VymcnfCommand::Verify},
    {"backups", VymcnfCommand::Backups}, {"diff", VymcnfCommand::Diff},
    {"convert", VymcnfCommand::Convert}, {"help", VymcnfCommand::Help},
};

bool TakesFile(VymcnfCommand command) {
    return command != VymcnfCommand::Backups;
}

bool NeedsFile(VymcnfCommand command) {
    return command == VymcnfCommand::Read || command == VymcnfCommand::Write ||
           command == VymcnfCommand::Verify || command == VymcnfCommand::Diff ||
           command == VymcnfCommand::Convert;
}

// FILE operands a command takes at most.
int MostFiles(VymcnfCommand command) {
    return command == VymcnfCommand::Diff || command == VymcnfCommand::Convert ? 2 : 1;
}

// The mistakes a complete line can still hold, in the order a user would want to hear them.
std::string CheckLine(const CCommandLine& line, int operands) {
    const std::string name = CommandName(line.command);
    if (line.command == VymcnfCommand::None) {
        return "no command given";
    }
    if (line.command == VymcnfCommand::Help) {
        if (operands > 1) {
            return "help takes one COMMAND";
        }
        if (operands == 1 && (CommandNamed(line.file.c_str()) == VymcnfCommand::None)) {
            return "help: no command " + line.file;
        }
        return std::string();
    }
    if (!TakesFile(line.command) && operands > 0) {
        return name + " takes no FILE";
    }
    if (line.command == VymcnfCommand::Convert && operands != 2) {
        return "convert needs two FILEs: the image to read and the one to write";
    }
    if (operands > MostFiles(line.command)) {
        return name +
               (MostFiles(line.command) == 2 ? " takes one or two FILEs" : " takes one FILE");
    }
    if (NeedsFile(line.command) && operands == 0) {
        return name + " needs a FILE";
    }
    if (line.json && line.command != VymcnfCommand::Info) {
        return "--json goes with info only";
    }
    if (line.all && line.command != VymcnfCommand::Write) {
        return "--all goes with write only";
    }
    if (line.dryRun && line.command != VymcnfCommand::Write) {
        return "--dry-run goes with write only";
    }
    if (line.force && line.command != VymcnfCommand::Read && line.command != VymcnfCommand::Write &&
        line.command != VymcnfCommand::Convert) {
        return "--force goes with read, write and convert only";
    }
    return std::string();
}

}  // namespace

VymcnfCommand CommandNamed(const char* word) {
    for (const CCommandSpelling& spelling : kCommands) {
        if (std::strcmp(spelling.name, word) == 0) {
            return spelling.command;
        }
    }
    return VymcnfCommand::None;
}

const char* CommandName(VymcnfCommand command) {
    for (const CCommandSpelling& spelling : kCommands) {
        if (spelling.command == command) {
            return spelling.name;
        }
    }
    return "";
}

CCommandLine ParseCommandLine(int argc, const char* const* argv) {
    CCommandLine line;
    int operands = 0;
    bool optionsEnded = false;
    std::string firstError;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        const char* card = nullptr;
        const int cardWords = optionsEnded ? 0 : CardOptionAt(argc, argv, i, &card);
        if (cardWords < 0 && firstError.empty()) {
            firstError = CARD_OPTION_WITHOUT_FILE;
        }
        if (cardWords < 0) {
            continue;
        }
        if (cardWords > 0) {
            line.card = card;
            i += cardWords - 1;
            continue;
        }
        const bool isOption = !optionsEnded && word[0] == '-' && word[1] != '\0';
        if (isOption) {
            if (std::strcmp(word, "--") == 0) {
                optionsEnded = true;
            } else if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0) {
                line.help = true;
            } else if (std::strcmp(word, "--version") == 0) {
                line.version = true;
            } else if (std::strcmp(word, "--json") == 0) {
                line.json = true;
            } else if (std::strcmp(word, "--force") == 0) {
                line.force = true;
            } else if (std::strcmp(word, "--all") == 0) {
                line.all = true;
            } else if (std::strcmp(word, "--dry-run") == 0) {
                line.dryRun = true;
            } else if (firstError.empty()) {
                firstError = std::string("unknown option ") + word;
            }
            continue;
        }
        if (line.command == VymcnfCommand::None && !optionsEnded) {
            line.command = CommandNamed(word);
            if (line.command == VymcnfCommand::None && firstError.empty()) {
                firstError = std::string("unknown command ") + word;
            }
            continue;
        }
        if (operands == 0) {
            line.file = word;
        } else if (operands == 1) {
            line.secondFile = word;
        }
        ++operands;
    }
    if (line.help || line.version) {
        return line;
    }
    line.error = !firstError.empty() ? firstError : CheckLine(line, operands);
    return line;
}
