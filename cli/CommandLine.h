#pragma once

#include <string>

// What the user asked vymcnf for. The parser is our own, a few lines over argv: the
// command-line libraries at hand print through iostreams, which the Windows 98 build of vymcnf
// does without.
enum class VymcnfCommand { None, Info, Read, Write, Verify, Backups, Convert };

struct CCommandLine {
    VymcnfCommand command = VymcnfCommand::None;
    std::string file;    // the FILE operand; empty when none was given
    std::string output;  // convert's second FILE, the one it writes
    std::string card;    // the card file of --card FILE; empty for the system's card
    bool json = false;
    bool force = false;
    bool all = false;
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
