#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/ImageSummary.h"

// `vymcnf info --json`: one JSON object, indented, with the same facts as the text. source is
// "card" for the card, else the file's name as given.
std::string InfoJson(const CImageSummary& summary, const std::string& source);

// The same object before it is written out, for a fuller report that adds to it. Built, never
// parsed back: parsing brings the library's exception objects, and with them a runtime that the
// Windows 98 build cannot load.
nlohmann::ordered_json SummaryJson(const CImageSummary& summary, const std::string& source);

// Written out, indented; a byte that is no UTF-8 (there should be none) becomes U+FFFD instead
// of ending the program.
std::string JsonText(const nlohmann::ordered_json& json);
