#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/DialogTemplate.h"

// The names a script may give the controls of a dialog: a control ID written in decimal, a
// push button's text, or the label that stands left of a combo box. Built from the dialog's
// template, so the names always follow the dialog as it is drawn.
class CControlNames {
public:
    enum class Kind { ComboBox, PushButton, Other };

    struct CNamedControl {
        int id = -1;
        Kind kind = Kind::Other;
        std::string label;  // combo box: the text left of it; push button: its text
    };

    explicit CControlNames(const CDialogTemplate& dialog);

    // The control a name stands for, or nullptr with reason set.
    const CNamedControl* FindComboBox(std::string_view name, std::string& reason) const;
    const CNamedControl* FindPushButton(std::string_view name, std::string& reason) const;

    // Combo boxes in control-ID order.
    const std::vector<CNamedControl>& ComboBoxes() const { return m_comboBoxes; }
    const CNamedControl* ComboBox(int id) const;

private:
    const CNamedControl* Find(std::string_view name, Kind wanted, std::string& reason) const;

    std::vector<CNamedControl> m_comboBoxes;
    std::vector<CNamedControl> m_others;    // push buttons and every other control with an ID
    std::vector<std::string> m_otherTexts;  // texts of controls without an ID (labels, groups)
};
