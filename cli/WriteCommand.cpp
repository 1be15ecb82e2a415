#include "cli/WriteCommand.h"

#include <vector>

#include "backup/BackupStore.h"
#include "cli/CardAccess.h"
#include "cli/ImageFile.h"
#include "cli/ImageSummary.h"
#include "cli/Interrupt.h"
#include "cli/Messages.h"
#include "cli/WritePlan.h"
#include "driver/CardReadBack.h"
#include "script/TextJoin.h"

namespace {

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
    CInterruptScope interrupts;
    CFinish finish(listener);

    std::uint8_t image[EEPROM_SIZE];
    CImageFileResult loaded;
    if (LoadImageFile(file.c_str(), image, &loaded) == 0) {
        return Fail(console, "%s Nothing was written.", ImageFileProblemText(file, loaded).c_str());
    }
    TellImageFileNotice(console, file, loaded);
    const CImageSummary summary = SummarizeImage(image);
    if (summary.ReadableDevices() < WRITTEN_LOGICAL_DEVICES && !options.force) {
        return Fail(console,
                    "%s does not look like an image of this card: the image reader finds %s. "
                    "Nothing was written; --force writes it all the same.",
                    file.c_str(), ReadableDevicesText(summary).c_str());
    }

    listener.PhaseStarted(WritePhase::Read);
    CCardAccess card;
    if (card.Open() == 0) {
        return Fail(console, "couldn't open the card %s: %s%s Nothing was written.", CardName(),
                    card.Reason(), FullStop(card.Reason()));
    }
    std::uint8_t before[EEPROM_SIZE];
    if (card.ReadImage(before) == 0) {
        return Fail(console, "couldn't read the card at address %s: %s%s Nothing was written.",
                    AddressText(card.FailedAddress()).c_str(), card.Reason(),
                    FullStop(card.Reason()));
    }
    const std::vector<int> plan = PlanWrites(before, image, options.all);
    if (plan.empty()) {
        Say(console, "The card holds %s already: nothing to write.", file.c_str());
        return VYMCNF_DONE;
    }

    listener.PhaseStarted(WritePhase::Backup);
    CSavedBackup backup;
    if (SaveBackup(before, sizeof before, &backup) == 0) {
        return Fail(console, "%s Nothing was written.", BackupFailureText(backup).c_str());
    }
    Say(console, "Saved the card as it was to %s", backup.path);

    listener.PhaseStarted(WritePhase::Write);
    const int total = static_cast<int>(plan.size());
    for (int written = 0; written < total; ++written) {
        // Between two bytes, never inside one: the byte in flight and its pause are finished.
        if (InterruptRequested()) {
            finish.Now();
            return Fail(console, "stopped. %s %s", WrittenSoFar(plan, written).c_str(),
                        RestoreText(backup.path).c_str());
        }
        const int address = plan[static_cast<std::size_t>(written)];
        if (card.WriteByte(address, image[address]) == 0) {
            finish.Now();
            return Fail(console, "couldn't write the card at address %s: %s%s %s %s",
                        AddressText(address).c_str(), card.Reason(), FullStop(card.Reason()),
                        WrittenSoFar(plan, written).c_str(), RestoreText(backup.path).c_str());
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
                        FullStop(card.Reason()), RestoreText(backup.path).c_str());
        }
        return Fail(console,
                    "the card does not hold %s after writing: %s, the first at address %s. "
                    "The card may now hold a damaged image. %s",
                    file.c_str(), BytesDifferText(readBack.differences).c_str(),
                    AddressText(readBack.firstDifference).c_str(),
                    RestoreText(backup.path).c_str());
    }
    finish.Now();
    Say(console, "Wrote %d %s to the card and read it back: the card holds %s.", total,
        total == 1 ? "byte" : "bytes", file.c_str());
    return VYMCNF_DONE;
}
