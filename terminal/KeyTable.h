#pragma once

#include <span>
#include <string>
#include <vector>

// The keys the terminal program knows, apart from how a terminal encodes them.
enum class EKey {
    kNone,
    kTab,
    kBackTab,  // Shift-Tab
    kUp,
    kDown,
    kLeft,
    kRight,
    kPageUp,
    kPageDown,
    kHome,
    kEnd,
    kEnter,
    kEscape,
    kSpace,
    kAltDown,
    kF1,
    kF4,
    kF11,
    kF12,
    kCharacter,  // any other printable character
};

struct CKeyEvent {
    EKey key = EKey::kNone;
    char character = 0;  // for kCharacter
};

// What a key does; every key the program reacts to is a row of the one table below.
enum class ECommand {
    kNothing,
    kFocusNext,
    kFocusPrevious,
    kDropDown,
    kPressFocused,  // Space on a push button
    kPressDefault,  // the focused push button, else the default button
    kCancel,
    kHelp,
    kReadPort,  // the hidden diagnostic dump button
    kWriteNow,  // the hidden "write at once" button
    kListUp,
    kListDown,
    kListPageUp,
    kListPageDown,
    kListFirst,
    kListLast,
    kListJump,  // to the next entry starting with the typed character
    kListPick,
    kListClose,
    kAnswerYes,
    kAnswerNo,
};

// Where the key is pressed: the context decides the command.
enum class EKeyContext {
    kDialog,      // anywhere in a dialog with no list open
    kOnComboBox,  // the focus is on a combo box (falls back to kDialog)
    kOnButton,    // the focus is on a push button (falls back to kDialog)
    kOpenList,    // a combo box's list is open
    kMessageBox,  // a message box or the key help
};

struct CKeyBinding {
    EKeyContext context;
    EKey key;
    char character;  // for kCharacter: the letter (either case), 0 for any printable one
    ECommand command;
    const char* keyName;
    const char* help;  // bindings of one context with the same help share a line of the help
};

std::span<const CKeyBinding> KeyBindings();

// The command of a key in a context; on a combo box or a button the dialog's keys apply too.
ECommand CommandFor(EKeyContext context, const CKeyEvent& event);

// The key help as lines: every binding of the table, grouped by where it works, keys with the
// same meaning on one line. The F1 help and the manual page are both made from it.
struct CKeyHelpLine {
    std::string keys;  // "Tab, Down, Right"
    std::string help;
};

struct CKeyHelpSection {
    const char* title;  // "In the dialog"
    std::vector<CKeyHelpLine> lines;
};

std::vector<CKeyHelpSection> KeyHelpSections();

// What the mouse does, after the keys.
const char* MouseHelpText();

// The text of the key help (F1): the sections, then the mouse.
std::string KeyHelpText();
