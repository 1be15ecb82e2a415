#pragma once

#include <string>
#include <vector>

#include "framework/DialogTemplate.h"
#include "framework/WindowState.h"

// What the terminal shows of one dialog: the template's geometry in dialog units together with
// the live state of every control. The host fills it from the framework's windows before each
// paint; the painter and the input handling read nothing else, so both can be tested on
// hand-made views.
enum class EControlKind { kPushButton, kGroupBox, kStatic, kComboBox, kProgress, kOther };

struct CControlView {
    int id = -1;
    EControlKind kind = EControlKind::kOther;
    std::string text;  // caption of a button, group box or static; shown text of a combo box
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units, as in the template
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    bool isDefault = false;             // the default push button
    std::vector<std::string> entries;   // combo box list, in list order
    int selection = -1;                 // combo box: selected entry, -1 for none
    int rangeLow = 0, rangeHigh = 100;  // progress bar
    int position = 0;
};

struct CDialogView {
    std::string caption;
    int cx = 0, cy = 0;                  // client size in dialog units
    std::vector<CControlView> controls;  // template order, which is the tab order
    int focus = -1;                      // index of the control with the focus, -1 for none
};

// What the terminal draws for a window of the framework's kind with the given style.
EControlKind ControlKindOf(framework::WindowKind kind, std::uint32_t style);
// The kind of control a template item makes, from its class and style.
EControlKind ControlKindOf(const CDialogItemTemplate& item);

// A view of the template with every control in its initial state (texts from the template,
// combo boxes empty, visible and enabled as the style says).
CDialogView ViewFromTemplate(const CDialogTemplate& dialogTemplate);

// Whether the user can move the focus to this control with Tab.
bool IsFocusable(const CControlView& control);
