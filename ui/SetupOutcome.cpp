#include "ui/SetupOutcome.h"

namespace {
CSetupOutcome g_outcome;
}  // namespace

CSetupOutcome& SetupOutcome() {
    return g_outcome;
}

void ResetSetupOutcome() {
    g_outcome = CSetupOutcome{};
}
