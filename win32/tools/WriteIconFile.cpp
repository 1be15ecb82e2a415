// Build tool, compiled for the build machine: writes the program's icon (32 x 32 and 16 x 16,
// 16 colours) as an icon file for the resource compiler.
#include <cstdio>

#include "ui/ProgramIcon.h"
#include "win32/IconFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    const CIconImage* images[] = {&LargeProgramIcon(), &SmallProgramIcon()};
    static std::uint8_t bytes[16384];
    const int size = BuildIconFile(images, IconPalette(), bytes, static_cast<int>(sizeof bytes));
    if (size < 0) {
        std::fprintf(stderr, "%s: the icon data is malformed\n", argv[0]);
        return 1;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes, 1, static_cast<std::size_t>(size), file) ==
                         static_cast<std::size_t>(size);
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
