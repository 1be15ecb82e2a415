#pragma once

#include <string>

// What the user asked vymcnf for. The parser is our own, a few lines over argv: the
// command-line libraries at hand print through iostreams, which the Windows 98 build of vymcnf
// does without.
enum class VymcnfCommand { None, Info, Read, Write, Verify, Backups, Diff, Convert, Help };

struct CCommandLine {
    VymcnfCommand command = VymcnfCommand::None;
    std::string file;        // the FILE operand (help: the COMMAND asked about); empty when none
    std::string secondFile;  // diff's FILE2, convert's file to write; empty when none was given
    std::string card;        // the card file of --card FILE; empty for the system's card
    bool json = false;
    bool force = false;
    bool all = false;
    bool dryRun = false;
    bool help = false;
    bool version = false;
    std::string error;  // a usage error; empty when the line is good
};

// Reads argv[1] to argv[argc - 1]: a command, its options and its FILE, in any order; "--"
// makes the next word FILE whatever it looks like. --help and --version win over everything
// else; any other mistake is a usage error.
CCommandLine ParseCommandLine(int argc, const char* const* argv);

// The name the user types for command.
const char* CommandName(VymcnfCommand command);
// The command a word names; None when it names none.
VymcnfCommand CommandNamed(const char* word);
