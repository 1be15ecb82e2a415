#pragma once

// Which file the emulated card is, when the user names one on the command line. Every program
// takes the same option, parsed here once: --card FILE, -c FILE or --card=FILE. A named file
// wins over VYMCNF_EEPROM; on Windows it also puts the emulated card in place of the
// configuration driver.

// The card option at argv[at]: how many words it takes (1 for --card=FILE, 2 for --card FILE
// and -c FILE), with *file set; 0 when argv[at] is not the option; -1 when FILE is missing.
int CardOptionAt(int argc, const char* const* argv, int at, const char** file);

// The text a front end prints for a card option without its FILE.
constexpr const char* CARD_OPTION_WITHOUT_FILE = "--card needs a FILE";

// The arguments of a program that takes nothing but its card (the setup dialog): the option,
// or FILE alone as the one plain argument, as a file dropped on the program gives it; "--"
// makes the next word FILE whatever it looks like. Returns 1 with *file (nullptr when none was
// given); 0 with problem, a usage error without the program's name.
int CardFileArguments(int argc, const char* const* argv, const char** file, char* problem,
                      int problemSize);

// Makes file the card from now on (nullptr: the system's card again). Returns 1; 0 with problem (a
// full sentence) when the file cannot be a card by its name alone: an Intel HEX file is refused
// with the command that turns it into the raw image the card needs. file must live as long as the
// program (argv does).
int SelectCardFile(const char* file, char* problem, int problemSize);

// The file chosen with SelectCardFile; nullptr when none was.
const char* SelectedCardFile();

// The variable that names the card's file when the command line does not.
constexpr const char* EEPROM_FILE_VARIABLE = "VYMCNF_EEPROM";

// The file the user named for the card: the one chosen on the command line, else the one
// VYMCNF_EEPROM names (empty counts as unset); nullptr when neither names one.
const char* NamedCardFile();

// The part of path after its last folder separator (/ or \ or a drive's colon), for a title.
const char* CardFileBaseName(const char* path);
