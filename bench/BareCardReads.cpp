// The least a program can do to show the card: start, open the card and read its 2048 bytes
// one request each, as the setup program must, and end. The process benchmark times
// vymsetup-script against this.
#include <cstdio>

#include "driver/ConfigDriver.h"

int main() {
    CConfigDriver card;
    static std::uint8_t image[CNF_EEPROM_SIZE];
    if (card.Open() != 1 || card.ReadImage(image) != 1) {
        std::fputs("bare-card-reads: the card could not be read\n", stderr);
        return 1;
    }
    return 0;
}
