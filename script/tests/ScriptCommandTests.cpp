#include <gtest/gtest.h>

#include <random>

#include "script/ScriptCommand.h"

namespace {

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::string reason;
    EXPECT_EQ(SplitScriptWords(line, words, reason), 1) << reason;
    return words;
}

std::string SplitFailure(std::string_view line) {
    std::vector<std::string> words;
    std::string reason;
    EXPECT_EQ(SplitScriptWords(line, words, reason), 0) << line;
    return reason;
}

TEST(ScriptWords, SpacesAndTabsSeparateAndRepeatFreely) {
    EXPECT_EQ(Words("pick  1003\t534 "), (std::vector<std::string>{"pick", "1003", "534"}));
    EXPECT_TRUE(Words("   \t ").empty());
}

TEST(ScriptWords, QuotedWordKeepsItsSpaces) {
    EXPECT_EQ(Words("pick \"WSS I/O\" 534"), (std::vector<std::string>{"pick", "WSS I/O", "534"}));
    EXPECT_EQ(Words("click \"\""), (std::vector<std::string>{"click", ""}));
    EXPECT_EQ(Words("pick \"Midi-2 IRQ\"\t\"---\""),
              (std::vector<std::string>{"pick", "Midi-2 IRQ", "---"}));
}

TEST(ScriptWords, CarriageReturnOfWindowsLineEndIsDropped) {
    EXPECT_EQ(Words("click OK\r"), (std::vector<std::string>{"click", "OK"}));
    EXPECT_EQ(Words("click \"Read Port\"\r"), (std::vector<std::string>{"click", "Read Port"}));
}

TEST(ScriptWords, BadQuotingIsRefusedWithAReason) {
    EXPECT_EQ(SplitFailure("pick \"WSS I/O 534"), "a quoted argument is not closed");
    EXPECT_EQ(SplitFailure("pick \"WSS\"IRQ 5"), "text right after the closing quote of \"WSS\"");
    EXPECT_EQ(SplitFailure("pick WSS\"IRQ\" 5"),
              "a quote inside the unquoted argument starting \"WSS\"");
}

TEST(ScriptCommands, BlankAndCommentLinesAreSkipped) {
    EXPECT_EQ(ParseScriptCommand("").kind, CScriptCommandKind::Skip);
    EXPECT_EQ(ParseScriptCommand("\r").kind, CScriptCommandKind::Skip);
    EXPECT_EQ(ParseScriptCommand("# pick 1003 ---").kind, CScriptCommandKind::Skip);
    EXPECT_EQ(ParseScriptCommand("   # indented").kind, CScriptCommandKind::Skip);
    // A comment may hold anything, an unclosed quote included.
    EXPECT_EQ(ParseScriptCommand("# say \"hello").kind, CScriptCommandKind::Skip);
}

TEST(ScriptCommands, EachCommandWithItsArguments) {
    const CScriptCommand pick = ParseScriptCommand("pick \"WSS IRQ\" PnP");
    EXPECT_EQ(pick.kind, CScriptCommandKind::Pick);
    EXPECT_EQ(pick.arguments, (std::vector<std::string>{"WSS IRQ", "PnP"}));
    const CScriptCommand click = ParseScriptCommand("click 1015");
    EXPECT_EQ(click.kind, CScriptCommandKind::Click);
    EXPECT_EQ(click.arguments, (std::vector<std::string>{"1015"}));
    EXPECT_EQ(ParseScriptCommand("answer Yes").kind, CScriptCommandKind::Answer);
    EXPECT_EQ(ParseScriptCommand("answer No").arguments, (std::vector<std::string>{"No"}));
    EXPECT_EQ(ParseScriptCommand("show").kind, CScriptCommandKind::Show);
    EXPECT_EQ(ParseScriptCommand("pace off").kind, CScriptCommandKind::PaceOff);
}

TEST(ScriptCommands, HashAfterACommandIsAnArgumentNotAComment) {
    const CScriptCommand command = ParseScriptCommand("show # all of them");
    EXPECT_EQ(command.kind, CScriptCommandKind::Malformed);
    EXPECT_EQ(command.reason, "show takes 0 arguments (show), not 4");
}

