#include "cli/Commands.h"
#include "cli/ImageFile.h"
#include "cli/ImageFileOutput.h"
#include "cli/Messages.h"
#include "files/CompleteFile.h"
#include "pnp/IntelHex.h"

int ConvertCommand(const std::string& input, const std::string& output, bool replace,
                   CConsole& console) {
    std::uint8_t image[EEPROM_SIZE];
    if (LoadCommandImage(console, input, image, " Nothing was saved.") != VYMCNF_DONE) {
        return VYMCNF_FAILED;
    }
    CFileError error;
    if (SaveImageFile(output.c_str(), image, replace, &error) == 0) {
        return Fail(console, "%s", SaveProblemText(output, error).c_str());
    }
    Say(console, "Saved the %d bytes of %s to %s as %s.", EEPROM_SIZE, input.c_str(),
        output.c_str(), HasIntelHexExtension(output.c_str()) ? "Intel HEX" : "a raw image");
    return VYMCNF_DONE;
}
