#include "win32/ProgramCommandLine.h"

const char* CommandLineAfterProgramName(const char* commandLine) {
    if (commandLine == nullptr) {
        return "";
    }
    const char* next = commandLine;
    bool quoted = false;
    // Bytes above 0x7F are part of the name too: compare unsigned.
    while (*next != '\0' && (quoted || static_cast<unsigned char>(*next) > ' ')) {
        if (*next == '"') {
            quoted = !quoted;
        }
        ++next;
    }
    while (*next != '\0' && static_cast<unsigned char>(*next) <= ' ') {
        ++next;
    }
    return next;
}
