// Build-machine tool for the manual pages, so that their key section is the key help the
// program shows on F1 and cannot drift from it:
//   vym-man-page page SOURCE OUTPUT   the page SOURCE with its key section filled in
//   vym-man-page keys                 the key help's lines, "keys<TAB>help", for the page check
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "docs/man/tools/ManPageText.h"
#include "terminal/KeyTable.h"

namespace {

int WritePage(const char* sourcePath, const char* outputPath) {
    std::ifstream source(sourcePath, std::ios::binary);
    if (!source) {
        std::fprintf(stderr, "vym-man-page: cannot read %s\n", sourcePath);
        return 1;
    }
    std::stringstream text;
    text << source.rdbuf();
    std::string page = text.str();
    if (!InsertKeySection(page, KeySectionRoff(KeyHelpSections(), MouseHelpText()))) {
        std::fprintf(stderr, "vym-man-page: %s needs exactly one line '%.*s'\n", sourcePath,
                     static_cast<int>(kKeySectionMarker.size()), kKeySectionMarker.data());
        return 1;
    }
    std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
    output << page;
    output.close();
    if (!output) {
        std::fprintf(stderr, "vym-man-page: cannot write %s\n", outputPath);
        std::remove(outputPath);  // a half page must not pass for a built one
        return 1;
    }
    return 0;
}

int PrintKeyLines() {
    for (const CKeyHelpSection& section : KeyHelpSections()) {
        for (const CKeyHelpLine& line : section.lines) {
            std::printf("%s\t%s\n", line.keys.c_str(), line.help.c_str());
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "page") == 0) {
        return WritePage(argv[2], argv[3]);
    }
    if (argc == 2 && std::strcmp(argv[1], "keys") == 0) {
        return PrintKeyLines();
    }
    std::fputs("usage: vym-man-page page SOURCE OUTPUT | vym-man-page keys\n", stderr);
    return 2;
}
