// vymcnf: the card's EEPROM from the command line (info, read, write, verify, backups).
#include "cli/Console.h"
#include "cli/Vymcnf.h"
#include "driver/StandardStreams.h"

int main(int argc, char** argv) {
    // Before anything is opened: a closed standard stream must not become the card's file.
    if (OpenStandardStreams() == 0) {
        return VYMCNF_FAILED;
    }
    CConsole console;
    console.errIsTerminal = IsTerminal(stderr);
    const int status = RunVymcnf(argc, argv, console);
    return FinishStandardStreams("vymcnf", status);
}
