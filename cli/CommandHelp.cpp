#include "cli/CommandHelp.h"

namespace {

constexpr CCommandHelp kHelps[] = {
    {VymcnfCommand::Info, "vymcnf info [--json] [FILE]",
     "Decodes the card, or the EEPROM image FILE: every resource item with its address,\n"
     "indented by device and dependent function, the serial identifier's check byte and the\n"
     "End tag's checksum, where the data breaks, what the setup dialog makes of the image\n"
     "(header, the six slots, whether and how it would write it) and conflicting resources.\n"
     "FILE may be a backup's bare name, as vymcnf backups lists it.\n"
     "\n"
     "  --json   print one JSON object instead of text\n",
     "  vymcnf info                               what the card holds\n"
     "  vymcnf info --json card.bin               a saved image, as JSON\n"
     "  vymcnf info eeprom-20261208-154741Z.bin   a backup, by its name\n"},
    {VymcnfCommand::Read, "vymcnf read [--force] FILE",
     "Saves the card's 2048 bytes to FILE: written under a temporary name and only then\n"
     "named FILE, so FILE is never half a card. An existing FILE is kept.\n"
     "\n"
     "  --force  replace FILE when it exists\n",
     "  vymcnf read card.bin                      save the card to card.bin\n"},
    {VymcnfCommand::Write, "vymcnf write [--all] [--force] [--dry-run] FILE",
     "Writes the 2048-byte EEPROM image FILE to the card: the card is read and saved as a\n"
     "backup first, then only the bytes that differ from FILE are written, 20 ms apart, then\n"
     "the whole card is read back and compared with FILE. On a terminal a progress bar shows\n"
     "the bytes written and the time left; Ctrl-C finishes the byte being written and stops.\n"
     "FILE may be a backup's bare name, as vymcnf backups lists it: that is how a backup goes\n"
     "back on the card. A FILE that is not exactly 2048 bytes long is refused; so, unless\n"
     "--force, is one in which the image reader cannot find six logical devices, one without\n"
     "an End tag or with a bad checksum, and one whose serial identifier is not the card's.\n"
     "\n"
     "  --all      write all 2048 bytes, not only those that differ\n"
     "  --force    write an image the checks above refuse (an erased one, another card's)\n"
     "  --dry-run  only list what would change on the card, as diff does; write nothing\n",
     "  vymcnf write card.bin                     put a saved image on the card\n"
     "  vymcnf write --dry-run card.bin           what that would change\n"
     "  vymcnf backups                            list the backups, newest first\n"
     "  vymcnf write eeprom-20261208-154741Z.bin  put that backup back on the card\n"},
    {VymcnfCommand::Verify, "vymcnf verify FILE",
     "Compares the card with the image FILE; the exit status is 0 only when the card holds\n"
     "FILE byte for byte. FILE may be a backup's bare name, as vymcnf backups lists it.\n",
     "  vymcnf verify card.bin                    does the card hold card.bin?\n"},
    {VymcnfCommand::Diff, "vymcnf diff FILE [FILE2]",
     "Lists the bytes in which the image FILE differs from the card (or from the image FILE2),\n"
     "grouped by the resource item they fall in, with the old and the new value decoded.\n"
     "Nothing is written. FILE may be a backup's bare name, as vymcnf backups lists it.\n",
     "  vymcnf diff card.bin                      what writing card.bin would change\n"
     "  vymcnf diff new.bin old.bin               two saved images compared\n"},
    {VymcnfCommand::Convert, "vymcnf convert [--force] IN OUT",
     "Reads the image file IN (raw, or Intel HEX as EEPROM programmers save it) and saves it\n"
     "as OUT: Intel HEX when OUT ends in .hex, raw otherwise. No card is opened. The card\n"
     "file itself (--card) is always raw: convert a HEX dump before working on it.\n"
     "\n"
     "  --force  replace OUT when it exists\n",
     "  vymcnf convert chip.hex chip.bin          a programmer's HEX dump as a raw image\n"
     "  vymcnf convert chip.bin chip.hex          and back, for the programmer\n"},
    {VymcnfCommand::Backups, "vymcnf backups",
     "Lists the backups of the card that the setup program and vymcnf write saved before\n"
     "they wrote, newest first, each by its full path with what info says of it. The folder\n"
     "is the one VYMCNF_BACKUPS names, or else the user's backup folder (vymcnf --help).\n",
     "  vymcnf backups                            the backups, newest first\n"
     "  vymcnf write eeprom-20261208-154741Z.bin  put one back on the card\n"},
    {VymcnfCommand::Help, "vymcnf help [COMMAND]",
     "Shows the general help, or COMMAND's own help with examples (as vymcnf COMMAND --help\n"
     "does).\n",
     "  vymcnf help write                         how write works\n"},
};

}  // namespace

std::span<const CCommandHelp> CommandHelps() {
    return kHelps;
}

const CCommandHelp* CommandHelpOf(VymcnfCommand command) {
    for (const CCommandHelp& help : kHelps) {
        if (help.command == command) {
            return &help;
        }
    }
    return nullptr;
}
