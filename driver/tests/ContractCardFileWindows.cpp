// The contract cases on Windows against the emulated card over a file, the card a user gets with
// --card FILE: the file beside this test program is chosen as the card for the whole run (the
// cases take the system's services when they are constructed), and a card is prepared by
// writing it.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "driver/CardFileChoice.h"
#include "driver/tests/ContractCard.h"
#include "driver/tests/ContractCardFile.h"
#include "driver/tests/WindowsContractSupport.h"

namespace {

constexpr const char* kCardFileName = "contract-file-card.bin";
// Beside the test program, so the runs of several builds never share one.
const char* CardPath() {
    static char path[MAX_PATH];
    return PathBesideProgram(kCardFileName, path);
}

// Chosen before any case runs, as a program chooses its card before it opens it.
const struct CChosenCardFile {
    CChosenCardFile() {
        char problem[512];
        if (const char* path = CardPath()) {
            SelectCardFile(path, problem, sizeof problem);
        }
    }
} g_chosenCardFile;

}  // namespace

int PrepareContractCard(const std::uint8_t* bytes, int size) {
    RemoveContractCard();
    const char* path = CardPath();
    return path != nullptr && WriteContractCardFile(path, bytes, size) == 1 &&
                   SelectedCardFile() != nullptr
               ? 1
               : 0;
}

const char* ContractCardPath() {
    return CardPath();
}

void RemoveContractCard() {
    if (const char* path = CardPath()) {
        DeleteFileA(path);
    }
}

const CContractDifferences& ContractDifferences() {
    static const CContractDifferences differences{
        // As on every other system: the file is opened, found of the wrong size and refused;
        // the system's sharing refuses a second open itself.
        ERROR_INVALID_DATA, false, SharingViolationText()};
    return differences;
}
