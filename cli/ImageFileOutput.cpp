#include "cli/ImageFileOutput.h"

#include "files/CompleteFile.h"
#include "pnp/IntelHex.h"

namespace {

// Text files keep the line ends of the system they are written on.
#ifdef _WIN32
constexpr char kLineEnd[] = "\r\n";
#else
constexpr char kLineEnd[] = "\n";
#endif
constexpr std::size_t kLineEndLength = sizeof kLineEnd - 1;

}  // namespace

int SaveImageFile(const char* path, const std::uint8_t (&image)[EEPROM_SIZE], bool replace,
                  CFileError* error) {
    if (!HasIntelHexExtension(path)) {
        return SaveCompleteFile(path, image, EEPROM_SIZE, replace, error);
    }
    static char text[IntelHexTextSize(kLineEndLength)];
    const std::size_t length = WriteIntelHex(image, kLineEnd, text, sizeof text);
    return SaveCompleteFile(path, reinterpret_cast<const std::uint8_t*>(text), length, replace,
                            error);
}
