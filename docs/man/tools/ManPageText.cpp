#include "docs/man/tools/ManPageText.h"

namespace {

// A macro argument in double quotes; a quote inside it is written as the quote character.
std::string QuotedArgument(std::string_view text) {
    std::string argument = "\"";
    for (char ch : RoffText(text)) {
        if (ch == '"') {
            argument += "\\(dq";
        } else {
            argument += ch;
        }
    }
    return argument + "\"";
}

}  // namespace

std::string RoffText(std::string_view text) {
    std::string roff;
    bool lineStart = true;
    for (char ch : text) {
        if (lineStart && (ch == '.' || ch == '\'')) {
            roff += "\\&";
        }
        switch (ch) {
            case '\\':
                roff += "\\e";
                break;
            case '-':
                roff += "\\-";  // key names are typed as written: an ASCII hyphen-minus
                break;
            default:
                roff += ch;
        }
        lineStart = ch == '\n';
    }
    return roff;
}

std::string KeySectionRoff(const std::vector<CKeyHelpSection>& sections, std::string_view mouse) {
    std::string roff;
    for (const CKeyHelpSection& section : sections) {
        roff += ".SS " + QuotedArgument(section.title) + "\n";
        for (const CKeyHelpLine& line : section.lines) {
            roff += ".TP\n\\fB" + RoffText(line.keys) + "\\fR\n" + RoffText(line.help) + "\n";
        }
    }
    roff += ".PP\n" + RoffText(mouse) + "\n";
    return roff;
}

int InsertKeySection(std::string& page, std::string_view section) {
    std::size_t found = std::string::npos;
    std::size_t start = 0;
    while (start < page.size()) {
        std::size_t end = page.find('\n', start);
        if (end == std::string::npos) {
            end = page.size();
        }
        if (std::string_view(page).substr(start, end - start) == kKeySectionMarker) {
            if (found != std::string::npos) {
                return 0;
            }
            found = start;
        }
        start = end + 1;
    }
    if (found == std::string::npos) {
        return 0;
    }
    std::size_t length = kKeySectionMarker.size();
    if (found + length < page.size()) {
        ++length;  // the marker's line end: the section brings its own
    }
    page.replace(found, length, section);
    return 1;
}
