#include "cli/CardAccess.h"
#include "cli/Commands.h"
#include "cli/ImageFileOutput.h"
#include "cli/Messages.h"
#include "files/CompleteFile.h"
#include "text/Sentences.h"

int ReadCommand(const std::string& file, bool replace, CConsole& console) {
    CCardAccess card;
    if (card.Open() == 0) {
        return Fail(console, "couldn't open the card: %s. Nothing was saved.", card.Reason());
    }
    std::uint8_t image[EEPROM_SIZE];
    if (card.ReadImage(image) == 0) {
        return Fail(console, "couldn't read the card at address %s: %s%s Nothing was saved.",
                    AddressText(card.FailedAddress()).c_str(), card.Reason(),
                    FullStop(card.Reason()));
    }
    // Complete or not there: a half-written file could later be taken for the card.
    CFileError error;
    if (SaveImageFile(file.c_str(), image, replace, &error) == 0) {
        return Fail(console, "%s", SaveProblemText(file, error).c_str());
    }
    Say(console, "Saved the card's %d bytes to %s.", EEPROM_SIZE, file.c_str());
    return VYMCNF_DONE;
}
