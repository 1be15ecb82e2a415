// vymcnf: the card's EEPROM from the command line (info, read, write, verify, backups).
#include "cli/Console.h"
#include "cli/Vymcnf.h"

int main(int argc, char** argv) {
    CConsole console;
    console.errIsTerminal = IsTerminal(stderr);
    const int status = RunVymcnf(argc, argv, console);
    std::fflush(stdout);
    return status;
}
