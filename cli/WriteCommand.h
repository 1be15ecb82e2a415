#pragma once

#include <string>

#include "cli/Console.h"
#include "cli/WriteProgress.h"

struct CWriteOptions {
    bool all = false;     // every byte, not only those that differ
    bool force = false;   // an image the checks before the write refuse
    bool dryRun = false;  // only say what would change on the card
};

// `vymcnf write FILE`: checks the image, reads the card, saves it as a backup, writes the bytes
// of the plan with the card's pause after each, and reads the whole card back. Ctrl-C (see
// Interrupt.h) stops it between two bytes. Returns an exit status.
int WriteCommand(const std::string& file, const CWriteOptions& options, CConsole& console,
                 CWriteListener& listener);
