#pragma once

#include <span>

#include "cli/CommandLine.h"

// Each command's own help, what `vymcnf help COMMAND` and `vymcnf COMMAND --help` print: its
// usage line, what it does, its options and examples. One entry a command, in the order the
// general help lists them; a new command adds its entry to the table in CommandHelp.cpp.
struct CCommandHelp {
    VymcnfCommand command;
    const char* usage;     // "vymcnf write [--all] [--force] FILE"
    const char* text;      // what it does and its options, lines ending in \n
    const char* examples;  // example command lines with what they do, lines ending in \n
};

std::span<const CCommandHelp> CommandHelps();

// The help of command; nullptr for a command that has none (VymcnfCommand::None).
const CCommandHelp* CommandHelpOf(VymcnfCommand command);
