#pragma once

#include "framework/DialogTemplate.h"

// The setup dialog (102) and the write-progress dialog (129).
const CDialogTemplate& SetupDialogTemplate();
const CDialogTemplate& WriteEepromDialogTemplate();
