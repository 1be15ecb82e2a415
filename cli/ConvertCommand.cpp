#include "backup/CompleteFile.h"
#include "cli/Commands.h"
#include "cli/ImageFile.h"
#include "cli/ImageFileOutput.h"
#include "cli/Messages.h"
#include "pnp/IntelHex.h"
#include "text/Sentences.h"

int ConvertCommand(const std::string& input, const std::string& output, bool replace,
                   CConsole& console) {
    std::uint8_t image[EEPROM_SIZE];
    CImageFileResult loaded;
    if (LoadImageFile(input.c_str(), image, &loaded) == 0) {
        return Fail(console, "%s Nothing was saved.", ImageFileProblemText(input, loaded).c_str());
    }
    TellImageFileNotice(console, input, loaded);
    CFileError error;
    if (SaveImageFile(output.c_str(), image, replace, &error) == 0) {
        if (IsNameTaken(error)) {
            return Fail(console, "%s exists already; --force replaces it. Nothing was saved.",
                        output.c_str());
        }
        return Fail(console, "couldn't save %s: %s%s", output.c_str(), error.reason,
                    FullStop(error.reason));
    }
    Say(console, "Saved the %d bytes of %s to %s as %s.", EEPROM_SIZE, input.c_str(),
        output.c_str(), HasIntelHexExtension(output.c_str()) ? "Intel HEX" : "a raw image");
    return VYMCNF_DONE;
}
