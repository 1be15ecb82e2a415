#pragma once

#include "cli/Console.h"
#include "cli/WriteProgress.h"

// The whole of vymcnf for one command line: parses argv, runs the command on the card, and
// returns the exit status. listener is told how a write goes; nullptr: a progress bar when
// err is a terminal.
int RunVymcnf(int argc, const char* const* argv, CConsole& console,
              CWriteListener* listener = nullptr);