TEST(ScriptCommands, WrongArgumentCountsAreMalformed) {
    EXPECT_EQ(ParseScriptCommand("pick 1003").reason,
              "pick takes 2 arguments (pick CONTROL ENTRY), not 1");
    EXPECT_EQ(ParseScriptCommand("pick 1003 5 3").reason,
              "pick takes 2 arguments (pick CONTROL ENTRY), not 3");
    EXPECT_EQ(ParseScriptCommand("click").reason, "click takes 1 argument (click CONTROL), not 0");
    EXPECT_EQ(ParseScriptCommand("answer").reason,
              "answer takes 1 argument (answer Yes|No), not 0");
    EXPECT_EQ(ParseScriptCommand("pace").reason, "pace takes 1 argument (pace off), not 0");
}

TEST(ScriptCommands, FixedWordsAreCheckedExactly) {
    EXPECT_EQ(ParseScriptCommand("answer yes").reason, "answer takes Yes or No, not \"yes\"");
    EXPECT_EQ(ParseScriptCommand("answer OK").reason, "answer takes Yes or No, not \"OK\"");
    EXPECT_EQ(ParseScriptCommand("pace on").reason, "pace takes only off, not \"on\"");
    EXPECT_EQ(ParseScriptCommand("Pick 1003 534").reason, "unknown command \"Pick\"");
    EXPECT_EQ(ParseScriptCommand("press OK").kind, CScriptCommandKind::Malformed);
}

TEST(ScriptCommands, QuotingFaultsAreMalformedLines) {
    const CScriptCommand command = ParseScriptCommand("pick \"WSS IRQ 7");
    EXPECT_EQ(command.kind, CScriptCommandKind::Malformed);
    EXPECT_EQ(command.reason, "a quoted argument is not closed");
}

TEST(ScriptWords, WordsWrittenAsAScriptWritesThemSplitBackToThemselves) {
    std::mt19937 random(20261208);
    const std::string letters = "aZ09-/.#[] \t";
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> words(random() % 5);
        std::string line = random() % 2 ? "" : " ";
        for (std::string& word : words) {
            const std::size_t length = random() % 6;
            for (std::size_t i = 0; i < length; ++i) {
                word += letters[random() % letters.size()];
            }
            // A word with a blank in it, or none at all, needs its quotes.
            const bool quoted =
                word.empty() || word.find_first_of(" \t") != std::string::npos || random() % 4 == 0;
            line += quoted ? "\"" + word + "\"" : word;
            line += std::string(1 + random() % 3, random() % 2 ? ' ' : '\t');
        }
        EXPECT_EQ(Words(line), words) << "[" << line << "]";
    }
}

TEST(ScriptCommands, AnyLineIsACommandASkipOrMalformedWithAReason) {
    std::mt19937 random(4711);
    const std::string letters = "pickshowanerYNo \t\"#1003\r";
    const std::size_t arguments[] = {0, 2, 1, 1, 0, 1, 0};
    int commands = 0;
    for (int round = 0; round < 20000; ++round) {
        // Mostly a real command word, so that the argument rules get exercised too.
        const char* starts[] = {"pick ", "click ", "answer ", "show", "pace ", " # ", ""};
        std::string line = starts[random() % std::size(starts)];
        const std::size_t length = random() % 24;
        for (std::size_t i = 0; i < length; ++i) {
            line += letters[random() % letters.size()];
        }
        const CScriptCommand command = ParseScriptCommand(line);
        const auto kind = static_cast<std::size_t>(command.kind);
        if (command.kind == CScriptCommandKind::Malformed) {
            EXPECT_FALSE(command.reason.empty()) << line;
        } else if (command.kind != CScriptCommandKind::Skip) {
            EXPECT_EQ(command.arguments.size(), arguments[kind]) << line;
            ++commands;
        }
    }
    EXPECT_GT(commands, 1000);  // the rules above were met often enough to mean something
}

}  // namespace
