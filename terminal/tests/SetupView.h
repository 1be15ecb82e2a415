#pragma once

#include <string>
#include <vector>

#include "terminal/DialogView.h"

// The setup dialog's view with the factory card's lists and selections, for the tests.
CDialogView FilledSetupView();

// The control with an ID, and its index in the view.
CControlView* ControlById(CDialogView& view, int id);
int IndexOfId(const CDialogView& view, int id);
