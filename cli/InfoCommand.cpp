#include <cstdio>

#include "cli/CardAccess.h"
#include "cli/Commands.h"
#include "cli/ImageFile.h"
#include "cli/InfoJson.h"
#include "cli/InfoText.h"
#include "cli/Messages.h"
#include "script/TextJoin.h"

int InfoCommand(const std::string& file, bool json, CConsole& console) {
    std::uint8_t image[EEPROM_SIZE];
    if (file.empty()) {
        CCardAccess card;
        if (card.Open() == 0) {
            return Fail(console, "couldn't open the card %s: %s%s", CardName(), card.Reason(),
                        FullStop(card.Reason()));
        }
        if (card.ReadImage(image) == 0) {
            return Fail(console, "couldn't read the card at address %s: %s%s",
                        AddressText(card.FailedAddress()).c_str(), card.Reason(),
                        FullStop(card.Reason()));
        }
    } else {
        CImageFileResult loaded;
        if (LoadImageFile(file.c_str(), image, &loaded) == 0) {
            return Fail(console, "%s", ImageFileProblemText(file, loaded).c_str());
        }
        TellImageFileNotice(console, file, loaded);
    }
    const CImageSummary summary = SummarizeImage(image);
    const std::string text =
        json ? InfoJson(summary, file.empty() ? "card" : file)
             : InfoText(summary, file.empty() ? JoinText("the card ", CardName()) : file);
    std::fputs(text.c_str(), console.out);
    return VYMCNF_DONE;
}
