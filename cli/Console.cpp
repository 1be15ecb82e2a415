#include "cli/Console.h"

#include <cstdarg>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

int Fail(CConsole& console, const char* format, ...) {
    // Standard output to a file or pipe is fully buffered and standard error is not: without
    // this, a log taken with 2>&1 would show the failure before the lines that led to it
    // ("Saved the card as it was to ..." among them).
    std::fflush(console.out);
    std::fputs("vymcnf: ", console.err);
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(console.err, format, arguments);
    va_end(arguments);
    std::fputc('\n', console.err);
    std::fflush(console.err);
    return VYMCNF_FAILED;
}

void Say(CConsole& console, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(console.out, format, arguments);
    va_end(arguments);
    std::fputc('\n', console.out);
}

bool IsTerminal(std::FILE* file) {
#ifdef _WIN32
    return _isatty(_fileno(file)) != 0;
#else
    return isatty(fileno(file)) != 0;
#endif
}
