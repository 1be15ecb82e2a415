// What vymcnf says on its two streams, as a user who keeps a log (2>&1) reads it.
#include "cli/Console.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <io.h>
#define VYM_DUP _dup
#define VYM_FDOPEN _fdopen
#define VYM_FILENO _fileno
#else
#include <unistd.h>
#define VYM_DUP dup
#define VYM_FDOPEN fdopen
#define VYM_FILENO fileno
#endif

namespace {

// A stream onto the same open file as log, sharing its position, as 2>&1 shares one.
std::FILE* StreamOnto(std::FILE* log) { return VYM_FDOPEN(VYM_DUP(VYM_FILENO(log)), "wb"); }

std::string Contents(std::FILE* log) {
    std::rewind(log);
    std::string text;
    for (int c = std::fgetc(log); c != EOF; c = std::fgetc(log)) {
        text += static_cast<char>(c);
    }
    return text;
}

}  // namespace

TEST(Console, AFailureComesAfterTheLinesSaidBeforeItInASharedLog) {
    std::FILE* log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    CConsole console;
    console.out = StreamOnto(log);
    console.err = StreamOnto(log);
    ASSERT_NE(console.out, nullptr);
    ASSERT_NE(console.err, nullptr);
    // Standard output to a file, as the system gives it: fully buffered.
    std::setvbuf(console.out, nullptr, _IOFBF, 4096);
    std::setvbuf(console.err, nullptr, _IONBF, 0);

    Say(console, "Saved the card as it was to %s", "old.bin");
    EXPECT_EQ(Fail(console, "the card does not hold %s", "new.bin"), VYMCNF_FAILED);
    std::fclose(console.out);
    std::fclose(console.err);

    EXPECT_EQ(Contents(log),
              "Saved the card as it was to old.bin\nvymcnf: the card does not hold new.bin\n");
    std::fclose(log);
}
