#include <gtest/gtest.h>

#include <cstdio>

#include "terminal/EndOfRun.h"

namespace {

CSetupOutcome Completed(int bytes, const char* backup) {
    CSetupOutcome outcome;
    outcome.writesAsked = 1;
    outcome.writesCompleted = 1;
    outcome.lastBytesWritten = bytes;
    std::snprintf(outcome.lastBackupPath, sizeof outcome.lastBackupPath, "%s", backup);
    return outcome;
}

}  // namespace

TEST(EndOfRun, CancelOrNothingChangedSaysNothingAndIsDone) {
    const CEndOfRunText end = EndOfRunText(CSetupOutcome{}, "/c/card.bin", "");
    EXPECT_EQ(end.text, "");
    EXPECT_EQ(end.exitStatus, 0);
}

TEST(EndOfRun, AWriteTellsBytesFileAndTheCommandThatPutsTheBackupBack) {
    const CEndOfRunText end =
        EndOfRunText(Completed(248, "/s/backups/eeprom-20261209-025846.bin"), "/c/card.bin", "");
    EXPECT_EQ(end.text,
              "vymsetup: wrote 248 bytes to the card /c/card.bin and read them back.\n"
              "The card as it was before is saved in /s/backups/eeprom-20261209-025846.bin\n"
              "To put it back, run:\n"
              "  vymcnf write \"/s/backups/eeprom-20261209-025846.bin\"\n");
    EXPECT_EQ(end.exitStatus, 0);
}

TEST(EndOfRun, AFailedOpenGivesThePlainReasonAndFails) {
    CSetupOutcome outcome;
    outcome.openFailed = 1;
    const CEndOfRunText end = EndOfRunText(
        outcome, "/c/short.bin",
        "/c/short.bin is 1000 bytes long; a card's EEPROM image is exactly 2048 bytes");
    EXPECT_EQ(end.text,
              "vymsetup: couldn't open the card: /c/short.bin is 1000 bytes long; a card's EEPROM "
              "image is exactly 2048 bytes.\n");
    EXPECT_EQ(end.exitStatus, 1);
}

TEST(EndOfRun, AWriteThatDidNotCompleteSaysWhyAndFails) {
    CSetupOutcome outcome;
    outcome.writesAsked = 1;
    outcome.lastWriteFailed = 1;
    std::snprintf(outcome.failure, sizeof outcome.failure, "%s",
                  "no backup could be saved, and writing without one was declined");
    CEndOfRunText end = EndOfRunText(outcome, "/c/card.bin", "");
    EXPECT_EQ(end.text,
              "vymsetup: the write to the card /c/card.bin did not complete: no backup could be "
              "saved, and writing without one was declined.\n");
    EXPECT_EQ(end.exitStatus, 1);

    // After bytes went out, the backup is the way back.
    std::snprintf(outcome.failedBackupPath, sizeof outcome.failedBackupPath, "%s", "/s/b.bin");
    end = EndOfRunText(outcome, "/c/card.bin", "");
    EXPECT_NE(end.text.find("  vymcnf write \"/s/b.bin\"\n"), std::string::npos);
}

TEST(EndOfRun, AFailureAfterACompletedWriteIsWhatTheCardNowShows) {
    CSetupOutcome outcome = Completed(248, "/s/first.bin");
    outcome.writesAsked = 2;
    outcome.lastWriteFailed = 1;
    std::snprintf(outcome.failure, sizeof outcome.failure, "%s", "a byte could not be written");
    std::snprintf(outcome.failedBackupPath, sizeof outcome.failedBackupPath, "%s", "/s/second.bin");
    const CEndOfRunText end = EndOfRunText(outcome, "/c/card.bin", "");
    EXPECT_EQ(end.text.find("wrote 248 bytes"), std::string::npos);
    EXPECT_NE(end.text.find("did not complete: a byte could not be written.\n"), std::string::npos);
    EXPECT_NE(end.text.find("/s/second.bin"), std::string::npos);
    EXPECT_EQ(end.exitStatus, 1);

    // A failed write followed by one that completed: the card holds the new settings, but one
    // write the user asked for did not complete.
    CSetupOutcome later = Completed(248, "/s/third.bin");
    later.writesAsked = 2;
    const CEndOfRunText laterEnd = EndOfRunText(later, "/c/card.bin", "");
    EXPECT_NE(laterEnd.text.find("wrote 248 bytes"), std::string::npos);
    EXPECT_EQ(laterEnd.exitStatus, 1);
}
