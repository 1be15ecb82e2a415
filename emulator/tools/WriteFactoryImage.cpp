// Build tool, compiled for the build machine: writes the factory card's 2048-byte EEPROM image,
// the vymcnf.bin that install.cmd serves when it is given no file, so that the emulated card
// of a Windows package starts as a new card does everywhere else.
#include <cstdio>

#include "pnp/FactoryImage.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bin\n", argv[0]);
        return 2;
    }
    const auto& image = FactoryImage();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
