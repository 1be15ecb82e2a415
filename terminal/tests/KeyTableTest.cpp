#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "terminal/KeyTable.h"
#include "testsupport/FileContents.h"

namespace {

CKeyEvent Key(EKey key) {
    return {key, 0};
}

CKeyEvent Character(char ch) {
    return {EKey::kCharacter, ch};
}

TEST(KeyTable, NoBindingIsHiddenBehindAnEarlierOne) {
    std::set<std::tuple<EKeyContext, EKey, char>> seen;
    for (const CKeyBinding& binding : KeyBindings()) {
        EXPECT_TRUE(seen.insert({binding.context, binding.key, binding.character}).second)
            << binding.keyName << " twice in one context";
    }
}

TEST(KeyTable, EveryBindingIsWhatItsKeyDoes) {
    for (const CKeyBinding& binding : KeyBindings()) {
        CKeyEvent event{binding.key, binding.character != 0 ? binding.character : 'q'};
        EXPECT_EQ(CommandFor(binding.context, event), binding.command) << binding.keyName;
    }
}

TEST(KeyTable, SpaceOpensAFieldButPressesAButton) {
    EXPECT_EQ(CommandFor(EKeyContext::kOnComboBox, Key(EKey::kSpace)), ECommand::kDropDown);
    EXPECT_EQ(CommandFor(EKeyContext::kOnButton, Key(EKey::kSpace)), ECommand::kPressFocused);
    EXPECT_EQ(CommandFor(EKeyContext::kOnComboBox, Key(EKey::kF4)), ECommand::kDropDown);
    EXPECT_EQ(CommandFor(EKeyContext::kOnComboBox, Key(EKey::kAltDown)), ECommand::kDropDown);
    // F4 on a button opens nothing.
    EXPECT_EQ(CommandFor(EKeyContext::kOnButton, Key(EKey::kF4)), ECommand::kNothing);
}

TEST(KeyTable, DialogKeysWorkOnFieldsAndButtons) {
    for (EKeyContext context : {EKeyContext::kOnComboBox, EKeyContext::kOnButton}) {
        EXPECT_EQ(CommandFor(context, Key(EKey::kTab)), ECommand::kFocusNext);
        EXPECT_EQ(CommandFor(context, Key(EKey::kBackTab)), ECommand::kFocusPrevious);
        EXPECT_EQ(CommandFor(context, Key(EKey::kEnter)), ECommand::kPressDefault);
        EXPECT_EQ(CommandFor(context, Key(EKey::kEscape)), ECommand::kCancel);
        EXPECT_EQ(CommandFor(context, Key(EKey::kF1)), ECommand::kHelp);
        EXPECT_EQ(CommandFor(context, Key(EKey::kF11)), ECommand::kReadPort);
        EXPECT_EQ(CommandFor(context, Key(EKey::kF12)), ECommand::kWriteNow);
    }
}

TEST(KeyTable, AnOpenListTakesItsOwnKeysAndNoDialogKeys) {
    EXPECT_EQ(CommandFor(EKeyContext::kOpenList, Key(EKey::kEnter)), ECommand::kListPick);
    EXPECT_EQ(CommandFor(EKeyContext::kOpenList, Key(EKey::kEscape)), ECommand::kListClose);
    EXPECT_EQ(CommandFor(EKeyContext::kOpenList, Key(EKey::kDown)), ECommand::kListDown);
    EXPECT_EQ(CommandFor(EKeyContext::kOpenList, Character('7')), ECommand::kListJump);
    EXPECT_EQ(CommandFor(EKeyContext::kOpenList, Key(EKey::kTab)), ECommand::kNothing);
    EXPECT_EQ(CommandFor(EKeyContext::kOpenList, Key(EKey::kF12)), ECommand::kNothing);
}

TEST(KeyTable, MessageBoxLettersAnswerInEitherCase) {
    EXPECT_EQ(CommandFor(EKeyContext::kMessageBox, Character('y')), ECommand::kAnswerYes);
    EXPECT_EQ(CommandFor(EKeyContext::kMessageBox, Character('Y')), ECommand::kAnswerYes);
    EXPECT_EQ(CommandFor(EKeyContext::kMessageBox, Character('N')), ECommand::kAnswerNo);
    EXPECT_EQ(CommandFor(EKeyContext::kMessageBox, Character('x')), ECommand::kNothing);
    // Characters do nothing in the dialog itself.
    EXPECT_EQ(CommandFor(EKeyContext::kDialog, Character('y')), ECommand::kNothing);
}

TEST(KeyHelp, ListsEveryKeyAndWhatItDoes) {
    const std::string help = KeyHelpText();
    for (const CKeyBinding& binding : KeyBindings()) {
        EXPECT_NE(help.find(binding.keyName), std::string::npos) << binding.keyName;
        EXPECT_NE(help.find(binding.help), std::string::npos) << binding.help;
    }
    EXPECT_NE(help.find("Mouse"), std::string::npos);
}

TEST(KeyHelp, KeysOfTheSameMeaningShareALine) {
    const std::string help = KeyHelpText();
    EXPECT_NE(help.find("Tab, Down, Right"), std::string::npos);
    EXPECT_NE(help.find("Space, F4, Alt-Down"), std::string::npos);
    // Every line fits a message box on an 80-column terminal.
    std::size_t start = 0;
    while (start < help.size()) {
        std::size_t end = help.find('\n', start);
        if (end == std::string::npos) {
            end = help.size();
        }
        EXPECT_LE(end - start, 74u) << help.substr(start, end - start);
        start = end + 1;
    }
}

// The hidden buttons' keys say whom they are for, and F12 that it writes without asking: the
// help list is where a user meets them.
TEST(KeyHelp, TechnicianKeysAreMarkedAndF12WarnsThatItDoesNotAsk) {
    for (const CKeyBinding& binding : KeyBindings()) {
        const std::string help = binding.help;
        if (binding.command == ECommand::kReadPort || binding.command == ECommand::kWriteNow) {
            EXPECT_EQ(help.rfind("technician: ", 0), 0u) << help;
        } else {
            EXPECT_EQ(help.find("technician"), std::string::npos) << help;
        }
        if (binding.command == ECommand::kWriteNow) {
            EXPECT_NE(help.find("without the question"), std::string::npos) << help;
        }
    }
    const std::string text = KeyHelpText();
    EXPECT_NE(text.find("F12                     technician: writes at once, without the question"),
              std::string::npos);
}

// The user's documentation lists the same keys with the same words as the program's help.
TEST(KeyHelp, TheDocumentationListsEveryKey) {
    const std::string doc = FileText(VYM_SOURCE_DIR "/docs/terminal.md");
    ASSERT_FALSE(doc.empty());
    for (const CKeyBinding& binding : KeyBindings()) {
        EXPECT_NE(doc.find(binding.keyName), std::string::npos) << binding.keyName;
        EXPECT_NE(doc.find(std::string("| ") + binding.help + " |"), std::string::npos)
            << binding.help;
    }
}

}  // namespace
