#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "backup/RestoreCommand.h"

namespace {

std::string Command(const char* path, std::size_t size = 512) {
    char out[512];
    return RestoreCommand(path, out, size);
}

}  // namespace

TEST(RestoreCommand, QuotesAnOrdinaryPath) {
    EXPECT_EQ(Command("/home/ann/.local/state/vymcnf/backups/eeprom-20261208-154741.bin"),
              "vymcnf write \"/home/ann/.local/state/vymcnf/backups/eeprom-20261208-154741.bin\"");
    EXPECT_EQ(Command("/my backups/eeprom.bin"), "vymcnf write \"/my backups/eeprom.bin\"");
}

TEST(RestoreCommand, IsCutWithinItsBufferAndStaysTerminated) {
    char out[10];
    std::memset(out, 'x', sizeof out);
    RestoreCommand("/a/long/path.bin", out, sizeof out);
    EXPECT_EQ(std::string(out), "vymcnf wr");
}

#ifndef _WIN32
TEST(RestoreCommand, AShellGivesTheCommandThePathAsItStands) {
    // What a user copies is run by a shell: each awkward path must arrive as one word, intact.
    for (const char* path : {"/b/it's here.bin", "/b/$HOME.bin", "/b/`id`.bin", "/b/a\"b.bin",
                             "/b/back\\slash.bin", "/b/semi;colon&.bin"}) {
        char command[512];
        RestoreCommand(path, command, sizeof command);
        // The shell runs the command with vymcnf standing for printf, which prints its words.
        const std::string line = std::string("vymcnf() { printf '%s' \"$2\"; }; ") + command;
        const std::string shell = "sh -c '" + [&] {
            std::string quoted;
            for (char c : line) {
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            }
            return quoted;
        }() + "'";
        std::FILE* pipe = popen(shell.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char got[512] = "";
        const std::size_t length = std::fread(got, 1, sizeof got - 1, pipe);
        got[length] = '\0';
        pclose(pipe);
        EXPECT_EQ(std::string(got), path) << command;
    }
}
#endif

TEST(RestoreCommand, CarriesForceForABackupTheChecksWouldRefuse) {
    char out[64];
    EXPECT_EQ(std::string(RestoreCommand("/b/erased.bin", out, sizeof out, true)),
              "vymcnf write --force \"/b/erased.bin\"");
}
