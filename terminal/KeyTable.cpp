#include "terminal/KeyTable.h"

#include <algorithm>
#include <utility>

#include "text/AsciiCase.h"

namespace {

using enum EKey;
using enum ECommand;
using enum EKeyContext;

constexpr CKeyBinding kBindings[] = {
    {kDialog, kTab, 0, kFocusNext, "Tab", "next field or button"},
    {kDialog, kDown, 0, kFocusNext, "Down", "next field or button"},
    {kDialog, kRight, 0, kFocusNext, "Right", "next field or button"},
    {kDialog, kBackTab, 0, kFocusPrevious, "Shift-Tab", "previous field or button"},
    {kDialog, kUp, 0, kFocusPrevious, "Up", "previous field or button"},
    {kDialog, kLeft, 0, kFocusPrevious, "Left", "previous field or button"},
    {kOnComboBox, kSpace, 0, kDropDown, "Space", "open the list of the field"},
    {kOnComboBox, kF4, 0, kDropDown, "F4", "open the list of the field"},
    {kOnComboBox, kAltDown, 0, kDropDown, "Alt-Down", "open the list of the field"},
    {kOnButton, kSpace, 0, kPressFocused, "Space", "press the button"},
    {kDialog, kEnter, 0, kPressDefault, "Enter", "press the button; on a field: OK"},
    {kDialog, kEscape, 0, kCancel, "Escape", "Cancel: leave, write nothing"},
    {kDialog, kF1, 0, kHelp, "F1", "this help"},
    // The hidden buttons, for technicians; F12 skips OK's question and overlap check, which a
    // user who meets it in this list must be told before trying it.
    {kDialog, kF11, 0, kReadPort, "F11", "technician: Read Port, dump the EEPROM start"},
    {kDialog, kF12, 0, kWriteNow, "F12", "technician: writes at once, without the question"},
    {kOpenList, kUp, 0, kListUp, "Up", "move in the list"},
    {kOpenList, kDown, 0, kListDown, "Down", "move in the list"},
    {kOpenList, kPageUp, 0, kListPageUp, "Page Up", "move in the list"},
    {kOpenList, kPageDown, 0, kListPageDown, "Page Down", "move in the list"},
    {kOpenList, kHome, 0, kListFirst, "Home", "move in the list"},
    {kOpenList, kEnd, 0, kListLast, "End", "move in the list"},
    {kOpenList, kCharacter, 0, kListJump, "a character", "next entry starting with it"},
    {kOpenList, kEnter, 0, kListPick, "Enter", "pick the entry"},
    {kOpenList, kEscape, 0, kListClose, "Escape", "close the list, pick nothing"},
    {kOpenList, kF1, 0, kHelp, "F1", "this help"},
    {kMessageBox, kUp, 0, kListUp, "Up", "scroll a long text"},
    {kMessageBox, kDown, 0, kListDown, "Down", "scroll a long text"},
    {kMessageBox, kPageUp, 0, kListPageUp, "Page Up", "scroll a long text"},
    {kMessageBox, kPageDown, 0, kListPageDown, "Page Down", "scroll a long text"},
    {kMessageBox, kTab, 0, kFocusNext, "Tab", "other button"},
    {kMessageBox, kRight, 0, kFocusNext, "Right", "other button"},
    {kMessageBox, kBackTab, 0, kFocusPrevious, "Shift-Tab", "other button"},
    {kMessageBox, kLeft, 0, kFocusPrevious, "Left", "other button"},
    {kMessageBox, kEnter, 0, kPressDefault, "Enter", "press the button"},
    {kMessageBox, kSpace, 0, kPressDefault, "Space", "press the button"},
    {kMessageBox, kCharacter, 'y', kAnswerYes, "Y", "Yes or No"},
    {kMessageBox, kCharacter, 'n', kAnswerNo, "N", "Yes or No"},
    {kMessageBox, kEscape, 0, kCancel, "Escape", "No; OK where it is the only button"},
};

const char* ContextTitle(EKeyContext context) {
    switch (context) {
        case kDialog:
            return "In the dialog";
        case kOnComboBox:
            return "On a field";
        case kOnButton:
            return "On a button";
        case kOpenList:
            return "In an open list";
        case kMessageBox:
            return "In a message box";
    }
    return "";
}

bool Matches(const CKeyBinding& binding, EKeyContext context, const CKeyEvent& event) {
    if (binding.context != context || binding.key != event.key) {
        return false;
    }
    return event.key != kCharacter || binding.character == 0 ||
           binding.character == AsciiLowerCase(event.character);
}

}  // namespace

std::span<const CKeyBinding> KeyBindings() {
    return kBindings;
}

ECommand CommandFor(EKeyContext context, const CKeyEvent& event) {
    for (const CKeyBinding& binding : kBindings) {
        if (Matches(binding, context, event)) {
            return binding.command;
        }
    }
    if (context == kOnComboBox || context == kOnButton) {
        return CommandFor(kDialog, event);
    }
    return kNothing;
}

std::vector<CKeyHelpSection> KeyHelpSections() {
    constexpr EKeyContext kOrder[] = {kDialog, kOnComboBox, kOnButton, kOpenList, kMessageBox};
    std::vector<CKeyHelpSection> sections;
    for (EKeyContext context : kOrder) {
        CKeyHelpSection section{ContextTitle(context), {}};
        for (const CKeyBinding& binding : kBindings) {
            if (binding.context != context) {
                continue;
            }
            auto same =
                std::find_if(section.lines.begin(), section.lines.end(),
                             [&](const CKeyHelpLine& line) { return line.help == binding.help; });
            if (same == section.lines.end()) {
                section.lines.push_back({binding.keyName, binding.help});
            } else {
                same->keys += ", ";
                same->keys += binding.keyName;
            }
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

const char* MouseHelpText() {
    return "Mouse: a click on a field opens its list, on an entry picks it,\n"
           "on a button presses it; a click beside an open list closes it.";
}

std::string KeyHelpText() {
    constexpr std::size_t kHelpColumn = 26;
    std::string text;
    for (const CKeyHelpSection& section : KeyHelpSections()) {
        text += section.title;
        text += ":\n";
        for (const CKeyHelpLine& line : section.lines) {
            std::string keys = "  " + line.keys;
            keys.resize(std::max(keys.size() + 2, kHelpColumn), ' ');
            text += keys + line.help + '\n';
        }
    }
    text += MouseHelpText();
    return text;
}
