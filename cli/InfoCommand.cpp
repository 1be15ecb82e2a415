#include <cstdio>
#include <memory>

#include "cli/CardAccess.h"
#include "cli/Commands.h"
#include "cli/DecodedInfo.h"
#include "cli/ImageFile.h"
#include "cli/Messages.h"
#include "driver/CardIdentity.h"
#include "text/Sentences.h"
#include "text/TextJoin.h"

int InfoCommand(const std::string& file, bool json, CConsole& console) {
    std::uint8_t image[EEPROM_SIZE];
    if (file.empty()) {
        CCardAccess card;
        if (card.Open() == 0) {
            return Fail(console, "couldn't open the card: %s.", card.Reason());
        }
        if (card.ReadImage(image) == 0) {
            return Fail(console, "couldn't read the card at address %s: %s%s",
                        AddressText(card.FailedAddress()).c_str(), card.Reason(),
                        FullStop(card.Reason()));
        }
    } else {
        if (LoadCommandImage(console, file, image) != VYMCNF_DONE) {
            return VYMCNF_FAILED;
        }
    }
    const std::unique_ptr<CDecodedInfo> info = DecodeInfo(image);
    const std::string text =
        json ? DecodedInfoJson(*info, file.empty() ? "card" : file)
             : DecodedInfoText(*info, file.empty() ? JoinText("the card ", CardName()) : file);
    std::fputs(text.c_str(), console.out);
    return VYMCNF_DONE;
}
