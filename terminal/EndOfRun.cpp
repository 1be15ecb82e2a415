#include "terminal/EndOfRun.h"

#include "backup/RestoreCommand.h"

namespace {

constexpr int kDone = 0;
constexpr int kNotDone = 1;

std::string TheCard(const std::string& cardName) {
    return cardName.empty() ? std::string("the card") : "the card " + cardName;
}

std::string RestoreLines(const char* backupPath) {
    char command[BACKUP_PATH_SIZE * 2 + 32];
    return std::string("The card as it was before is saved in ") + backupPath +
           "\nTo put it back, run:\n  " + RestoreCommand(backupPath, command, sizeof command) +
           "\n";
}

}  // namespace

CEndOfRunText EndOfRunText(const CSetupOutcome& outcome, const std::string& cardName,
                           const std::string& openProblem) {
    CEndOfRunText end;
    if (outcome.openFailed != 0) {
        end.text = "vymsetup: couldn't open the card: " + openProblem + ".\n";
        end.exitStatus = kNotDone;
        return end;
    }
    // The last completed write is the card's state unless a failed one came after it.
    if (outcome.writesCompleted > 0 && outcome.lastWriteFailed == 0) {
        const int bytes = outcome.lastBytesWritten;
        end.text = "vymsetup: wrote " + std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
                   " to " + TheCard(cardName) + " and read them back.\n";
        if (outcome.lastBackupPath[0] != '\0') {
            end.text += RestoreLines(outcome.lastBackupPath);
        }
    }
    if (outcome.lastWriteFailed != 0) {
        end.text += "vymsetup: the write to " + TheCard(cardName) +
                    " did not complete: " + outcome.failure + ".\n";
        if (outcome.failedBackupPath[0] != '\0') {
            end.text += RestoreLines(outcome.failedBackupPath);
        }
    }
    end.exitStatus = outcome.writesCompleted < outcome.writesAsked ? kNotDone : kDone;
    return end;
}
