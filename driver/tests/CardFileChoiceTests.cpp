#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/CardFileChoice.h"

namespace {

struct Parsed {
    int ok;
    std::string file;  // "(none)" when no file was named
    std::string problem;
};

Parsed Arguments(std::vector<const char*> words) {
    words.insert(words.begin(), "vymsetup");
    const char* file = nullptr;
    char problem[256] = "";
    Parsed parsed;
    parsed.ok = CardFileArguments(static_cast<int>(words.size()), words.data(), &file, problem,
                                  sizeof problem);
    parsed.file = file != nullptr ? file : "(none)";
    parsed.problem = problem;
    return parsed;
}

TEST(CardOption, EverySpellingTakesItsFile) {
    const char* words[] = {"vymcnf", "--card", "a.bin", "-c", "b.bin", "--card=c.bin", "info"};
    const char* file = nullptr;
    EXPECT_EQ(CardOptionAt(7, words, 1, &file), 2);
    EXPECT_STREQ(file, "a.bin");
    EXPECT_EQ(CardOptionAt(7, words, 3, &file), 2);
    EXPECT_STREQ(file, "b.bin");
    EXPECT_EQ(CardOptionAt(7, words, 5, &file), 1);
    EXPECT_STREQ(file, "c.bin");
    EXPECT_EQ(CardOptionAt(7, words, 6, &file), 0);
    EXPECT_EQ(CardOptionAt(7, words, 2, &file), 0);  // a file is not the option
    EXPECT_EQ(CardOptionAt(7, words, 0, &file), 0);  // nor is the program's name
    EXPECT_EQ(CardOptionAt(7, words, 7, &file), 0);  // nor what lies past the end
}

TEST(CardOption, AMissingFileIsAnError) {
    const char* words[] = {"vymcnf", "info", "--card", "-c", "", "--card="};
    const char* file = nullptr;
    EXPECT_EQ(CardOptionAt(3, words, 2, &file), -1);  // the last word
    EXPECT_EQ(CardOptionAt(5, words, 3, &file), -1);  // followed by an empty word
    EXPECT_EQ(CardOptionAt(6, words, 5, &file), -1);
    // Similar words are other options, not this one.
    const char* others[] = {"vymcnf", "--cards", "x", "-card", "--c"};
    for (int at = 1; at < 5; ++at) {
        EXPECT_EQ(CardOptionAt(5, others, at, &file), 0) << others[at];
    }
}

TEST(CardOption, TheSetupProgramTakesTheOptionOrOnePlainFile) {
    EXPECT_EQ(Arguments({}).file, "(none)");
    EXPECT_EQ(Arguments({"dump.bin"}).file, "dump.bin");
    EXPECT_EQ(Arguments({"C:\\Users\\me\\My Dumps\\dump.bin"}).file,
              "C:\\Users\\me\\My Dumps\\dump.bin");
    EXPECT_EQ(Arguments({"-c", "dump.bin"}).file, "dump.bin");
    EXPECT_EQ(Arguments({"--card=dump.bin"}).file, "dump.bin");
    EXPECT_EQ(Arguments({"--", "-odd.bin"}).file, "-odd.bin");
    EXPECT_EQ(Arguments({"-"}).file, "-");

    const Parsed two = Arguments({"a.bin", "b.bin"});
    EXPECT_EQ(two.ok, 0);
    EXPECT_EQ(two.problem, "only one card FILE can be given ('a.bin' and 'b.bin')");
    EXPECT_EQ(Arguments({"--card", "a.bin", "b.bin"}).ok, 0);
    const Parsed unknown = Arguments({"--bogus"});
    EXPECT_EQ(unknown.ok, 0);
    EXPECT_EQ(unknown.problem, "unknown option '--bogus'");
    const Parsed missing = Arguments({"--card"});
    EXPECT_EQ(missing.ok, 0);
    EXPECT_EQ(missing.problem, CARD_OPTION_WITHOUT_FILE);
}

TEST(CardFileSelection, AHexFileIsRefusedWithTheCommandThatConvertsIt) {
    char problem[512] = "";
    ASSERT_EQ(SelectCardFile(nullptr, problem, sizeof problem), 1);
    EXPECT_EQ(SelectCardFile("dumps/chip.HEX", problem, sizeof problem), 0);
    EXPECT_STREQ(problem,
                 "dumps/chip.HEX is an Intel HEX file; the card must be a raw 2048-byte image. "
                 "Convert it first: vymcnf convert dumps/chip.HEX dumps/chip.bin");
    EXPECT_EQ(SelectedCardFile(), nullptr);

    ASSERT_EQ(SelectCardFile("dumps/chip.bin", problem, sizeof problem), 1);
    EXPECT_STREQ(SelectedCardFile(), "dumps/chip.bin");
    ASSERT_EQ(SelectCardFile(nullptr, problem, sizeof problem), 1);
    EXPECT_EQ(SelectedCardFile(), nullptr);
}

TEST(CardFileSelection, TheBaseNameIsWhatFollowsTheLastSeparator) {
    EXPECT_STREQ(CardFileBaseName("C:\\dumps\\chip.bin"), "chip.bin");
    EXPECT_STREQ(CardFileBaseName("/home/me/chip.bin"), "chip.bin");
    EXPECT_STREQ(CardFileBaseName("C:chip.bin"), "chip.bin");
    EXPECT_STREQ(CardFileBaseName("chip.bin"), "chip.bin");
}

}  // namespace
