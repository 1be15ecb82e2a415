#pragma once

#include "backup/BackupFolder.h"
#include "wintypes/WinTypes.h"

// What the setup dialog did with the card, kept for the front end that runs it: once the
// dialog is gone, the terminal program tells the user in words and the runner in its exit
// status. The dialog records it as it goes; it lives in static storage, not on the heap.
struct CSetupOutcome {
    int openFailed = 0;   // the card could not be opened: the program quit at start
    DWORD openError = 0;  // what that open reported

    int writesAsked = 0;      // OK answered Yes, or the hidden write button
    int writesCompleted = 0;  // of those, written and read back whole

    // The last write that completed: the bytes sent to the card and the backup made before.
    int lastBytesWritten = 0;
    char lastBackupPath[BACKUP_PATH_SIZE] = "";

    // The last write that did not complete: why, in a few words, and the backup made before
    // it ("" when none was saved, so nothing had been written).
    char failure[256] = "";
    char failedBackupPath[BACKUP_PATH_SIZE] = "";
    int lastWriteFailed = 0;  // the last write asked for is that one
};

// The outcome of the setup dialogs run since the last reset (a program runs one).
CSetupOutcome& SetupOutcome();
void ResetSetupOutcome();
