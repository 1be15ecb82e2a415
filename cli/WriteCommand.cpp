#include "cli/WriteCommand.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "backup/BackupStore.h"
#include "cli/CardAccess.h"
#include "cli/ImageChecks.h"
#include "cli/ImageDiff.h"
#include "cli/ImageFile.h"
#include "cli/Messages.h"
#include "cli/WritePlan.h"
#include "driver/CardIdentity.h"
#include "driver/CardReadBack.h"
#include "driver/StandardStreams.h"
#include "driver/WritePace.h"
#include "driver/WriteSignals.h"
#include "text/Sentences.h"
#include "text/TextJoin.h"

namespace {

constexpr const char* kForceHint = "Nothing was written; --force writes it all the same.";

// Tells the listener once that the command is over: before the last words, so that a progress
// bar ends its line first, or else on the way out.
class CFinish {
public:
    explicit CFinish(CWriteListener& listener) : m_listener(listener) {}
    ~CFinish() { Now(); }
    CFinish(const CFinish&) = delete;
    CFinish& operator=(const CFinish&) = delete;

    void Now() {
        if (!m_done) {
            m_done = true;
            m_listener.Finished();
        }
    }

private:
    CWriteListener& m_listener;
    bool m_done = false;
};

// What a write that stopped partway has left on the card, in one sentence.
std::string WrittenSoFar(const std::vector<int>& plan, int written) {
    if (written == 0) {
        return "Nothing was written; the card is as it was.";
    }
    return JoinText("Only ", std::to_string(written), " of the ", std::to_string(plan.size()),
                    " bytes were written (those to write up to address ",
                    AddressText(plan[static_cast<std::size_t>(written - 1)]),
                    "), so the card may now hold an incomplete image.");
}

}  // namespace

int WriteCommand(const std::string& file, const CWriteOptions& options, CConsole& console,
                 CWriteListener& listener) {
    CFinish finish(listener);

    std::uint8_t image[EEPROM_SIZE];
    if (LoadCommandImage(console, file, image, " Nothing was written.") != VYMCNF_DONE) {
        return VYMCNF_FAILED;
    }
    if (!options.force) {
        const std::string refusal = ImageRefusal(file, image);
        if (!refusal.empty()) {
            return Fail(console, "%s %s", refusal.c_str(), kForceHint);
        }
    }

    listener.PhaseStarted(WritePhase::Read);
    CCardAccess card;
    if (card.Open() == 0) {
        return Fail(console, "couldn't open the card: %s. Nothing was written.", card.Reason());
    }
    // Refused before the backup: no write to a card opened for reading only could succeed.
    if (card.Driver().IsReadOnly() != 0) {
        return Fail(console,
                    "the card %s may be read but not written (it is read-only to you). Nothing "
                    "was written.",
                    CardName().c_str());
    }
    std::uint8_t before[EEPROM_SIZE];
    if (card.ReadImage(before) == 0) {
        return Fail(console, "couldn't read the card at address %s: %s%s Nothing was written.",
                    AddressText(card.FailedAddress()).c_str(), card.Reason(),
                    FullStop(card.Reason()));
    }
    if (!options.force) {
        const std::string refusal = CardRefusal(file, image, before);
        if (!refusal.empty()) {
            return Fail(console, "%s %s", refusal.c_str(), kForceHint);
        }
    }
    const std::vector<int> plan = PlanWrites(before, image, options.all);
    if (plan.empty()) {
        Say(console, "The card holds %s already: nothing to write.", file.c_str());
        return VYMCNF_DONE;
    }
    if (options.dryRun) {
        std::fputs(ImageDiffText(before, image, "the card", file).c_str(), console.out);
        Say(console, "Nothing was written: --dry-run only shows what write would change.");
        return VYMCNF_DONE;
    }

    // From here on a signal only stops the write between two bytes; before, nothing waits for
    // the card, and a signal ends the program as it always does, with nothing written.
    CWriteSignalScope signals;
    listener.PhaseStarted(WritePhase::Backup);
    CSavedBackup backup;
    if (SaveBackup(before, sizeof before, &backup) == 0) {
        return Fail(console, "%s Nothing was written.", BackupFailureText(backup).c_str());
    }
    Say(console, "Saved the card as it was to %s", backup.path);
    const bool restoreNeedsForce = RestoreNeedsForce(before, image);
    // The backup's name is out before the first byte changes, so that whatever ends the program
    // from here on, even a signal nobody can catch, leaves the way back named.
    int outError = 0;
    if (!StreamWentOut(console.out, &outError)) {
        return Fail(console,
                    "couldn't write to standard output%s%s, so nothing was written. The card as "
                    "it was is saved in %s",
                    outError != 0 ? ": " : "", outError != 0 ? std::strerror(outError) : "",
                    backup.path);
    }

    listener.PhaseStarted(WritePhase::Write);
    const int total = static_cast<int>(plan.size());
    for (int written = 0; written < total; ++written) {
        // Between two bytes, never inside one: the byte in flight and its pause are finished.
        if (NotedWriteSignal() != 0) {
            finish.Now();
            return Fail(console, "stopped. %s %s", WrittenSoFar(plan, written).c_str(),
                        RestoreText(backup.path, restoreNeedsForce).c_str());
        }
        const int address = plan[static_cast<std::size_t>(written)];
        if (card.WriteByte(address, image[address]) == 0) {
            finish.Now();
            return Fail(console, "couldn't write the card at address %s: %s%s %s %s",
                        AddressText(address).c_str(), card.Reason(), FullStop(card.Reason()),
                        WrittenSoFar(plan, written).c_str(),
                        RestoreText(backup.path, restoreNeedsForce).c_str());
        }
        // The cell's write cycle, through the card's services as the setup dialog's: their pause
        // is never shorter than asked, and whoever stands in front of them sees it.
        card.Driver().PauseAfterWrite(WRITE_PAUSE_MS);
        listener.BytesWritten(written + 1, total);
    }

    listener.PhaseStarted(WritePhase::Verify);
    CReadBack readBack;
    if (ReadBackAndCompare(card.Driver(), image, EEPROM_SIZE, &readBack) == 0) {
        finish.Now();
        if (readBack.failedRead >= 0) {
            card.TakeReason(readBack.readError);
            return Fail(console,
                        "wrote %d bytes, but couldn't read the card back at address %s to check "
                        "them: %s%s %s",
                        total, AddressText(readBack.failedRead).c_str(), card.Reason(),
                        FullStop(card.Reason()),
                        RestoreText(backup.path, restoreNeedsForce).c_str());
        }
        return Fail(console,
                    "the card does not hold %s after writing: %s, the first at address %s. "
                    "The card may now hold a damaged image. %s",
                    file.c_str(), BytesDifferText(readBack.differences).c_str(),
                    AddressText(readBack.firstDifference).c_str(),
                    RestoreText(backup.path, restoreNeedsForce).c_str());
    }
    finish.Now();
    Say(console, "Wrote %d %s to the card and read it back: the card holds %s.", total,
        total == 1 ? "byte" : "bytes", file.c_str());
    return VYMCNF_DONE;
}
