// The command line: commands, their FILE and options in any order, and every mistake a usage
// error that names it.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace {

CCommandLine Parse(std::initializer_list<const char*> words) {
    std::vector<const char*> argv{"vymcnf"};
    argv.insert(argv.end(), words.begin(), words.end());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

std::string ErrorOf(std::initializer_list<const char*> words) {
    return Parse(words).error;
}

TEST(CommandLine, EachCommandWithItsFile) {
    EXPECT_EQ(Parse({"info"}).command, VymcnfCommand::Info);
    EXPECT_EQ(Parse({"info"}).file, "");
    EXPECT_EQ(Parse({"info", "card.bin"}).file, "card.bin");
    EXPECT_EQ(Parse({"read", "card.bin"}).command, VymcnfCommand::Read);
    EXPECT_EQ(Parse({"write", "card.bin"}).command, VymcnfCommand::Write);
    EXPECT_EQ(Parse({"verify", "card.bin"}).command, VymcnfCommand::Verify);
    EXPECT_EQ(Parse({"backups"}).command, VymcnfCommand::Backups);
    for (const char* command : {"info", "read", "write", "verify", "backups"}) {
        const CCommandLine line =
            command == std::string("backups") || command == std::string("info")
                ? Parse({command})
                : Parse({command, "f"});
        EXPECT_EQ(line.error, "") << command;
        EXPECT_STREQ(CommandName(line.command), command);
    }
}

TEST(CommandLine, OptionsMayStandAnywhere) {
    const CCommandLine write = Parse({"--all", "write", "card.bin", "--force"});
    EXPECT_EQ(write.error, "");
    EXPECT_TRUE(write.all);
    EXPECT_TRUE(write.force);
    EXPECT_EQ(write.file, "card.bin");
    const CCommandLine info = Parse({"info", "--json", "card.bin"});
    EXPECT_TRUE(info.json);
    EXPECT_EQ(info.file, "card.bin");
    EXPECT_FALSE(Parse({"write", "card.bin"}).all);
}

TEST(CommandLine, AfterTwoDashesAWordIsTheFile) {
    const CCommandLine line = Parse({"read", "--", "--all"});
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.file, "--all");
    EXPECT_FALSE(line.all);
    EXPECT_EQ(Parse({"read", "-"}).file, "-");  // a lone dash is a name too
}

TEST(CommandLine, HelpAndVersionWinOverEverything) {
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"write", "--help"}).help);
    EXPECT_EQ(Parse({"erase", "--bogus", "--help"}).error, "");
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_EQ(Parse({"write", "--version"}).error, "");
}

TEST(CommandLine, MistakesAreUsageErrors) {
    EXPECT_EQ(ErrorOf({}), "no command given");
    EXPECT_EQ(ErrorOf({"card.bin"}), "unknown command card.bin");
    EXPECT_EQ(ErrorOf({"erase", "card.bin"}), "unknown command erase");
    EXPECT_EQ(ErrorOf({"Info"}), "unknown command Info");  // commands are lower case
    EXPECT_EQ(ErrorOf({"write", "-x", "card.bin"}), "unknown option -x");
    EXPECT_EQ(ErrorOf({"write", "--all=yes", "card.bin"}), "unknown option --all=yes");
    EXPECT_EQ(ErrorOf({"write"}), "write needs a FILE");
    EXPECT_EQ(ErrorOf({"read"}), "read needs a FILE");
    EXPECT_EQ(ErrorOf({"verify", "a.bin", "b.bin"}), "verify takes one FILE");
    EXPECT_EQ(ErrorOf({"info", "a.bin", "b.bin"}), "info takes one FILE");
    EXPECT_EQ(ErrorOf({"backups", "a.bin"}), "backups takes no FILE");
    EXPECT_EQ(ErrorOf({"write", "--json", "a.bin"}), "--json goes with info only");
    EXPECT_EQ(ErrorOf({"read", "--all", "a.bin"}), "--all goes with write only");
    EXPECT_EQ(ErrorOf({"verify", "--force", "a.bin"}),
              "--force goes with read, write and convert only");
    EXPECT_EQ(ErrorOf({"--", "info"}), "no command given");
}

}  // namespace

namespace {

TEST(CommandLine, TheCardOptionStandsAnywhereAndIsNotTheFile) {
    const CCommandLine before = Parse({"--card", "dump.bin", "write", "image.bin"});
    EXPECT_EQ(before.error, "");
    EXPECT_EQ(before.card, "dump.bin");
    EXPECT_EQ(before.file, "image.bin");
    const CCommandLine after = Parse({"write", "image.bin", "-c", "dump.bin"});
    EXPECT_EQ(after.error, "");
    EXPECT_EQ(after.card, "dump.bin");
    EXPECT_EQ(after.file, "image.bin");
    EXPECT_EQ(Parse({"info", "--card=dump.bin"}).card, "dump.bin");
    EXPECT_EQ(Parse({"info", "--card=dump.bin"}).file, "");
    // After "--" it is a FILE like any other word.
    const CCommandLine ended = Parse({"info", "--", "--card"});
    EXPECT_EQ(ended.error, "");
    EXPECT_EQ(ended.file, "--card");
    EXPECT_EQ(ended.card, "");
}

TEST(CommandLine, ACardOptionWithoutItsFileIsAUsageError) {
    EXPECT_EQ(ErrorOf({"info", "--card"}), "--card needs a FILE");
    EXPECT_EQ(ErrorOf({"info", "-c"}), "--card needs a FILE");
    EXPECT_EQ(ErrorOf({"info", "--card="}), "--card needs a FILE");
}

TEST(CommandLine, ConvertTakesTwoFiles) {
    const CCommandLine line = Parse({"convert", "chip.hex", "chip.bin"});
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.command, VymcnfCommand::Convert);
    EXPECT_EQ(line.file, "chip.hex");
    EXPECT_EQ(line.secondFile, "chip.bin");
    EXPECT_EQ(Parse({"convert", "--force", "a", "b"}).error, "");
    const std::string needed = "convert needs two FILEs: the image to read and the one to write";
    EXPECT_EQ(ErrorOf({"convert", "chip.hex"}), needed);
    EXPECT_EQ(ErrorOf({"convert", "a", "b", "c"}), needed);
    EXPECT_EQ(ErrorOf({"convert"}), needed);
}

}  // namespace
