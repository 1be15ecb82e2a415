#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "docs/man/tools/ManPageText.h"
#include "terminal/KeyTable.h"

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(RoffText, WritesBackslashesAndHyphensSoTheyPrintAsTyped) {
    EXPECT_EQ(RoffText("c:\\tt.bin"), "c:\\ett.bin");
    EXPECT_EQ(RoffText("Shift-Tab, Alt-Down"), "Shift\\-Tab, Alt\\-Down");
    EXPECT_EQ(RoffText("next field or button"), "next field or button");
}

TEST(RoffText, NoLineStartsWithARequest) {
    EXPECT_EQ(RoffText(".profile"), "\\&.profile");
    EXPECT_EQ(RoffText("'quoted'"), "\\&'quoted'");
    EXPECT_EQ(RoffText("first\n.second\n'third"), "first\n\\&.second\n\\&'third");
    // Only at a line's start: elsewhere a dot is text.
    EXPECT_EQ(RoffText("a.b 'c'"), "a.b 'c'");
}

TEST(KeySection, EachHelpLineIsATaggedParagraphUnderItsPlace) {
    const std::vector<CKeyHelpSection> sections = {
        {"In the dialog", {{"Tab, Down", "next field"}, {"F1", "this help"}}},
        {"In a \"box\"", {{"Y, N", "Yes or No"}}},
    };
    EXPECT_EQ(KeySectionRoff(sections, "Mouse: a click\non a button"),
              ".SS \"In the dialog\"\n"
              ".TP\n\\fBTab, Down\\fR\nnext field\n"
              ".TP\n\\fBF1\\fR\nthis help\n"
              ".SS \"In a \\(dqbox\\(dq\"\n"
              ".TP\n\\fBY, N\\fR\nYes or No\n"
              ".PP\nMouse: a click\non a button\n");
}

TEST(KeySection, HoldsEveryLineOfTheProgramsKeyHelp) {
    const std::vector<CKeyHelpSection> sections = KeyHelpSections();
    const std::string roff = KeySectionRoff(sections, MouseHelpText());
    std::size_t lines = 0;
    std::size_t previous = 0;
    for (const CKeyHelpSection& section : sections) {
        for (const CKeyHelpLine& line : section.lines) {
            const std::string paragraph =
                ".TP\n\\fB" + RoffText(line.keys) + "\\fR\n" + RoffText(line.help) + "\n";
            const std::size_t at = roff.find(paragraph, previous);
            ASSERT_NE(at, std::string::npos) << line.keys << ": " << line.help;
            previous = at;  // in the order of the help
            ++lines;
        }
    }
    EXPECT_EQ(Count(roff, ".TP\n"), lines);
    EXPECT_EQ(Count(roff, ".SS "), sections.size());
    for (const CKeyBinding& binding : KeyBindings()) {
        EXPECT_NE(roff.find(RoffText(binding.keyName)), std::string::npos) << binding.keyName;
    }
}

TEST(InsertKeySection, ReplacesTheMarkerLineAndNothingElse) {
    std::string page = ".SH KEYS\nF1 shows them.\n.\\\" KEY-TABLE\n.SH FILES\n";
    ASSERT_EQ(InsertKeySection(page, ".TP\nkeys\n"), 1);
    EXPECT_EQ(page, ".SH KEYS\nF1 shows them.\n.TP\nkeys\n.SH FILES\n");

    std::string last = ".SH KEYS\n.\\\" KEY-TABLE";
    ASSERT_EQ(InsertKeySection(last, ".TP\nkeys\n"), 1);
    EXPECT_EQ(last, ".SH KEYS\n.TP\nkeys\n");
}

TEST(InsertKeySection, RefusesAPageWithoutExactlyOneMarker) {
    const std::string none = ".SH KEYS\ntext .\\\" KEY-TABLE\n.\\\" KEY-TABLES\n";
    std::string page = none;
    EXPECT_EQ(InsertKeySection(page, "x\n"), 0);
    EXPECT_EQ(page, none);

    const std::string twice = ".\\\" KEY-TABLE\n.SH FILES\n.\\\" KEY-TABLE\n";
    page = twice;
    EXPECT_EQ(InsertKeySection(page, "x\n"), 0);
    EXPECT_EQ(page, twice);
}

}  // namespace
