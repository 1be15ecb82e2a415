#include <cstdio>

#include "cli/CardAccess.h"
#include "cli/Commands.h"
#include "cli/ImageDiff.h"
#include "cli/ImageFile.h"
#include "cli/Messages.h"
#include "text/Sentences.h"
#include "text/TextJoin.h"

namespace {

int LoadNamed(const std::string& file, std::uint8_t (&image)[EEPROM_SIZE], CConsole& console) {
    CImageFileResult loaded;
    if (LoadImageFile(file.c_str(), image, &loaded) == 0) {
        return Fail(console, "%s", ImageFileProblemText(file, loaded).c_str());
    }
    return VYMCNF_DONE;
}

}  // namespace

int DiffCommand(const std::string& file, const std::string& secondFile, CConsole& console) {
    std::uint8_t image[EEPROM_SIZE];
    if (LoadNamed(file, image, console) != VYMCNF_DONE) {
        return VYMCNF_FAILED;
    }
    std::uint8_t other[EEPROM_SIZE];
    if (!secondFile.empty()) {
        if (LoadNamed(secondFile, other, console) != VYMCNF_DONE) {
            return VYMCNF_FAILED;
        }
    } else {
        CCardAccess card;
        if (card.Open() == 0) {
            return Fail(console, "couldn't open the card %s: %s%s", CARD_NAME, card.Reason(),
                        FullStop(card.Reason()));
        }
        if (card.ReadImage(other) == 0) {
            return Fail(console, "couldn't read the card at address %s: %s%s",
                        AddressText(card.FailedAddress()).c_str(), card.Reason(),
                        FullStop(card.Reason()));
        }
    }
    const std::string otherName = secondFile.empty() ? std::string("the card") : secondFile;
    std::fputs(ImageDiffText(other, image, otherName, file).c_str(), console.out);
    return VYMCNF_DONE;
}
