#pragma once

#include <string>

#include "cli/Console.h"

// The commands besides write (WriteCommand.h); each returns an exit status.

// Decodes the card (file empty) or the image file: text, or JSON with json.
int InfoCommand(const std::string& file, bool json, CConsole& console);
// Saves the card's 2048 bytes to file; an existing file is replaced only with replace.
int ReadCommand(const std::string& file, bool replace, CConsole& console);
// Compares the card with the image file: done when the card holds it.
int VerifyCommand(const std::string& file, CConsole& console);
// Lists the bytes in which the image file differs from the card, or from secondFile when one is
// given, by item, old and new value decoded. Writes nothing.
int DiffCommand(const std::string& file, const std::string& secondFile, CConsole& console);
// Reads the image file input (raw or Intel HEX) and saves it as output (Intel HEX when its name
// ends in .hex, raw otherwise); an existing output is replaced only with replace.
int ConvertCommand(const std::string& input, const std::string& output, bool replace,
                   CConsole& console);
// Lists the backups, newest first, with what info says of each.
int BackupsCommand(CConsole& console);
