// Writes the card image that a case description gives, for running the cases by hand or
// through another build of the runner:
//   vym-case-image DESCRIPTION OUTPUT [INITIAL]
// INITIAL is the case's initial card, which "image" in an expected-card description stands for.
#include <fstream>
#include <iostream>
#include <iterator>

#include "tests/CaseImage.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: vym-case-image DESCRIPTION OUTPUT [INITIAL]\n";
        return 2;
    }
    CCaseImage initial;
    if (argc == 4) {
        std::ifstream file(argv[3], std::ios::binary);
        if (!file) {
            std::cerr << "vym-case-image: cannot read " << argv[3] << "\n";
            return 2;
        }
        initial.bytes.assign(std::istreambuf_iterator<char>(file), {});
    }
    std::ifstream description(argv[1]);
    if (!description) {
        std::cerr << "vym-case-image: cannot read " << argv[1] << "\n";
        return 2;
    }
    CCaseImage image;
    std::string error;
    if (!BuildCaseImage(description, argc == 4 ? &initial : nullptr, image, error)) {
        std::cerr << "vym-case-image: " << argv[1] << ": " << error << "\n";
        return 1;
    }
    if (!image.present) {
        std::cout << "no card\n";
        return 0;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.bytes.data()),
              static_cast<std::streamsize>(image.bytes.size()));
    return out ? 0 : 1;
}
