#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "terminal/KeyTable.h"

// Plain text as a roff text line: backslashes and hyphens stay what they are, and a line that
// would start with a control character ("." or "'") is not taken for a request.
std::string RoffText(std::string_view text);

// The KEYS section's body: one subsection per place where keys work, one tagged paragraph per
// line of the key help, then the mouse paragraph.
std::string KeySectionRoff(const std::vector<CKeyHelpSection>& sections, std::string_view mouse);

// The line of a page's source that stands for the key section.
inline constexpr std::string_view kKeySectionMarker = ".\\\" KEY-TABLE";

// The page with its one marker line replaced by the section. Returns 0 and leaves the page
// alone when the page has no such line or more than one.
int InsertKeySection(std::string& page, std::string_view section);
