#pragma once

#include <string>

#include "ui/SetupOutcome.h"

// What the terminal program says on standard error once its screen is gone: the screen's
// boxes vanish with it, and the user still needs to know what happened to the card and how
// to go back.

struct CEndOfRunText {
    std::string text;  // lines for standard error, each ending in a line feed; empty: nothing
    int exitStatus = 0;
};

// cardName is the card's file (or device); openProblem the plain words for a failed open
// (used only when the card could not be opened). Exit status: 0 done or cancelled, 1 when the
// card could not be opened or a write asked for did not complete.
CEndOfRunText EndOfRunText(const CSetupOutcome& outcome, const std::string& cardName,
                           const std::string& openProblem);
