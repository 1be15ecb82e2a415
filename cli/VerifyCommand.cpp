#include "cli/CardAccess.h"
#include "cli/Commands.h"
#include "cli/ImageFile.h"
#include "cli/Messages.h"
#include "driver/CardReadBack.h"
#include "text/Sentences.h"

int VerifyCommand(const std::string& file, CConsole& console) {
    std::uint8_t image[EEPROM_SIZE];
    if (LoadCommandImage(console, file, image) != VYMCNF_DONE) {
        return VYMCNF_FAILED;
    }
    CCardAccess card;
    if (card.Open() == 0) {
        return Fail(console, "couldn't open the card: %s.", card.Reason());
    }
    CReadBack readBack;
    if (ReadBackAndCompare(card.Driver(), image, EEPROM_SIZE, &readBack) == 1) {
        Say(console, "The card holds %s.", file.c_str());
        return VYMCNF_DONE;
    }
    if (readBack.failedRead >= 0) {
        card.TakeReason(readBack.readError);
        return Fail(console, "couldn't read the card at address %s: %s%s",
                    AddressText(readBack.failedRead).c_str(), card.Reason(),
                    FullStop(card.Reason()));
    }
    return Fail(console, "the card differs from %s: %s, the first at address %s.", file.c_str(),
                BytesDifferText(readBack.differences).c_str(),
                AddressText(readBack.firstDifference).c_str());
}
