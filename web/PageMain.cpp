// vymsetup.html: VYM Card Setup in a browser page. The page's script puts the card the user
// opened into the page's memory and calls vym_run; the program runs as it does everywhere else,
// with this page as its host, until its dialog ends.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>

#include "framework/Framework.h"
#include "pnp/FactoryImage.h"
#include "ui/SetupResources.h"
#include "web/PagePacing.h"
#include "web/WebHost.h"

namespace {

// The page's folders in its memory: the emulated card's home (and its backups), and the
// folder that stands for c:\, where the diagnostic dump lands.
constexpr const char* kHome = "/home/web";
constexpr const char* kDriveC = "/drive-c";

}  // namespace

extern "C" {

// Puts the factory image at path: the card when the user has not opened one. Returns 1 on
// success.
EMSCRIPTEN_KEEPALIVE int vym_write_factory_image(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return 0;
    }
    const auto& image = FactoryImage();
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    return std::fclose(file) == 0 && written ? 1 : 0;
}

// Runs the program on the card file at cardPath until its dialog ends (or the page ends it);
// returns the program's exit code.
EMSCRIPTEN_KEEPALIVE int vym_run(const char* cardPath) {
    setenv("VYMCNF_EEPROM", cardPath, 1);
    setenv("VYMCNF_DRIVE_C", kDriveC, 1);
    setenv("HOME", kHome, 1);
    unsetenv("XDG_DATA_HOME");
    AfxSetResourceModule(&SetupResourceModule());
    CWebHost host;
    CPagePacing pacing(host);
    return AfxWinMain(host, "vymsetup");
}

}  // extern "C"
