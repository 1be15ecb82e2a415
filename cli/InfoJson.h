#pragma once

#include <string>

#include "cli/ImageSummary.h"

// `vymcnf info --json`: one JSON object, indented, with the same facts as the text. source is
// "card" for the card, else the file's name as given.
std::string InfoJson(const CImageSummary& summary, const std::string& source);
